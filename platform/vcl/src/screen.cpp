// TScreen: the screen's size, the cursors, the hint font and the forms.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "vcl/forms.h"

TScreen* Screen = new TScreen(nullptr);

namespace {

// The split cursors are the class library's own, not the system's: drawn here once per process,
// black with a white rim. crVSplit is two horizontal bars with arrows up and down; crHSplit the
// same turned a quarter.
HCURSOR SplitCursor(bool vertical) {
  constexpr int kSize = 32, kRowBytes = kSize / 8, kCentre = 15;
  const auto covers = [vertical](int x, int y) {
    const int along = vertical ? y : x, across = vertical ? x : y;
    const int a = std::abs(along - kCentre), c = std::abs(across - kCentre);
    const bool bars = (a == 1 || a == 2) && c <= 9;
    const bool shaft = c == 0 && a >= 3 && a <= 9;
    const bool head = a >= 5 && a <= 8 && c <= 8 - a + 1 && c <= 3;
    return bars || shaft || head;
  };
  std::array<std::uint8_t, kRowBytes * kSize> andMask, xorMask{};
  andMask.fill(0xFF);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const bool inside = covers(x, y);
      bool rim = false;
      for (int j = -1; j <= 1 && !inside; ++j)
        for (int i = -1; i <= 1; ++i)
          if (covers(x + i, y + j)) rim = true;
      if (!inside && !rim) continue;
      const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
      const auto at = static_cast<std::size_t>(y * kRowBytes + x / 8);
      andMask[at] &= static_cast<std::uint8_t>(~bit);
      if (rim) xorMask[at] |= bit;
    }
  return CreateCursor(nullptr, kCentre, kCentre, kSize, kSize, andMask.data(), xorMask.data());
}

}  // namespace

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner), hintFont_(new TFont) { hintFont_->SetColor(clInfoText); }

TScreen::~TScreen() { delete hintFont_; }

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

void TScreen::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  cursor_ = Value;
  ::SetCursor(Cursors(Value == crDefault ? crArrow : Value));
}

HCURSOR TScreen::Cursors(int Index) const {
  for (const auto& [index, handle] : cursors_)
    if (index == Index) return handle;
  struct TStock {
    TCursor Cursor;
    LPCSTR Id;
  };
  static const TStock stock[] = {{crArrow, IDC_ARROW},          {crCross, IDC_CROSS},
                                 {crIBeam, IDC_IBEAM},          {crSizeNESW, IDC_SIZENESW},
                                 {crSizeNS, IDC_SIZENS},        {crSizeNWSE, IDC_SIZENWSE},
                                 {crSizeWE, IDC_SIZEWE},        {crUpArrow, IDC_UPARROW},
                                 {crHourGlass, IDC_WAIT},       {crNo, IDC_NO},
                                 {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
                                 {crHandPoint, IDC_HAND},       {crSizeAll, IDC_SIZEALL},
                                 {crSQLWait, IDC_WAIT}};
  if (Index == crNone) return nullptr;
  if (Index == crVSplit) {
    static const HCURSOR vsplit = SplitCursor(true);
    return vsplit;
  }
  if (Index == crHSplit) {
    static const HCURSOR hsplit = SplitCursor(false);
    return hsplit;
  }
  for (const TStock& s : stock)
    if (s.Cursor == Index) return LoadCursorA(nullptr, s.Id);
  return LoadCursorA(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(int Index, HCURSOR Handle) {
  for (auto& entry : cursors_)
    if (entry.first == Index) {
      entry.second = Handle;
      return;
    }
  cursors_.emplace_back(Index, Handle);
}

void TScreen::AddForm(TCustomForm* Form) { forms_.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), Form), forms_.end());
  if (activeForm_ == Form) activeForm_ = nullptr;
}

const TClassInfo& TScreen::StaticClassInfo() {
  static const TClassInfo info("TScreen", &TComponent::StaticClassInfo());
  return info;
}
