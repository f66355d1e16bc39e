#pragma once
// A label whose caption is raised, recessed or shadowed, rotated by an angle or laid along an
// ellipse, and that can change its font colour while the mouse is over it.
#include "vcl/stdctrls.h"

namespace ZevLabel {
// In the label's own scope: the composer has a TTextStyle of its own.
enum class TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
}  // namespace ZevLabel

enum TRotation { roNone, roFlat, roCurve };
enum TCenterPoint {
  cpUpperLeft,
  cpUpperCenter,
  cpUpperRight,
  cpLeftCenter,
  cpCenter,
  cpRightCenter,
  cpLowerLeft,
  cpLowerCenter,
  cpLowerRight
};
extern const TTypeInfo TypeInfo_TZevTextStyle;
extern const TTypeInfo TypeInfo_TRotation;
extern const TTypeInfo TypeInfo_TCenterPoint;

class TZevLabel : public TCustomLabel {
 public:
  VCL_CLASS_INFO
  using TTextStyle = ZevLabel::TTextStyle;
  explicit TZevLabel(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  // Stored in 0 .. 359.
  int Angle() const { return angle_; }
  void SetAngle(int Value);
  TCenterPoint CenterPoint() const { return centerPoint_; }
  void SetCenterPoint(TCenterPoint Value);
  TColor FlyByColor() const { return flyByColor_; }
  void SetFlyByColor(TColor Value);
  bool FlyByEnabled() const { return flyByEnabled_; }
  void SetFlyByEnabled(bool Value);
  bool LightTextStyle() const { return lightTextStyle_; }
  void SetLightTextStyle(bool Value);
  TRotation Rotation() const { return rotation_; }
  void SetRotation(TRotation Value);
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor Value);
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor Value);
  int ShadowDepth() const { return shadowDepth_; }
  void SetShadowDepth(int Value);
  TTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TTextStyle Value);
  // Whether the label's font is a TrueType one (rotation needs one).
  bool IsTrueType();

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Paint() override;
  void Loaded() override;

 private:
  struct TCopy {
    int Dx, Dy;
    TColor Color;
  };
  std::vector<TCopy> Copies(bool MoveRightAlignedShadowDown);
  HFONT MakeRotatedFont(int Tenths);
  TPoint RotationCentre();
  void RadiiOf(int& Rx, int& Ry);
  void DrawStraight();
  void DrawFlat();
  void DrawCurved();
  void Outline(HDC DC, int X, int Y, const std::string& Text, const std::vector<TCopy>& Copies, const RECT* Clip);
  bool Loading() const { return finishingLoad_ || ComponentState().Contains(csLoading); }

  int angle_ = 0;
  TCenterPoint centerPoint_ = cpCenter;
  TColor flyByColor_ = clHighlight;
  bool flyByEnabled_ = false;
  bool lightTextStyle_ = false;
  TRotation rotation_ = roNone;
  TColor highlightColor_ = clBtnHighlight;
  TColor shadowColor_ = clBtnShadow;
  int shadowDepth_ = 2;
  TTextStyle textStyle_ = TTextStyle::tsRecessed;
  TColor savedColor_ = clWindowText;
  bool flying_ = false;
  bool finishingLoad_ = false;
};
