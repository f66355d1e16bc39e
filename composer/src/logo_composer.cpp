#include "composer/logo_composer.h"

#include <algorithm>

#include "bar_sections.h"
#include "composer/joke_file.h"
#include "composer/startup_logo.h"
#include "graphics/median_cut.h"
#include "graphics/pg_canvas.h"
#include "vcl/system.h"
#include "vcl/sysutils.h"
#include "win32/kernel.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;
constexpr int kBarTop = 380;
constexpr int kTextHeightLimit = 330;
constexpr int kTextGap = 10;
constexpr int kGradientDivisor = 400;
constexpr int kLogoWidth = 320;

TColor Channels(int r, int g, int b) { return static_cast<TColor>(RGB(BYTE(r), BYTE(g), BYTE(b))); }

// From + Step x (To - From) / Steps per channel, truncated towards zero.
TColor Between(COLORREF From, COLORREF To, int Step, int Steps) {
  auto channel = [&](BYTE f, BYTE t) { return f + Step * (t - f) / Steps; };
  return Channels(channel(GetRValue(From), GetRValue(To)), channel(GetGValue(From), GetGValue(To)),
                  channel(GetBValue(From), GetBValue(To)));
}

}  // namespace

int AnimationColorCount(const TLogoState& State) { return std::clamp(State.seAnimation, 4, kMaxAnimationColors); }
int AnimationSectionCount(const TLogoState& State) { return std::clamp(State.seSections, 4, 64); }
int TextSize(const TTextStyle& Style) { return std::clamp(Style.Size, kMinTextSize, kMaxTextSize); }

TLogoComposer::TLogoComposer() : composite_(new TPixelGraphic), background_(new TPixelGraphic) {
  composite_->SetSize(kWidth, kHeight, pgbc24);
  background_->SetSize(kWidth, kBarTop, pgbc24);
}

TLogoComposer::~TLogoComposer() = default;

void TLogoComposer::RefreshTexts() {
  Randomize();
  question_ = State.edFirst;
  answer_ = State.edLast;
  if (!FileExists(State.laJokeFile)) return;
  description_ = ReadJokeDescription(State.laJokeFile);
  TStringList lines;
  PickJoke(State.laJokeFile, &lines, true, description_);
  if (lines.Count() == 1) {
    if (!description_.empty()) question_ = description_;
    answer_ = lines.Get(0);
  } else if (lines.Count() >= 2) {
    question_ = lines.Get(0);
    answer_ = lines.Get(1);
    for (int i = 2; i < lines.Count(); ++i) answer_ += "\r\n" + lines.Get(i);
  }
}

