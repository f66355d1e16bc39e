// The file list box with shell icons: what it lists and in which order, its item height, the
// icons it draws, and that every icon it takes is given back.
#include <gtest/gtest.h>

#include "component_fixture.h"
#include "components/zev_draw.h"
#include "components/zev_file_list.h"
#include "win32/testing/machine_root.h"

namespace {

void WriteFile(const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

class FileListTest : public ComponentTest {
 protected:
  FileListTest() {
    for (const char* name : {"b.txt", "a.bmp", "c.txt", "d.doc", "z.bmp"}) WriteFile(root_.DriveC() / "jokes" / name);
    std::filesystem::create_directories(root_.DriveC() / "jokes" / "sub");
    WriteFile(root_.DriveC() / "root.txt");
  }
  std::vector<std::string> Listed() {
    std::vector<std::string> names;
    for (int i = 0; i < list_->Items()->Count(); ++i) names.push_back(list_->Items()->Get(i));
    return names;
  }
  ScopedMachineRoot root_;
  const int iconsBefore_ = LiveIconCount();
  TZevFileListBox* list_ = Make<TZevFileListBox>(10, 10, 150, 120);
};

TEST_F(FileListTest, TwoPatternsListTheMatchesOfBothInNameOrder) {
  list_->SetMask("*.txt;*.bmp");
  list_->SetDirectory("c:\\jokes");
  EXPECT_EQ(Listed(), (std::vector<std::string>{"a.bmp", "b.txt", "c.txt", "z.bmp"}));
  for (int i = 0; i < list_->Items()->Count(); ++i) EXPECT_NE(list_->ItemIcon(i), nullptr) << i;
  list_->SetFileType({ftNormal, ftDirectory});
  list_->SetMask("*.*");
  const std::vector<std::string> all = Listed();
  ASSERT_NE(std::find(all.begin(), all.end(), "[sub]"), all.end());
  const int sub = static_cast<int>(std::find(all.begin(), all.end(), "[sub]") - all.begin());
  EXPECT_TRUE(list_->IsFolderItem(sub));
  EXPECT_EQ(list_->ItemIcon(sub), nullptr);
}

TEST_F(FileListTest, AFolderChosenBeforeTheWindowKeepsItsFiles) {
  list_->SetMask("*.txt");
  list_->SetDirectory("c:\\jokes");
  ShowForm();
  EXPECT_EQ(Listed(), (std::vector<std::string>{"b.txt", "c.txt"}));
  EXPECT_EQ(list_->Directory(), "C:\\jokes");
}

TEST_F(FileListTest, ADriveRootBuildsPathsWithOneSeparator) {
  list_->SetMask("*.txt");
  list_->SetDirectory("c:\\");
  EXPECT_EQ(list_->ItemPath("root.txt"), "C:\\root.txt");
  list_->SetDirectory("c:\\jokes");
  EXPECT_EQ(list_->ItemPath("b.txt"), "C:\\jokes\\b.txt");
}

TEST_F(FileListTest, ItemsAreAtLeastEighteenPixelsHigh) {
  EXPECT_TRUE(list_->ShowGlyphs());
  EXPECT_TRUE(list_->ShowLongNames());
  list_->Font()->SetHeight(-6);
  EXPECT_EQ(list_->ItemHeight(), 18);
  list_->Font()->SetHeight(-30);
  EXPECT_EQ(list_->ItemHeight(), LineHeight(list_->Font()));
  EXPECT_GT(list_->ItemHeight(), 30);
}

TEST_F(FileListTest, EveryIconIsGivenBack) {
  list_->SetMask("*.txt;*.bmp;*.doc");
  list_->SetDirectory("c:\\jokes");
  ShowForm();
  EXPECT_EQ(LiveIconCount(), iconsBefore_ + 5);
  list_->SetItemIndex(1);
  list_->Repaint();
  PumpMessages();
  EXPECT_EQ(LiveIconCount(), iconsBefore_ + 5);  // the selected item's icon went after drawing
  list_->SetShowLongNames(false);  // reads the list again
  EXPECT_EQ(LiveIconCount(), iconsBefore_ + 5);
  delete list_;
  EXPECT_EQ(LiveIconCount(), iconsBefore_);
}

TEST_F(FileListTest, ALongListGivesTheScreenItsCursorBack) {
  for (int i = 0; i < 120; ++i) WriteFile(root_.DriveC() / "many" / ("f" + std::to_string(1000 + i) + ".txt"));
  Screen->SetCursor(crCross);
  list_->SetMask("*.txt");
  list_->SetDirectory("c:\\many");
  EXPECT_EQ(list_->Items()->Count(), 120);
  EXPECT_EQ(list_->Items()->Get(119), "f1119.txt");
  EXPECT_EQ(Screen->Cursor(), crCross);
  Screen->SetCursor(crDefault);
}

TEST_F(FileListTest, DrawsIconsFoldersAndTheSelectedLook) {
  list_->SetFileType({ftNormal, ftDirectory});
  list_->SetMask("*.txt;sub");
  list_->SetDirectory("c:\\jokes");
  list_->SetColor(clWhite);
  ShowForm();
  const int sub = list_->Items()->IndexOf("[sub]");
  ASSERT_GE(sub, 0);
  const host::Image shot = Shot(list_);
  const TRect item = list_->ItemRect(sub);
  int yellow = 0;
  for (int y = item.top; y < item.bottom; ++y)
    for (int x = item.left; x < item.left + 20; ++x) yellow += shot.At(x, y) == Rgb(clYellow);
  EXPECT_GT(yellow, 20) << "the folder glyph";
  const int txt = list_->Items()->IndexOf("b.txt");
  list_->SetItemIndex(txt);
  const host::Image selected = Shot(list_);
  const TRect row = list_->ItemRect(txt);
  int highlighted = 0;
  for (int y = row.top; y < row.bottom; ++y)
    for (int x = row.left + 2; x < row.left + 18; ++x) highlighted += selected.At(x, y) == Rgb(clHighlight);
  EXPECT_GT(highlighted, 60) << "the highlight and the blended icon";
}

}  // namespace
