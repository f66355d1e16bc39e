// The font combo box: the screen's families by kind, the glyph of each, FontName before and after
// the window, and type-ahead with its beeps; auto-complete in an edit combo box.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "component_fixture.h"
#include "components/component_resources.h"
#include "components/zev_combo.h"
#include "pixel_rows.h"

namespace {

struct TFamily {
  std::string name;
  BYTE flags;
};

std::vector<TFamily> ScreenFamilies() {
  std::vector<TFamily> all;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesA(
      dc, nullptr,
      [](const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD, LPARAM param) -> int {
        reinterpret_cast<std::vector<TFamily>*>(param)->push_back({lf->lfFaceName, tm->tmPitchAndFamily});
        return 1;
      },
      reinterpret_cast<LPARAM>(&all));
  ReleaseDC(nullptr, dc);
  return all;
}

std::vector<std::string> Listed(TZevFontComboBox* combo) {
  std::vector<std::string> names;
  for (int i = 0; i < combo->Items()->Count(); ++i) names.push_back(combo->Items()->Get(i));
  return names;
}

class CountingFontCombo : public TZevFontComboBox {
 public:
  using TZevFontComboBox::TZevFontComboBox;
  int Loads = 0;
  void LoadFonts() override {
    ++Loads;
    TZevFontComboBox::LoadFonts();
  }
};

class FontComboTest : public ComponentTest {
 protected:
  FontComboTest() {
    combo_->OnChange = [this](TObject*) { events_.push_back("change"); };
    combo_->OnClick = [this](TObject*) { events_.push_back("click"); };
  }
  CountingFontCombo* combo_ = Make<CountingFontCombo>(10, 10, 180, 22);
  std::vector<std::string> events_;
};

TEST_F(FontComboTest, ListsTheScreensFamiliesOfTheChosenKindInNameOrder) {
  const std::vector<TFamily> screen = ScreenFamilies();
  auto expected = [&](auto keep) {
    std::vector<std::string> names;
    for (const TFamily& f : screen)
      if (keep(f.flags)) names.push_back(f.name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    return names;
  };
  combo_->HandleNeeded();
  EXPECT_EQ(Listed(combo_), expected([](BYTE) { return true; }));
  EXPECT_TRUE(combo_->Style() == csOwnerDrawFixed && combo_->Sorted());
  combo_->SetFontType(ftTrueType);
  const auto trueType = expected([](BYTE f) { return (f & TMPF_TRUETYPE) != 0; });
  EXPECT_EQ(Listed(combo_), trueType);
  EXPECT_LT(trueType.size(), screen.size());  // the raster "MS Sans Serif" is left out
  combo_->SetFontType(ftFixedPitch);
  const auto fixed = expected([](BYTE f) { return (f & TMPF_FIXED_PITCH) == 0; });
  EXPECT_EQ(Listed(combo_), fixed);
  ASSERT_FALSE(fixed.empty());
  combo_->SetFontType(ftPrinter);  // nothing is settled for it: nothing is listed
  EXPECT_TRUE(Listed(combo_).empty());
  combo_->SetFontType(ftAll);
  combo_->SetFontDevice(fdPrinter);  // no printer here: none of its fonts
  EXPECT_TRUE(Listed(combo_).empty());
  const int loads = combo_->Loads;
  combo_->SetFontDevice(fdPrinter);  // the same value reloads nothing
  EXPECT_EQ(combo_->Loads, loads);
}

TEST_F(FontComboTest, EachKindOfFontHasItsGlyph) {
  RegisterComponentResources();
  TBitmap trueTypeFixed, trueType, fixedPitch, device, printer;
  trueTypeFixed.LoadFromResourceName(nullptr, "ZEV_TRUETYPEFIXED");
  trueType.LoadFromResourceName(nullptr, "ZEV_TRUETYPE");
  fixedPitch.LoadFromResourceName(nullptr, "ZEV_FIXEDPITCH");
  device.LoadFromResourceName(nullptr, "ZEV_DEVICE");
  printer.LoadFromResourceName(nullptr, "ZEV_PRINTER");
  auto same = [](TBitmap* a, TBitmap* b) {
    if (a->Width() != b->Width() || a->Height() != b->Height()) return false;
    for (int y = 0; y < a->Height(); ++y)
      for (int x = 0; x < a->Width(); ++x)
        if (a->Canvas()->Pixels(x, y) != b->Canvas()->Pixels(x, y)) return false;
    return true;
  };
  EXPECT_TRUE(same(combo_->GlyphFor(TMPF_TRUETYPE | TMPF_VECTOR), &trueTypeFixed));  // Courier New
  EXPECT_TRUE(same(combo_->GlyphFor(TMPF_TRUETYPE | TMPF_FIXED_PITCH), &trueType));  // Arial
  EXPECT_TRUE(same(combo_->GlyphFor(0), &fixedPitch));
  EXPECT_TRUE(same(combo_->GlyphFor(TMPF_FIXED_PITCH), &device));  // MS Sans Serif
  combo_->SetFontDevice(fdPrinter);
  EXPECT_TRUE(same(combo_->GlyphFor(TMPF_FIXED_PITCH), &printer));
  EXPECT_EQ(trueType.Width(), 12);
  EXPECT_EQ(trueType.Height(), 12);
}

TEST_F(FontComboTest, FontNameChosenBeforeTheWindowSurvivesTheFirstShowing) {
  combo_->SetFontName("arial");  // the list's look-up ignores case
  ShowForm();
  EXPECT_EQ(combo_->FontName(), "Arial");
  combo_->SetFontName("No Such Font");
  EXPECT_EQ(combo_->ItemIndex(), -1);
  EXPECT_EQ(combo_->FontName(), "");
}

TEST_F(FontComboTest, TypeAheadSelectsBeepsAndBacksUp) {
  ShowForm();
  combo_->SetFocus();
  const int beeps = MessageBeepCount();
  Type("a");
  const std::string firstA = combo_->FontName();
  EXPECT_TRUE(firstA[0] == 'A' || firstA[0] == 'a');
  Type("R");
  EXPECT_EQ(combo_->FontName(), "Arial");
  EXPECT_EQ(combo_->SearchText(), "aR");
  EXPECT_EQ(events_, (std::vector<std::string>{"click", "change", "click", "change"}));
  Type("q");  // nothing starts with "arq"
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  EXPECT_EQ(combo_->FontName(), "Arial");
  EXPECT_EQ(combo_->SearchText(), "aR");
  Type("\b");
  EXPECT_EQ(combo_->FontName(), firstA);
  EXPECT_EQ(combo_->SearchText(), "a");
  events_.clear();
  Type("\b");
  EXPECT_EQ(combo_->ItemIndex(), -1);
  EXPECT_EQ(events_, (std::vector<std::string>{"click", "change"}));
  Type("\b");  // nothing left to take back
  EXPECT_EQ(MessageBeepCount(), beeps + 2);
  combo_->SetBeepOnInvalidKey(false);
  Type("\b");
  EXPECT_EQ(MessageBeepCount(), beeps + 2);
  // Escape clears the selection; a navigation key starts the search afresh.
  Type("c");
  ASSERT_GE(combo_->ItemIndex(), 0);
  Type("\x1b");
  EXPECT_EQ(combo_->ItemIndex(), -1);
  Type("c");
  Key(VK_DOWN);
  EXPECT_EQ(combo_->SearchText(), "");
}

// The key that closes the open list does only that: its character does not reach type-ahead.
TEST_F(FontComboTest, EscapeAndReturnInTheOpenListKeepTheFont) {
  combo_->SetFontName("Arial");
  ShowForm();
  combo_->SetFocus();
  for (int key : {VK_ESCAPE, VK_RETURN}) {
    SCOPED_TRACE(key);
    events_.clear();
    Key(VK_F4);
    ASSERT_TRUE(combo_->DroppedDown());
    Key(key);
    EXPECT_FALSE(combo_->DroppedDown());
    EXPECT_EQ(combo_->FontName(), "Arial");
    EXPECT_EQ(events_, std::vector<std::string>{});
  }
  // Closed, Escape still clears the selection.
  Key(VK_ESCAPE);
  EXPECT_EQ(combo_->FontName(), "");
}

TEST_F(FontComboTest, AnotherProgramTakingTheKeyboardClosesTheOpenListAsACancel) {
  combo_->SetFontName("Arial");
  ShowForm();
  combo_->SetFocus();
  Key(VK_F4);
  ASSERT_TRUE(combo_->DroppedDown());
  Move(combo_, 20, combo_->Height() + 30);
  InjectFocusToOtherProgram(form_.Handle());
  PumpMessages();
  EXPECT_FALSE(combo_->DroppedDown());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(combo_->FontName(), "Arial");
  EXPECT_EQ(events_, std::vector<std::string>{});
}

TEST_F(FontComboTest, FindItemMatchesTheBeginningWithoutCase) {
  combo_->HandleNeeded();
  const int arial = combo_->Items()->IndexOf("Arial");
  EXPECT_EQ(combo_->FindItem("ARI"), arial);
  EXPECT_EQ(combo_->FindItem(""), -1);
  EXPECT_EQ(combo_->FindItem("zzzz"), -1);
}

TEST_F(FontComboTest, ItemsShowTheirGlyphAndADisabledListWritesGrey) {
  combo_->SetFontName("Courier New");
  ShowForm();
  auto picture = [&] { return Shot(combo_); };
  host::Image shot = picture();
  // The glyph at (4, (height - 12) / 2) of the item, then the name at 24.
  int blue = 0, grey = 0;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < 30; ++x) blue += shot.At(x, y) == Rgb(clBlue);
  EXPECT_GT(blue, 5) << "the TrueType-fixed glyph's blue T";
  combo_->SetEnabled(false);
  shot = picture();
  for (int y = 0; y < shot.height; ++y)
    for (int x = 24; x < 120; ++x) grey += shot.At(x, y) == Rgb(clGrayText);
  EXPECT_GT(grey, 20);
}

TEST_F(ComponentTest, EditComboBoxesCompleteWhatIsTyped) {
  auto* combo = Make<TZevCustomComboBox>(10, 10, 150, 22);
  combo->Items()->Add("Blue");
  combo->Items()->Add("Bright");
  combo->Items()->Add("Black");
  ShowForm();
  combo->SetFocus();
  Type("br");
  TCustomEdit* edit = combo->EditControl();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetText(), "Bright");
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(edit->SelLength(), 4);
  EXPECT_EQ(combo->ItemIndex(), 1);
  // A cut takes the completed part.
  edit->SetSelStart(0);
  edit->SetSelLength(0);
  SendMessageA(edit->Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(edit->GetText(), "Br");
  Type("i");
  EXPECT_EQ(edit->GetText(), "Bright");
  Type("x");  // no completion: the text before the key, and the character typed at its end
  EXPECT_EQ(edit->GetText(), "Brightx");
  Type("\x1b");
  EXPECT_EQ(combo->ItemIndex(), -1);
  // Backspace takes back the character before the caret and completes again; emptied, nothing
  // is selected.
  edit->SetText("Bx");
  edit->SetSelStart(2);
  Type("\b");
  EXPECT_EQ(edit->GetText(), "Blue");
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(combo->ItemIndex(), 0);
  edit->SetText("x");
  edit->SetSelStart(1);
  Type("\b");
  EXPECT_EQ(edit->GetText(), "");
  EXPECT_EQ(combo->ItemIndex(), -1);
  const int beeps = MessageBeepCount();
  Type("\b");
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
}

TEST_F(ComponentTest, EscapeInTheOpenListKeepsTheEditsText) {
  auto* combo = Make<TZevCustomComboBox>(10, 10, 150, 22);
  combo->Items()->Add("Blue");
  combo->Items()->Add("Black");
  ShowForm();
  combo->SetFocus();
  for (const char* text : {"Blue", "Gree"}) {
    SCOPED_TRACE(text);
    combo->SetText(text);
    combo->SetItemIndex(combo->Items()->IndexOf(text));
    combo->SetText(text);
    Key(VK_F4);
    ASSERT_TRUE(combo->DroppedDown());
    Key(VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->GetText(), text);
    EXPECT_EQ(combo->ItemIndex(), combo->Items()->IndexOf(text));
  }
}

}  // namespace
