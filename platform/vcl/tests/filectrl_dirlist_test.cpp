#include <gtest/gtest.h>

#include <fstream>

#include "stdctrls_fixture.h"
#include "vcl/filectrl.h"
#include "vcl/graphics_images.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

class DirListTest : public StdCtrlsTest {
 protected:
  DirListTest() {
    for (const char* folder :
         {"logos\\art\\old\\Zeta", "logos\\art\\old\\beta", "logos\\art\\old\\.cache", "logos\\new\\k1"})
      std::filesystem::create_directories(root_.DriveC() / std::filesystem::path(Host(folder)));
    std::ofstream(root_.DriveC() / "logos" / "art" / "old" / "logo.sys") << "x";
    list_->SetDirectory("c:\\logos\\art\\old");
  }
  static std::string Host(std::string path) {
    for (char& c : path)
      if (c == '\\') c = '/';
    return path;
  }
  std::vector<std::string> Names() {
    std::vector<std::string> out;
    for (int i = 0; i < list_->Items()->Count(); ++i) out.push_back(list_->Items()->Get(i));
    return out;
  }
  static std::string CurrentFolder() {
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    return cwd;
  }
  void DoubleClick(TControl* control, int x, int y) {
    Click(control, x, y);
    Click(control, x, y);
  }

  ScopedMachineRoot root_;
  TDirectoryListBox* list_ = Make<TDirectoryListBox>(10, 10, 180, 150);
};

}  // namespace

TEST_F(DirListTest, ShowsTheWayDownTheCurrentFolderAndItsSortedSubFolders) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Names(), (V{"C:\\", "logos", "art", "old", "beta", "Zeta"})) << "files and dot names stay out";
  EXPECT_EQ(list_->ItemIndex(), 3);
  EXPECT_EQ(list_->Drive(), 'C');
  const V paths{"C:\\",
                "C:\\logos",
                "C:\\logos\\art",
                "C:\\logos\\art\\old",
                "C:\\logos\\art\\old\\beta",
                "C:\\logos\\art\\old\\Zeta"};
  for (int i = 0; i < static_cast<int>(paths.size()); ++i) EXPECT_EQ(list_->GetItemPath(i), paths[i]) << i;
  EXPECT_EQ(list_->GetItemPath(6), "");

  list_->SetDirectory("c:\\");
  EXPECT_EQ(Names(), (V{"C:\\", "logos", "windows"}));
  EXPECT_EQ(list_->ItemIndex(), 0);
  EXPECT_EQ(list_->GetItemPath(1), "C:\\logos");
  // A relative name is taken from the shown folder, wherever the process stands.
  SetCurrentDirectoryA("c:\\windows");
  list_->SetDirectory("logos\\new");
  EXPECT_EQ(list_->Directory(), "C:\\logos\\new");
  EXPECT_EQ(CurrentFolder(), "C:\\logos\\new");
}

TEST_F(DirListTest, AFolderThatCannotBeEnteredRaisesTheIOErrorAndChangesNothing) {
  int changes = 0;
  list_->OnChange = [&](TObject*) { ++changes; };
  try {
    list_->SetDirectory("c:\\logos\\missing");
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, 2);
    EXPECT_EQ(e.Message, "File not found");
  }
  EXPECT_EQ(list_->Directory(), "C:\\logos\\art\\old");
  EXPECT_EQ(list_->Items()->Count(), 6);
  EXPECT_EQ(changes, 0);
}

TEST(InOutErrorTest, GivesTheClassLibraryTexts) {
  const std::vector<std::pair<DWORD, std::string>> cases{
      {2, "File not found"}, {3, "Invalid filename"}, {5, "File access denied"}, {21, "I/O error 21"}};
  for (const auto& [code, text] : cases) {
    const EInOutError e = InOutError(code);
    EXPECT_EQ(e.Message, text);
    EXPECT_EQ(e.ErrorCode, static_cast<int>(code));
  }
}

