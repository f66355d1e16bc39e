#include <gtest/gtest.h>

#include <fstream>

#include "stdctrls_fixture.h"
#include "vcl/filectrl.h"
#include "vcl/findfiles.h"
#include "win32/testing/machine_root.h"

namespace {

class FileListTest : public StdCtrlsTest {
 protected:
  FileListTest() {
    for (const char* name : {"b.txt", "A.TXT", "logo.sys", "run.exe", "notes.doc"}) Touch(name);
    CreateDirectoryA("c:\\jokes\\Sub", nullptr);
    SetFileAttributesA("c:\\jokes\\notes.doc", FILE_ATTRIBUTE_READONLY);
    hiddenWorks_ = SetFileAttributesA("c:\\jokes\\logo.sys", FILE_ATTRIBUTE_HIDDEN) &&
                   (GetFileAttributesA("c:\\jokes\\logo.sys") & FILE_ATTRIBUTE_HIDDEN);
    list_->SetDirectory("c:\\jokes");
  }
  void Touch(const char* name) {
    std::filesystem::create_directories(root_.DriveC() / "jokes");
    std::ofstream(root_.DriveC() / "jokes" / name) << "x";
  }
  std::vector<std::string> Names() {
    std::vector<std::string> out;
    for (int i = 0; i < list_->Items()->Count(); ++i) out.push_back(list_->Items()->Get(i));
    return out;
  }

  ScopedMachineRoot root_;
  bool hiddenWorks_ = false;
  TFileListBox* list_ = Make<TFileListBox>(10, 10, 150, 120);
};

}  // namespace

TEST_F(FileListTest, MasksAndFileTypesChooseTheSortedItems) {
  ShowForm();
  using V = std::vector<std::string>;
  EXPECT_EQ(list_->Directory(), "C:\\jokes");
  if (hiddenWorks_) {
    EXPECT_EQ(Names(), (V{"A.TXT", "b.txt", "notes.doc", "run.exe"})) << "hidden files stay out";
  }
  list_->SetMask("*.exe;*.TXT");
  EXPECT_EQ(Names(), (V{"A.TXT", "b.txt", "run.exe"}));
  // Folders join as "[name]" with the way up; without normal files only those with the
  // attribute remain.
  list_->SetMask("*.*");
  list_->SetFileType(TFileType{ftDirectory});
  EXPECT_EQ(Names(), (V{"[..]", "[Sub]"}));
  list_->SetFileType(TFileType{ftReadOnly});
  EXPECT_EQ(Names(), (V{"notes.doc"}));
  if (hiddenWorks_) {
    list_->SetFileType(TFileType{ftNormal, ftHidden});
    EXPECT_EQ(Names(), (V{"A.TXT", "b.txt", "logo.sys", "notes.doc", "run.exe"}));
  }
  EXPECT_THROW(list_->SetDirectory("c:\\missing"), EInOutError);
  EXPECT_EQ(list_->Directory(), "C:\\jokes");
}

TEST_F(FileListTest, SelectingFillsTheFileEditAndFiresOnChangeBeforeOnClick) {
  TEdit* edit = Make<TEdit>(10, 140, 150, 21);
  std::vector<std::string> log;
  list_->OnChange = [&](TObject*) { log.push_back("change " + list_->FileName()); };
  list_->OnClick = [&](TObject*) { log.push_back("click"); };
  list_->SetMask("*.txt");
  list_->SetFileEdit(edit);
  ShowForm();
  EXPECT_EQ(edit->GetText(), "*.txt");
  log.clear();
  Click(list_, 20, list_->ItemHeight() + 2);
  EXPECT_EQ(log, (std::vector<std::string>{"change C:\\jokes\\b.txt", "click"}));
  EXPECT_EQ(edit->GetText(), "b.txt");
  list_->SetFileName("c:\\jokes\\A.TXT");
  EXPECT_EQ(list_->ItemIndex(), 0);
  EXPECT_EQ(edit->GetText(), "A.TXT");
  delete edit;
  list_->SetMask("*.exe");  // the edit's going is noticed
}

TEST_F(FileListTest, GlyphsGiveTallerItemsDrawnBeforeTheName) {
  list_->SetShowGlyphs(true);
  ShowForm();
  EXPECT_GE(list_->ItemHeight(), 18);
  EXPECT_NE(list_->Items()->Objects(0), nullptr);
  const host::Image shot = CaptureWindow(form_.Handle());
  // The unknown-file page's black outline at the left of the first item.
  const POINT p = list_->ClientToScreen({5, list_->ItemHeight() / 2});
  const POINT f = form_.ClientToScreen({0, 0});
  EXPECT_EQ(shot.At(p.x - f.x, p.y - f.y) & 0xFFFFFF, 0u);
}

TEST(FindFiles, AttributesOutsideTheSearchArePassedOver) {
  ScopedMachineRoot root;
  std::ofstream(root.DriveC() / "a.txt") << "x";
  CreateDirectoryA("c:\\dir", nullptr);
  TSearchRec rec;
  std::vector<std::string> plain, withFolders;
  for (int r = FindFirst("c:\\*.*", 0, rec); r == 0; r = FindNext(rec)) plain.push_back(rec.Name);
  FindClose(rec);
  for (int r = FindFirst("c:\\*.*", faDirectory, rec); r == 0; r = FindNext(rec)) withFolders.push_back(rec.Name);
  FindClose(rec);
  EXPECT_EQ(std::count(plain.begin(), plain.end(), "dir"), 0);
  EXPECT_EQ(std::count(plain.begin(), plain.end(), "a.txt"), 1);
  EXPECT_EQ(std::count(withFolders.begin(), withFolders.end(), "dir"), 1);
  EXPECT_NE(FindFirst("c:\\*.none", faAnyFile, rec), 0);
}
