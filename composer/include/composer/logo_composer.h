#pragma once
// The composer's logo: a 640 x 400 composite of the background (rows 0-379), the question and
// answer, and the palette-animation bar (rows 380-399); saved as the startup logo.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "composer/logo_state.h"
#include "graphics/pixel_graphic.h"

constexpr int kMaxAnimationColors = 32;
using TAnimationColors = std::array<TColor, kMaxAnimationColors>;

// The bar's colour and section counts, held to the spin edits' ranges whatever was stored.
int AnimationColorCount(const TLogoState& State);
int AnimationSectionCount(const TLogoState& State);
// A text's font size held to the size spin edits' range, so a typed 9999999 cannot make the
// fitting loop run for ever with giant fonts.
constexpr int kMinTextSize = 8;
constexpr int kMaxTextSize = 124;
int TextSize(const TTextStyle& Style);

class TLogoComposer {
 public:
  TLogoComposer();
  ~TLogoComposer();

  TLogoState State;
  // While set, BuildBackground, BuildAnimationPalette and ComposeLogo do nothing.
  bool Building = false;
  // Hands the composite to the viewer after each bar drawing.
  std::function<void(TPixelGraphic* Composite)> OnShowComposite;

  void RefreshTexts();
  void BuildBackground();
  void ComposeLogo();
  void BuildAnimationPalette();
  void DrawAnimationBar();
  void TimerTimer();
  // Writes the composite into "c:\logo.sys"; a failed replacement raises EInOutError.
  void btLogoClick();

  TPixelGraphic* Composite() const { return composite_.get(); }
  TPixelGraphic* Background() const { return background_.get(); }
  const std::string& QuestionText() const { return question_; }
  const std::string& AnswerText() const { return answer_; }
  const TAnimationColors& AnimationColors() const { return animation_; }
  const TAnimationColors& ShownColors() const { return shown_; }

 private:
  void FillBackgroundRows(const std::function<TColor(int Row)>& ColorOfRow);
  void LoadPictureBackground();

  std::unique_ptr<TPixelGraphic> composite_;
  std::unique_ptr<TPixelGraphic> background_;
  TAnimationColors animation_{};
  TAnimationColors shown_{};
  std::string question_;
  std::string answer_;
  std::string description_;
};
