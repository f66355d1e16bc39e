// The colour buttons' base layer.
#include "components/tav_base.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include "vcl/forms.h"
#include "win32/kernel.h"
#include "rect_ops.h"

// ---- TTavObject --------------------------------------------------------------------------------
void TTavObject::BeginUpdate() {
  if (updateCount_ == 0) Changing(true);
  ++updateCount_;
}

void TTavObject::EndUpdate() {
  if (updateCount_ <= 0) return;
  --updateCount_;
  if (updateCount_ == 0) Changing(false);
}

void TTavObject::Changing(bool Flag) {
  if (!Flag) Changed();
}

void TTavObject::Changed() {
  if (updateCount_ == 0 && OnChange) OnChange(this);
}

const TClassInfo& TTavObject::StaticClassInfo() {
  static const TClassInfo info("TTavObject", &TPersistent::StaticClassInfo());
  return info;
}

// ---- TTavBevel ---------------------------------------------------------------------------------
TTavBevel::TTavBevel() = default;

namespace {
template <class T>
bool Store(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

void TTavBevel::SetBevelInner(TPanelBevel Value) {
  if (Store(bevelInner_, Value)) Changed();
}
void TTavBevel::SetBevelOuter(TPanelBevel Value) {
  if (Store(bevelOuter_, Value)) Changed();
}
void TTavBevel::SetBevelInnerWidth(TBevelWidth Value) {
  if (Store(bevelInnerWidth_, Value)) Changed();
}
void TTavBevel::SetBevelOuterWidth(TBevelWidth Value) {
  if (Store(bevelOuterWidth_, Value)) Changed();
}
void TTavBevel::SetBorderStyle(TBorderStyle Value) {
  if (Store(borderStyle_, Value)) Changed();
}
void TTavBevel::SetBorderWidth(TBorderWidth Value) {
  if (Store(borderWidth_, Value)) Changed();
}
void TTavBevel::SetBorderSpace(TBorderWidth Value) {
  if (Store(borderSpace_, Value)) Changed();
}

TColor TTavBevel::GetColor(int Index) const { return Index >= 0 && Index < 6 ? colors_[Index] : clNone; }

void TTavBevel::SetColor(int Index, TColor Value) {
  if (Index < 0 || Index >= 6) return Changed();
  if (Store(colors_[Index], Value)) Changed();
}

void TTavBevel::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TTavBevel*>(Source);
  if (!other) return TTavObject::Assign(Source);
  if (other == this) return;
  BeginUpdate();
  SetBevelInner(other->bevelInner_);
  SetBevelOuter(other->bevelOuter_);
  SetBevelInnerWidth(other->bevelInnerWidth_);
  SetBevelOuterWidth(other->bevelOuterWidth_);
  SetBorderStyle(other->borderStyle_);
  SetBorderWidth(other->borderWidth_);
  SetBorderSpace(other->borderSpace_);
  for (int i = 0; i < 6; ++i) SetColor(i, other->colors_[i]);
  EndUpdate();
}

void TTavBevel::Paint(TCanvas* Canvas, const TRect& Rect, TRect& Result, bool WithBorder) {
  TRect r = Rect;
  auto ring = [&](TColor TopLeft, TColor BottomRight, int Width) {
    if (Width > 0) Frame3D(Canvas, r, TopLeft, BottomRight, Width);
  };
  auto bevel = [&](TPanelBevel Kind, TColor Light, TColor Shadow, int Width) {
    if (Kind == bvLowered) ring(Shadow, Light, Width);
    else if (Kind == bvRaised)
      ring(Light, Shadow, Width);
  };
  if (borderStyle_ == bsSingle) ring(clWindowFrame, clWindowFrame, 1);
  bevel(bevelOuter_, OuterLightColor(), OuterShadowColor(), bevelOuterWidth_);
  if (WithBorder) ring(BorderColor(), BorderColor(), borderWidth_);
  else
    rect_ops::Inflate(r, -borderWidth_, -borderWidth_);
  bevel(bevelInner_, InnerLightColor(), InnerShadowColor(), bevelInnerWidth_);
  if (borderSpace_ != 0) ring(BorderSpaceColor(), BorderSpaceColor(), borderSpace_);
  Result = r;
}

const TTypeInfo TypeInfo_TTavDeviceId{"TTavDeviceId", tkInteger};

const TClassInfo& TTavBevel::StaticClassInfo() {
  using C = TTavBevel;
  // All always stored: no defaults.
  static const TClassInfo info(
      "TTavBevel", &TTavObject::StaticClassInfo(),
      {OrdProperty<C>("BevelInner", TypeInfo_TPanelBevel, &C::BevelInner, &C::SetBevelInner),
       OrdProperty<C>("BevelOuter", TypeInfo_TPanelBevel, &C::BevelOuter, &C::SetBevelOuter),
       OrdProperty<C>("BevelInnerWidth", TypeInfo_Integer, &C::BevelInnerWidth, &C::SetBevelInnerWidth),
       OrdProperty<C>("BevelOuterWidth", TypeInfo_Integer, &C::BevelOuterWidth, &C::SetBevelOuterWidth),
       OrdProperty<C>("BorderStyle", TypeInfo_TFormBorderStyle, &C::BorderStyle, &C::SetBorderStyle),
       OrdProperty<C>("BorderWidth", TypeInfo_Integer, &C::BorderWidth, &C::SetBorderWidth),
       OrdProperty<C>("BorderSpace", TypeInfo_Integer, &C::BorderSpace, &C::SetBorderSpace),
       OrdProperty<C>("BorderColor", TypeInfo_TColor, &C::BorderColor, &C::SetBorderColor),
       OrdProperty<C>("BorderSpaceColor", TypeInfo_TColor, &C::BorderSpaceColor, &C::SetBorderSpaceColor),
       OrdProperty<C>("InnerLightColor", TypeInfo_TColor, &C::InnerLightColor, &C::SetInnerLightColor),
       OrdProperty<C>("InnerShadowColor", TypeInfo_TColor, &C::InnerShadowColor, &C::SetInnerShadowColor),
       OrdProperty<C>("OuterLightColor", TypeInfo_TColor, &C::OuterLightColor, &C::SetOuterLightColor),
       OrdProperty<C>("OuterShadowColor", TypeInfo_TColor, &C::OuterShadowColor, &C::SetOuterShadowColor)});
  return info;
}

// ---- Controls with a bevel ---------------------------------------------------------------------
TTavCustomControl::TTavCustomControl(TComponent* AOwner) : TCustomControl(AOwner), bevel_(new TTavBevel) {
  InitTavUtilities();
  TControlStyle style = ControlStyle();
  style.Include(csOpaque);
  SetControlStyle(style);
  bevel_->OnChange = [this](TObject*) { LookChanged(); };
}

TTavCustomControl::~TTavCustomControl() {
  bevel_->OnChange = nullptr;
  delete bevel_;
}

void TTavCustomControl::LookChanged() { Invalidate(); }

void TTavCustomControl::Paint() {
  TRect inner{};
  bevel_->Paint(Canvas(), ClientRect(), inner, true);
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(inner);
}

const TClassInfo& TTavCustomControl::StaticClassInfo() {
  static const TClassInfo info("TTavCustomControl", &TCustomControl::StaticClassInfo());
  return info;
}

TTavGraphicControl::TTavGraphicControl(TComponent* AOwner) : TGraphicControl(AOwner), bevel_(new TTavBevel) {
  InitTavUtilities();
  TControlStyle style = ControlStyle();
  style.Include(csOpaque);
  SetControlStyle(style);
  bevel_->OnChange = [this](TObject*) { LookChanged(); };
}

TTavGraphicControl::~TTavGraphicControl() {
  bevel_->OnChange = nullptr;
  delete bevel_;
}

void TTavGraphicControl::SetTavTransparent(bool Value) {
  if (transparent_ == Value) return;
  transparent_ = Value;
  Invalidate();
}

void TTavGraphicControl::LookChanged() { Invalidate(); }

void TTavGraphicControl::Paint() {
  TRect inner{};
  bevel_->Paint(Canvas(), ClientRect(), inner, true);
  if (transparent_) return;
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(inner);
}

const TClassInfo& TTavGraphicControl::StaticClassInfo() {
  static const TClassInfo info("TTavGraphicControl", &TGraphicControl::StaticClassInfo());
  return info;
}

// ---- Device identifiers ------------------------------------------------------------------------
bool IdentToTavDeviceId(const std::string& Ident, std::int64_t& Value) {
  if (SameText(Ident, "InvalidDevice")) Value = InvalidDevice;
  else if (SameText(Ident, "DefaultDevice"))
    Value = DefaultDevice;
  else
    return false;
  return true;
}

bool TavDeviceIdToIdent(std::int64_t Value, std::string& Ident) {
  if (Value == InvalidDevice) Ident = "InvalidDevice";
  else if (Value == DefaultDevice)
    Ident = "DefaultDevice";
  else
    return false;
  return true;
}

// ---- Start-up flags and routine slots ----------------------------------------------------------
namespace {

TTavStartupFlags flags;

TTavRoutines routines{};

void DoNothing() {}
int ReturnZero() { return 0; }
template <class T>
void Swap(T& A, T& B) {
  std::swap(A, B);
}
int Min(int A, int B) { return A < B ? A : B; }
int Max(int A, int B) { return A > B ? A : B; }
int Clamp(int V, int Lo, int Hi) { return V < Lo ? Lo : (V > Hi ? Hi : V); }
int ClampEither(int V, int Lo, int Hi) { return Hi < Lo ? Clamp(V, Hi, Lo) : Clamp(V, Lo, Hi); }
bool InRange(int V, int Lo, int Hi) { return Lo <= V && V <= Hi; }
bool InRangeEither(int V, int Lo, int Hi) { return Hi < Lo ? InRange(V, Hi, Lo) : InRange(V, Lo, Hi); }
void AddTo(int& Variable, int Value) { Variable += Value; }

void FillBytes(void* Dest, int N, std::uint8_t Value) {
  if (N > 0) std::memset(Dest, Value, static_cast<std::size_t>(N));
}

void FillPattern(void* Dest, int N, std::uint32_t Pattern) {
  if (N < 0) return;
  auto* p = static_cast<std::uint8_t*>(Dest);
  for (int i = 0; i < N / 4; ++i, p += 4) std::memcpy(p, &Pattern, 4);
  std::memset(p, static_cast<std::uint8_t>(Pattern & 0xFF), static_cast<std::size_t>(N % 4));
}

void MoveBytes(const void* Source, void* Dest, int N) {
  if (N <= 0 || Source == Dest) return;
  std::memmove(Dest, Source, static_cast<std::size_t>(N));
}

bool CompareBytes(const void* A, const void* B, int N) {
  return N <= 0 || std::memcmp(A, B, static_cast<std::size_t>(N)) == 0;
}

void ReadProcessor() {
#if defined(__i386__) || defined(__x86_64__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
    flags.ProcessorFamily = static_cast<int>((eax >> 8) & 0xF) - 5;
    flags.MMX = (edx & (1u << 23)) != 0;
  }
#endif
}

void ReadVersion() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  if (!GetVersionExA(&v)) return;
  flags.Win9x = v.dwPlatformId == 1;
  flags.NT3 = v.dwPlatformId == 2 && v.dwMajorVersion == 3;
  flags.NT4 = v.dwPlatformId == 2 && v.dwMajorVersion == 4;
  flags.NT = flags.NT3 || flags.NT4;
}