void TLogoComposer::FillBackgroundRows(const std::function<TColor(int Row)>& ColorOfRow) {
  for (int y = 0; y < kBarTop; ++y) {
    const COLORREF c = ColorOfRow(y);
    std::uint8_t* p = background_->ScanLine(y);
    for (int x = 0; x < kWidth; ++x, p += 3) {
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  }
}

void TLogoComposer::LoadPictureBackground() {
  if (!FileExists(State.btBitmap)) return;
  TPixelGraphic picture;
  picture.SetReadWarningAction(pgwaIgnore);
  picture.LoadFromFile(State.btBitmap);
  const int w = picture.GetWidth(), h = picture.GetHeight();
  // An empty picture cannot be tiled or stretched: it counts as none.
  if (w <= 0 || h <= 0) return;
  if (State.cbTiled) {
    for (int c = 0; c <= kWidth / w; ++c)
      for (int r = 0; r <= kBarTop / h; ++r) background_->CopyRect(c * w, r * h, &picture, 0, 0, w, h);
  } else {
    background_->StretchCopy(&picture);
  }
}

void TLogoComposer::BuildBackground() {
  if (Building) return;
  background_->SetBackGroundColor(clBlack);
  background_->Clear();
  switch (State.rgBackground) {
    case bkSingle: {
      const TColor color = static_cast<TColor>(ColorToRGB(State.cbSingleColor));
      FillBackgroundRows([&](int) { return color; });
      break;
    }
    case bkDegraded: {
      const COLORREF from = ColorToRGB(State.cbFromColor), to = ColorToRGB(State.cbToColor);
      FillBackgroundRows([&](int y) { return Between(from, to, y, kGradientDivisor); });
      break;
    }
    case bkBitmap:
      // A missing or unreadable picture still gets its texts and bar on black.
      try {
        LoadPictureBackground();
      } catch (...) {
        background_->Clear();
        ComposeLogo();
        throw;
      }
      break;
    default: break;
  }
  ComposeLogo();
}

void TLogoComposer::ComposeLogo() {
  if (Building) return;
  composite_->CopyRect(0, 0, background_.get(), 0, 0, kWidth, kBarTop);
  TTextStyle first = State.First, last = State.Last;
  first.Size = TextSize(first);
  last.Size = TextSize(last);
  int h1 = MeasureText(composite_.get(), first, question_);
  int h2 = MeasureText(composite_.get(), last, answer_);
  // Shrinking stops at 1 point; clipping at row 380 takes care of what still does not fit.
  while (h1 + h2 > kTextHeightLimit && (first.Size > 1 || last.Size > 1)) {
    first.Size = std::max(1, first.Size - 1);
    last.Size = std::max(1, last.Size - 1);
    h1 = MeasureText(composite_.get(), first, question_);
    h2 = MeasureText(composite_.get(), last, answer_);
  }
  const int top = (kBarTop - h1 - kTextGap - h2) / 2;
  DrawTextWithEffect(composite_.get(), first, top, question_);
  DrawTextWithEffect(composite_.get(), last, top + h1 + kTextGap, answer_);
  DrawAnimationBar();
}

void TLogoComposer::BuildAnimationPalette() {
  if (Building) return;
  const COLORREF start = ColorToRGB(State.StartColor), end = ColorToRGB(State.EndColor);
  const int n = AnimationColorCount(State);
  for (int c = 0; c < n; ++c) animation_[static_cast<size_t>(c)] = Between(start, end, c, n);
  shown_ = animation_;
}

void TLogoComposer::DrawAnimationBar() {
  TCanvas* canvas = composite_->GetCanvas();
  canvas->Brush()->SetStyle(bsSolid);
  ForEachBarSection(kWidth, AnimationSectionCount(State), AnimationColorCount(State), [&](int x0, int x1, int k) {
    canvas->Brush()->SetColor(shown_[static_cast<size_t>(k - 1)]);
    canvas->FillRect(TRect{x0, kBarTop, x1, kHeight});
  });
  if (OnShowComposite) OnShowComposite(composite_.get());
}

void TLogoComposer::TimerTimer() {
  const int n = AnimationColorCount(State);
  std::rotate(shown_.begin(), shown_.begin() + 1, shown_.begin() + n);
  DrawAnimationBar();
}

void TLogoComposer::btLogoClick() {
  const int n = AnimationColorCount(State);
  TPixelGraphic halved, logo;
  halved.SetSize(kLogoWidth, kHeight, pgbc24);
  halved.SetStretchMode(smPrecise);
  halved.StretchCopy(composite_.get());
  logo.SetSize(kLogoWidth, kHeight, pgbc8);
  logo.SetDither(true);
  MedianCutQuantize(&logo, &halved, 256 - n, true);
  logo.SetPaletteCount(256);
  logo.CopyRect(0, 0, &halved, 0, 0, kLogoWidth, kBarTop);
  BuildAnimationPalette();
  for (int c = 0; c < n; ++c) logo.SetPaletteEntry(256 - n + c, animation_[static_cast<size_t>(c)]);
  DrawLogoAnimationBar(&logo, n, AnimationSectionCount(State));
  const std::string draft = CreateDraft();
  try {
    logo.SaveToFile(draft);
    PatchImportantColors(draft.c_str(), static_cast<DWORD>(256 - n));
  } catch (...) {
    DeleteFileA(draft.c_str());  // ours, and of no use to the next save
    throw;
  }
  ReplaceKeepingAttributes(draft.c_str(), kStartupLogo);
}
