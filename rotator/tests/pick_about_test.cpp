#include <algorithm>
#include <vector>

#include "rotator/about_form.h"
#include "rotator/main_form.h"
#include "rotator/pick_form.h"
#include "rotator_fixture.h"
#include "win32/testing/windows.h"

namespace {

class Pick : public RotatorTest {
 protected:
  rotator::TForm6* Opened() {
    auto* form = new rotator::TForm6(Application, &main_);
    form->Load();
    return form;
  }
  rotator::TForm1 main_{nullptr};
};

TEST_F(Pick, PreviewsApplyAndTheEdgesThatMustNotEndTheProgram) {
  Put("logos/start/junk.sys", "not a picture");
  Put("logos/wait/.keep", "");
  std::filesystem::create_directories(Host("logos/down"));
  PutBitmap("c:\\logos\\down\\d.sys");
  PutBitmap("c:\\windows\\logow.sys");
  Put("windows/logos.sys", "old down");
  auto* form = Opened();
  EXPECT_FALSE(form->Previews[0]->HasPicture());  // no c:\logo.sys
  EXPECT_TRUE(form->Previews[1]->HasPicture());
  form->Files[0]->SetListIndex(0);  // a file that is no picture
  EXPECT_FALSE(form->Previews[0]->HasPicture());
  form->RandomClick(1);  // an empty library
  EXPECT_FALSE(form->Previews[1]->HasPicture());
  form->RandomClick(2);
  EXPECT_TRUE(form->Previews[2]->HasPicture());
  EXPECT_EQ(form->Files[2]->ListIndex(), 0);
  EXPECT_EQ(Content("windows/logos.sys"), "old down");  // nothing copied before Apply
  form->Files[0]->SetListIndex(-1);
  form->Command7_Click();
  EXPECT_EQ(Content("windows/logos.sys"), Content("logos/down/d.sys"));
  EXPECT_EQ(Content("logo.sys"), "<missing>");
  delete form;
}

TEST_F(Pick, EachTabHoldsAPictureOfItsOwn) {
  auto* form = Opened();
  std::vector<std::vector<TColor>> seen;
  for (int tab = 0; tab < 3; ++tab) {
    vb::Image& picture = *form->Pictures[tab];
    EXPECT_EQ(picture.Parent(), form->SSTab1->Page(tab));
    ASSERT_TRUE(picture.HasPicture());
    TGraphic& graphic = *picture.Picture()->Graphic();
    EXPECT_EQ(graphic.Width(), 184);
    EXPECT_EQ(graphic.Height(), 170);
    EXPECT_EQ(picture.Width(), 184);
    EXPECT_EQ(picture.Height(), 170);
    // A picture, not a plain fill: a row across its middle passes through several colours.
    std::vector<TColor> row;
    for (int x = 0; x < 184; ++x) row.push_back(dynamic_cast<TBitmap&>(graphic).Canvas()->Pixels(x, 100));
    std::vector<TColor> distinct = row;
    std::sort(distinct.begin(), distinct.end());
    EXPECT_GT(std::unique(distinct.begin(), distinct.end()) - distinct.begin(), 3);
    for (const auto& other : seen) EXPECT_NE(other, row);
    seen.push_back(row);
  }
  delete form;
}

TEST_F(Pick, CloseAsksOnlyWhenRotationIsOn) {
  auto* form = Opened();
  form->Command6_Click();
  EXPECT_TRUE(dialogs_.Calls().empty());
  Application->ProcessMessages();
  rotator::WriteSetting("Random", "Yes");
  form = Opened();
  dialogs_.Answer(IDCANCEL);
  form->Command6_Click();
  EXPECT_EQ(Setting("Random"), "Yes");
  EXPECT_TRUE(form->IsLoaded());
  dialogs_.Answer(IDYES);
  form->Command6_Click();
  EXPECT_EQ(Setting("Random"), "No");
  ASSERT_EQ(dialogs_.Calls().size(), 2u);
  EXPECT_EQ(dialogs_.Calls()[0].Caption, "Logo");
}

TEST_F(RotatorTest, AboutReadsRegistryValuesSafely) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Probe", &key), ERROR_SUCCESS);
  RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>("c:\\tools\0"), 9);
  RegSetValueExA(key, "Empty", 0, REG_SZ, nullptr, 0);
  const DWORD big = 0xFFFFFFFEu, small = 1234;
  RegSetValueExA(key, "Big", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&big), 4);
  RegSetValueExA(key, "Small", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&small), 4);
  RegCloseKey(key);
  const struct {
    const char* name;
    bool found;
    const char* value;
  } cases[] = {{"Text", true, "c:\\tools"},
               {"Empty", true, ""},
               {"Big", true, "4294967294"},
               {"Small", true, "1234"},
               {"Missing", false, ""}};
  for (const auto& c : cases) {
    std::string value = "before";
    EXPECT_EQ(rotator::GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Probe", c.name, value), c.found) << c.name;
    EXPECT_EQ(value, c.value) << c.name;
  }
}

TEST_F(RotatorTest, SystemInformationUnavailableIsTold) {
  std::filesystem::create_directories(Host("msinfo"));  // a folder without the program
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", &key);
  RegSetValueExA(key, "MSINFO", 0, REG_SZ, reinterpret_cast<const BYTE*>("c:\\msinfo"), 10);
  RegCloseKey(key);
  rotator::StartSysInfo();
  ASSERT_EQ(dialogs_.Calls().size(), 1u);
  EXPECT_EQ(dialogs_.Calls()[0].Text, "System Information Is Unavailable At This Time");
}

}  // namespace

namespace {

// The lines of a list's client area that show the highlight colour anywhere, and those whose
// margin left of the text shows it (the selected row's fill).
struct HighlightedLines {
  std::vector<int> any, filled;
};
HighlightedLines HighlightIn(const host::Image& list) {
  const COLORREF c = GetSysColor(COLOR_HIGHLIGHT);
  const std::uint32_t highlight = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  constexpr int kMarginX = 3;  // inside the sunken edge, before the text
  HighlightedLines lines;
  for (int y = 0; y < list.height; ++y) {
    bool any = false;
    for (int x = 0; x < list.width; ++x) any = any || list.At(x, y) == highlight;
    if (any) lines.any.push_back(y);
    if (list.At(kMarginX, y) == highlight) lines.filled.push_back(y);
  }
  return lines;
}

TEST_F(Pick, RandomLeavesOneRowSelected) {
  for (const char* name : {"a.sys", "b.sys", "c.sys", "d.sys"}) Put(std::string("logos/start/") + name, "x");
  auto* form = Opened();
  form->Show();
  vb::FileListBox& list = *form->Files[0];
  for (int first = 0; first < list.ListCount(); ++first) {
    list.SetListIndex(first);
    while (list.ListIndex() == first) form->RandomClick(0);
    Application->ProcessMessages();
    const HighlightedLines lines = HighlightIn(CaptureClient(list.Handle()));
    ASSERT_FALSE(lines.filled.empty()) << "from row " << first;
    EXPECT_EQ(lines.any, lines.filled) << "from row " << first << ": highlight behind an unselected row's text";
    EXPECT_EQ(lines.filled.back() - lines.filled.front() + 1, static_cast<int>(lines.filled.size()))
        << "from row " << first << ": more than one row filled";
  }
  delete form;
}

}  // namespace