TEST_F(DirListTest, ReturnAndDoubleClickChangeIntoTheSelectedFolder) {
  std::vector<std::string> log;
  list_->OnChange = [&](TObject*) { log.push_back(list_->Directory()); };
  ShowForm();
  list_->SetFocus();
  PumpMessages();
  Key(VK_DOWN);  // beta
  EXPECT_EQ(list_->Directory(), "C:\\logos\\art\\old") << "selecting alone stays";
  Key(VK_RETURN);
  EXPECT_EQ(log, (std::vector<std::string>{"C:\\logos\\art\\old\\beta"}));
  EXPECT_EQ(CurrentFolder(), "C:\\logos\\art\\old\\beta");
  EXPECT_EQ(list_->ItemIndex(), 4);

  // Up the tree with a double click on "logos".
  const int h = list_->ItemHeight();
  DoubleClick(list_, 40, h + h / 2);
  EXPECT_EQ(list_->Directory(), "C:\\logos");
  EXPECT_EQ(list_->ItemIndex(), 1);
  EXPECT_EQ(CurrentFolder(), "C:\\logos");
  EXPECT_EQ(log.size(), 2u);
  // Down into "new", whose own sub-folder "k1" then lies under the mouse.
  DoubleClick(list_, 40, 3 * h + h / 2);
  EXPECT_EQ(list_->Directory(), "C:\\logos\\new");
  EXPECT_EQ(list_->ItemIndex(), 2);
}

// On a dialog, Return in the list opens the folder instead of pressing the default or cancel button.
TEST_F(DirListTest, ReturnOpensTheFolderAheadOfTheFormsDefaultAndCancelButtons) {
  int clicks = 0;
  for (bool cancel : {false, true}) {
    auto* button = Make<TButton>(cancel ? 100 : 10, 200, 75, 25);
    if (cancel) button->SetCancel(true);
    else
      button->SetDefault(true);
    button->OnClick = [&](TObject*) { ++clicks; };
  }
  ShowForm();
  list_->SetFocus();
  PumpMessages();
  Key(VK_DOWN);  // beta
  Key(VK_RETURN);
  EXPECT_EQ(list_->Directory(), "C:\\logos\\art\\old\\beta");
  EXPECT_EQ(clicks, 0);
  Key(VK_ESCAPE);
  EXPECT_EQ(clicks, 1) << "Escape is still the cancel button's";
}

TEST_F(DirListTest, TheLabelShowsThePathShortenedToItsWidth) {
  TLabel* label = new TLabel(&form_);
  label->SetParent(&form_);
  label->SetAutoSize(false);
  TBitmap measure;
  measure.Canvas()->SetFont(label->Font());
  // Folders go first, then the drive, and the name stays.
  for (const char* shown : {"C:\\logos\\art\\old", "C:\\...\\art\\old", "C:\\...\\old", "...\\old", "old"}) {
    label->SetWidth(measure.Canvas()->TextWidth(shown));
    list_->SetDirLabel(label);
    EXPECT_EQ(label->Caption(), shown);
  }
  // A label that sizes itself is fitted to the list, and follows its changes.
  label->SetAutoSize(true);
  list_->SetDirectory("c:\\logos");
  EXPECT_EQ(label->Caption(), "C:\\logos");
  delete label;
  list_->SetDirectory("c:\\");  // the label's going is noticed
}

TEST_F(DirListTest, ItemsAreIndentedByLevelBehindOpenAndClosedFolders) {
  ShowForm();
  form_.Repaint();
  const host::Image shot = CaptureWindow(form_.Handle());
  const POINT f = form_.ClientToScreen({0, 0});
  auto at = [&](int x, int y) {
    const POINT p = list_->ClientToScreen({x, y});
    return shot.At(p.x - f.x, p.y - f.y) & 0xFFFFFF;
  };
  const int h = list_->ItemHeight();
  // Each level moves the folder 4 pixels right: the folders' black left edge at 2 + 4 * level.
  for (int level = 0; level <= 3; ++level) {
    EXPECT_EQ(at(2 + 4 * level + 1, level * h + 8), 0u) << level;
    EXPECT_NE(at(2 + 4 * level, level * h + 8), 0u) << level << ": left of the glyph is the list";
  }
  // The sub-folders stand one level below the current folder, closed: yellow without the flap.
  EXPECT_EQ(at(2 + 4 * 4 + 1, 4 * h + 8), 0u);
  EXPECT_EQ(at(2 + 4 * 4 + 4, 4 * h + 8), 0xFFFF00u);
}