// Cursor n (0 .. 30): an arrow with the number in five bits of dots beside it, so each of the
// family's cursors can be told apart.
HCURSOR MakeCursor(int n) {
  constexpr int size = 32, stride = size / 8;
  std::vector<std::uint8_t> andMask(stride * size, 0xFF), xorMask(stride * size, 0x00);
  auto pixel = [&](int x, int y, bool white) {
    andMask[static_cast<std::size_t>(y * stride + x / 8)] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
    if (white) xorMask[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  };
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x <= y && x < 8; ++x) pixel(x, y, x > 0 && x < y && y < 11);
  for (int bit = 0; bit < 5; ++bit) {
    const bool on = (n >> bit) & 1;
    for (int dy = 0; dy < 2; ++dy)
      for (int dx = 0; dx < 2; ++dx) pixel(12 + bit * 3 + dx, 14 + dy, on);
  }
  return CreateCursor(nullptr, 0, 0, size, size, andMask.data(), xorMask.data());
}

std::vector<HCURSOR>& Cursors() {
  static std::vector<HCURSOR> cursors;
  return cursors;
}

}  // namespace

const TTavStartupFlags& TavStartupFlags() {
  InitTavUtilities();
  return flags;
}

TTavRoutines& TavRoutines() {
  InitTavUtilities();
  return routines;
}

void InitTavUtilities() {
  static std::once_flag once;
  std::call_once(once, [] {
    ReadVersion();
    ReadProcessor();
    flags.Set = true;
    routines = TTavRoutines{DoNothing,
                            ReturnZero,
                            Swap<std::uint16_t>,
                            Swap<std::uint32_t>,
                            Swap<std::uint32_t>,
                            Min,
                            Max,
                            Clamp,
                            ClampEither,
                            InRange,
                            InRangeEither,
                            AddTo,
                            FillBytes,
                            FillPattern,
                            MoveBytes,
                            CompareBytes};
    RegisterIntegerConsts(TypeInfo_TTavDeviceId, IdentToTavDeviceId, TavDeviceIdToIdent);
    for (int i = 0; i < kTavCursorCount; ++i) Cursors().push_back(MakeCursor(i));
  });
  // The screen object may come later than the first control (or be made anew): give it the
  // cursors whenever it lacks them.
  if (Screen && Screen->Cursors(kTavFirstCursor) != Cursors()[0])
    for (int i = 0; i < kTavCursorCount; ++i)
      Screen->SetCursors(kTavFirstCursor + i, Cursors()[static_cast<std::size_t>(i)]);
}
