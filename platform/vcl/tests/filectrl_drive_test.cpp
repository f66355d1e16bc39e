#include <gtest/gtest.h>

#include <fstream>

#include "stdctrls_fixture.h"
#include "vcl/filectrl.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

// A machine with C:, a drive D: holding a few files, and a link drive_e that leads nowhere.
class DriveComboTest : public StdCtrlsTest {
 protected:
  DriveComboTest() {
    std::filesystem::create_directories(root_.Path() / "drive_d" / "pics");
    for (const char* name : {"a.txt", "b.bmp"}) std::ofstream(root_.Path() / "drive_d" / name) << "x";
    std::ofstream(root_.Path() / "drive_d" / "pics" / "c.txt") << "x";
    std::filesystem::create_directory_symlink(root_.Path() / "gone", root_.Path() / "drive_e");
    SetCurrentDirectoryA("c:\\");
  }
  static std::vector<std::string> Names(TStrings* items) {
    std::vector<std::string> out;
    for (int i = 0; i < items->Count(); ++i) out.push_back(items->Get(i));
    return out;
  }

  ScopedMachineRoot root_;
};

}  // namespace

TEST_F(DriveComboTest, ListsTheMappedDrivesInTheChosenCase) {
  using V = std::vector<std::string>;
  auto* combo = Make<TDriveComboBox>(10, 10, 150, 22);
  EXPECT_EQ(combo->Style(), csOwnerDrawFixed);
  EXPECT_EQ(Names(combo->Items()), (V{"c: []", "d: []", "z: []"})) << "a link to nothing is no drive";
  EXPECT_EQ(combo->Drive(), 'c');
  EXPECT_EQ(combo->ItemIndex(), 0);
  combo->SetTextCase(tcUpperCase);
  EXPECT_EQ(Names(combo->Items()), (V{"C: []", "D: []", "Z: []"}));
  EXPECT_EQ(combo->Drive(), 'C');
  combo->SetDrive('z');
  EXPECT_EQ(combo->Drive(), 'Z');
  EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(DriveComboTest, TheDriveGlyphStandsBeforeTheText) {
  auto* combo = Make<TDriveComboBox>(10, 10, 150, 22);
  form_.SetColor(clBtnFace);
  ShowForm();
  form_.Repaint();
  const host::Image shot = CaptureWindow(form_.Handle());
  const POINT p = combo->ClientToScreen({2 + 2 + 6, combo->ClientHeight() / 2});
  const POINT f = form_.ClientToScreen({0, 0});
  EXPECT_EQ(shot.At(p.x - f.x, p.y - f.y) & 0xFFFFFF, 0xC0C0C0u) << "the disk's grey body";
}

TEST_F(DriveComboTest, DriveDirectoryAndFileListFollowOneAnother) {
  auto* drives = Make<TDriveComboBox>(10, 10, 150, 22);
  auto* folders = Make<TDirectoryListBox>(10, 40, 150, 90);
  auto* files = Make<TFileListBox>(170, 40, 140, 90);
  auto* filter = Make<TFilterComboBox>(170, 140, 140, 22);
  filter->SetFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
  drives->SetDirList(folders);
  folders->SetFileList(files);
  filter->SetFileList(files);
  std::vector<std::string> log;
  drives->OnClick = [&](TObject*) { log.push_back("click"); };
  drives->OnChange = [&](TObject*) { log.push_back("drive " + folders->Directory()); };
  filter->OnChange = [&](TObject*) { log.push_back("filter " + files->Mask()); };
  ShowForm();
  EXPECT_EQ(files->Mask(), "*.txt");

  // The user picks D: with the keyboard; the folders and the files follow before OnChange.
  drives->SetFocus();
  PumpMessages();
  Key(VK_DOWN);
  EXPECT_EQ(log, (std::vector<std::string>{"click", "drive D:\\"}));
  EXPECT_EQ(drives->Drive(), 'd');
  EXPECT_EQ(Names(folders->Items()), (std::vector<std::string>{"D:\\", "pics"}));
  EXPECT_EQ(files->Directory(), "D:\\");
  EXPECT_EQ(Names(files->Items()), (std::vector<std::string>{"a.txt"}));

  // The filter's second entry shows every file.
  log.clear();
  filter->SetFocus();
  PumpMessages();
  Key(VK_DOWN);
  EXPECT_EQ(log, (std::vector<std::string>{"filter *.*"}));
  EXPECT_EQ(Names(files->Items()), (std::vector<std::string>{"a.txt", "b.bmp"}));

  // Into a folder of the list: the files follow.
  folders->SetFocus();
  PumpMessages();
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(files->Directory(), "D:\\pics");
  EXPECT_EQ(Names(files->Items()), (std::vector<std::string>{"c.txt"}));

  // A drive that cannot be entered keeps the one shown.
  EXPECT_THROW(drives->SetDrive('e'), EInOutError);
  EXPECT_EQ(drives->Drive(), 'd');
  EXPECT_EQ(drives->GetText(), "d: []");
  EXPECT_EQ(folders->Directory(), "D:\\pics");

  // The program's own choice of drive also moves the list.
  drives->SetDrive('C');
  EXPECT_EQ(folders->Directory(), "C:\\");
  EXPECT_EQ(files->Directory(), "C:\\");
  drives->OnChange = nullptr;
  filter->OnChange = nullptr;
  delete folders;
  drives->SetDrive('d');  // the list's going is noticed
  delete files;
  filter->SetItemIndex(0);
  filter->SetFilter("Bitmaps|*.bmp");
}
