#pragma once
// The colour buttons' base layer: a change-notifying object, a bevel of rings, window and
// window-less controls that own one, the routine slots and start-up flags of the family, the
// device identifier type and the family's screen cursors.
#include <cstddef>
#include <cstdint>

#include "vcl/controls.h"
#include "vcl/extctrls.h"

// ---- Change-notifying object ------------------------------------------------------------------
class TTavObject : public TPersistent {
 public:
  VCL_CLASS_INFO
  // Updates nest; the last EndUpdate gives one notification.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  TNotifyEvent OnChange;

 protected:
  // False at the end of an update: notifies.
  virtual void Changing(bool Flag);
  virtual void Changed();

 private:
  int updateCount_ = 0;
};

// ---- Bevel ------------------------------------------------------------------------------------
using TBorderWidth = int;

class TTavBevel : public TTavObject {
 public:
  VCL_CLASS_INFO
  TTavBevel();
  // Another bevel's 13 properties, with one notification; itself changes nothing.
  void Assign(TPersistent* Source) override;

  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel Value);
  TBevelWidth BevelInnerWidth() const { return bevelInnerWidth_; }
  void SetBevelInnerWidth(TBevelWidth Value);
  TBevelWidth BevelOuterWidth() const { return bevelOuterWidth_; }
  void SetBevelOuterWidth(TBevelWidth Value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  TBorderWidth BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(TBorderWidth Value);
  TBorderWidth BorderSpace() const { return borderSpace_; }
  void SetBorderSpace(TBorderWidth Value);
  // Index 0 BorderColor, 1 BorderSpaceColor, 2 InnerLightColor, 3 InnerShadowColor,
  // 4 OuterLightColor, 5 OuterShadowColor; another index only notifies.
  TColor GetColor(int Index) const;
  void SetColor(int Index, TColor Value);
  TColor BorderColor() const { return GetColor(0); }
  void SetBorderColor(TColor Value) { SetColor(0, Value); }
  TColor BorderSpaceColor() const { return GetColor(1); }
  void SetBorderSpaceColor(TColor Value) { SetColor(1, Value); }
  TColor InnerLightColor() const { return GetColor(2); }
  void SetInnerLightColor(TColor Value) { SetColor(2, Value); }
  TColor InnerShadowColor() const { return GetColor(3); }
  void SetInnerShadowColor(TColor Value) { SetColor(3, Value); }
  TColor OuterLightColor() const { return GetColor(4); }
  void SetOuterLightColor(TColor Value) { SetColor(4, Value); }
  TColor OuterShadowColor() const { return GetColor(5); }
  void SetOuterShadowColor(TColor Value) { SetColor(5, Value); }

  // Draws the rings from the outside in over Rect; Result is the rectangle left inside them.
  // Without the border its band is skipped but still taken from the rectangle.
  virtual void Paint(TCanvas* Canvas, const TRect& Rect, TRect& Result, bool WithBorder);

 private:
  TPanelBevel bevelInner_ = bvNone;
  TPanelBevel bevelOuter_ = bvLowered;
  TBevelWidth bevelInnerWidth_ = 1;
  TBevelWidth bevelOuterWidth_ = 1;
  TBorderStyle borderStyle_ = bsNone;
  TBorderWidth borderWidth_ = 0;
  TBorderWidth borderSpace_ = 0;
  TColor colors_[6] = {clBtnFace, clBlack, clBtnHighlight, clBtnShadow, clBtnHighlight, clBtnShadow};
};

// ---- Controls with a bevel --------------------------------------------------------------------
class TTavCustomControl : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TTavCustomControl(TComponent* AOwner);
  ~TTavCustomControl() override;
  TTavBevel* Bevel() const { return bevel_; }
  void SetBevel(TTavBevel* Value) { bevel_->Assign(Value); }

 protected:
  // The bevel changed: repaint.
  virtual void LookChanged();
  void Paint() override;

 private:
  TTavBevel* bevel_;
};

class TTavGraphicControl : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  explicit TTavGraphicControl(TComponent* AOwner);
  ~TTavGraphicControl() override;
  TTavBevel* Bevel() const { return bevel_; }
  void SetBevel(TTavBevel* Value) { bevel_->Assign(Value); }
  // Leaves the inside of the bevel unpainted.
  bool TavTransparent() const { return transparent_; }
  void SetTavTransparent(bool Value);

 protected:
  virtual void LookChanged();
  void Paint() override;

 private:
  TTavBevel* bevel_;
  bool transparent_ = false;
};

// ---- Device identifiers -----------------------------------------------------------------------
using TTavDeviceId = std::int32_t;
constexpr TTavDeviceId InvalidDevice = -2;
constexpr TTavDeviceId DefaultDevice = -1;
extern const TTypeInfo TypeInfo_TTavDeviceId;
bool IdentToTavDeviceId(const std::string& Ident, std::int64_t& Value);
bool TavDeviceIdToIdent(std::int64_t Value, std::string& Ident);

// ---- Start-up flags ---------------------------------------------------------------------------
struct TTavStartupFlags {
  bool Win9x = false;
  bool NT3 = false;
  bool NT4 = false;
  bool NT = false;
  // The processor identification's family less 5; 0 without one.
  int ProcessorFamily = 0;
  bool MMX = false;
  bool Set = false;
};
const TTavStartupFlags& TavStartupFlags();

// ---- Routine slots ----------------------------------------------------------------------------
// Filled once by the family's initialization; a program may put faster versions in.
struct TTavRoutines {
  void (*DoNothing)();  // 1
  int (*ReturnZero)();  // 2
  void (*Swap16)(std::uint16_t& A, std::uint16_t& B);  // 3
  void (*Swap32)(std::uint32_t& A, std::uint32_t& B);  // 4
  void (*Swap32Again)(std::uint32_t& A, std::uint32_t& B);  // 5
  int (*Min)(int A, int B);  // 6
  int (*Max)(int A, int B);  // 7
  int (*Clamp)(int V, int Lo, int Hi);  // 8
  int (*ClampEither)(int V, int Lo, int Hi);  // 9: bounds in either order
  bool (*InRange)(int V, int Lo, int Hi);  // 10
  bool (*InRangeEither)(int V, int Lo, int Hi);  // 11: bounds in either order
  void (*AddTo)(int& Variable, int Value);  // 12
  void (*FillBytes)(void* Dest, int N, std::uint8_t Value);  // 13: nothing for N <= 0
  void (*FillPattern)(void* Dest, int N, std::uint32_t Pattern);  // 14: nothing for N < 0
  void (*MoveBytes)(const void* Source, void* Dest, int N);  // 15: areas may overlap
  bool (*CompareBytes)(const void* A, const void* B, int N);  // 16: equal; N <= 0 is equal
};
TTavRoutines& TavRoutines();

// Sets the flags, the routine slots, the device identifier names and the cursors 2001 to 2031;
// once, however often it is called.
void InitTavUtilities();
constexpr int kTavFirstCursor = 2001;
constexpr int kTavCursorCount = 31;
