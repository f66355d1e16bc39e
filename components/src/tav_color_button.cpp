// The colour button, its face and its pop-up palette.
#include "components/tav_color_button.h"

#include "components/component_resources.h"
#include "vcl/buttons.h"
#include "rect_ops.h"

const std::array<TColor, TTavColorPopUp::kColorCount> TTavColorPopUp::kColors = {
    clWhite, clBlack, clSilver, clGray, clRed,     clMaroon, clYellow, clOlive,  clLime,   clGreen,
    clAqua,  clTeal,  clBlue,   clNavy, clFuchsia, clPurple, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0};

namespace {

constexpr int kRows = 5;
constexpr int kColumns = 4;
constexpr int kBoxRow = 5;
constexpr TRect kExtraButton{3, 95, 3 + 51, 95 + 18};
constexpr TRect kCurrentBox{54, 95, 54 + 18, 95 + 18};
constexpr int kSeparatorY = 91;
constexpr const char* kDefaultCaption = "&Other...";

TTavCustomColorButton* ColorButtonOf(TControl* Face) { return dynamic_cast<TTavCustomColorButton*>(Face->Parent()); }

// One pixel set, one skipped, from From towards To, stopping before To.
void DottedLine(TCanvas* Canvas, TPoint From, TPoint To, TColor Color) {
  const int dx = (To.x > From.x) - (To.x < From.x), dy = (To.y > From.y) - (To.y < From.y);
  for (TPoint p = From; p.x != To.x || p.y != To.y; p.x += dx, p.y += dy)
    if (((p.x - From.x) + (p.y - From.y)) % 2 == 0) Canvas->SetPixels(p.x, p.y, Color);
}

}  // namespace

// ---- Face --------------------------------------------------------------------------------------
void TTavColorSpeedButton::Paint() {
  UpdateEnabledState();
  TTavCustomColorButton* button = ColorButtonOf(this);
  const bool designing = ComponentState().Contains(csDesigning);
  TCanvas* c = Canvas();
  c->SetFont(Font());
  const bool down = State() == bsDown || State() == bsExclusive;
  const bool focused = button && button->Focused();
  const TRect I = DrawButtonFace(c, {0, 0, Width(), Height()}, 1, bsAutoDetect, false, down, focused);
  const int g = Glyph() && !Glyph()->Empty() ? Glyph()->Width() + 2 : 0;
  const int cw = std::max(0, static_cast<int>(I.right - I.left) - g - 2);
  if (g > 0)
    ButtonGlyph()->Draw(c, {I.left + cw + 2, I.top, I.right, I.bottom}, Caption(), Layout(), Margin(), Spacing(),
                        State());
  if ((Enabled() || designing) && cw > 0 && button) {
    TRect swatch{I.left, I.top, I.left + cw, I.bottom};
    rect_ops::Inflate(swatch, -4, -2);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(button->Value());
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(1);
    c->Rectangle(swatch);
  }
  const int x = I.left + cw;
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(x, I.top + 2);
  c->LineTo(x, I.bottom - 2);
  c->Pen()->SetColor(clBtnHighlight);
  c->MoveTo(x + 1, I.top + 2);
  c->LineTo(x + 1, I.bottom - 2);
  if (focused) {
    TRect f{I.left, I.top, I.right - 1, I.bottom - 1};
    rect_ops::Inflate(f, -1, -1);
    const TColor color = button->FocusColor();
    DottedLine(c, {f.left, f.top}, {f.right, f.top}, color);
    DottedLine(c, {f.right, f.top}, {f.right, f.bottom}, color);
    DottedLine(c, {f.right, f.bottom}, {f.left, f.bottom}, color);
    DottedLine(c, {f.left, f.bottom}, {f.left, f.top}, color);
  }
}

const TClassInfo& TTavColorSpeedButton::StaticClassInfo() {
  static const TClassInfo info("TTavColorSpeedButton", &TTavSpeedButton::StaticClassInfo());
  return info;
}

// ---- Extra button ------------------------------------------------------------------------------
void TTavCustomButton::WndProc(TMessage& Message) {
  if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_ESCAPE && Parent()) {
    PostMessageA(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    return;
  }
  TButton::WndProc(Message);
  // The pop-up closes when its extra button loses the focus.
  if (Message.Msg == WM_KILLFOCUS)
    if (auto* popUp = dynamic_cast<TTavColorPopUp*>(Parent())) popUp->Close(false);
}

const TClassInfo& TTavCustomButton::StaticClassInfo() {
  static const TClassInfo info("TTavCustomButton", &TButton::StaticClassInfo());
  return info;
}

// ---- Pop-up ------------------------------------------------------------------------------------
TTavColorPopUp::TTavColorPopUp(TTavCustomColorButton* AOwner)
    : TTavCustomControl(AOwner), button_(AOwner), extra_(new TTavCustomButton(this)) {
  SetVisible(false);
  SetTabStop(true);
  extra_->SetBounds(kExtraButton.left, kExtraButton.top, kExtraButton.right - kExtraButton.left,
                    kExtraButton.bottom - kExtraButton.top);
  extra_->SetCaption("&Custom...");
  extra_->SetParent(this);
  extra_->OnClick = [this](TObject* Sender) { ExtraClick(Sender); };
}

void TTavColorPopUp::CreateParams(TCreateParams& Params) {
  TTavCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = button_->HandleAllocated() ? GetAncestor(button_->Handle(), GA_ROOT) : nullptr;
}

int TTavColorPopUp::HitTest(int X, int Y) const {
  // Points left of or above the palette are outside it (integer division alone would put a
  // point a few pixels left of the first column in it).
  if (X >= 0 && Y >= 0 && X / kCell < kColumns && Y / kCell < kRows) return X / kCell + kColumns * (Y / kCell);
  if (showCurrent_ && X >= kCurrentBox.left && X <= kCurrentBox.right && Y >= kCurrentBox.top &&
      Y <= kCurrentBox.bottom)
    return -1;
  return kNoHit;
}

void TTavColorPopUp::Open() {
  disabled_ = DisableTaskWindows(Handle());
  Show();
  ::SetFocus(Handle());
  shown_ = true;
  colors_ = kColors;
  selected_ = -1;
  const COLORREF value = ColorToRGB(button_->Value());
  for (int i = 0; i < kColorCount; ++i)
    if (ColorToRGB(colors_[static_cast<size_t>(i)]) == value) {
      selected_ = i;
      break;
    }
  showCurrent_ = button_->ShowCurrent() || selected_ == -1;
  extra_->SetCaption(button_->ButtonCaption());
  SetCapture(Handle());
  Invalidate();
}

void TTavColorPopUp::Close(bool Accept) {
  if (!shown_) return;
  // Cleared first: hiding moves the focus, which would close again.
  shown_ = false;
  EnableTaskWindows(disabled_);
  disabled_.clear();
  if (GetCapture() == Handle()) ReleaseCapture();
  Hide();
  if (button_->CanFocus()) button_->SetFocus();
  if (Accept && selected_ != -1) button_->SetValue(colors_[static_cast<size_t>(selected_)]);
}

void TTavColorPopUp::Select(int Index) {
  selected_ = Index;
  Invalidate();
}

void TTavColorPopUp::ExtraClick(TObject*) {
  Close(false);
  PostMessageA(button_->Handle(), TTavCustomColorButton::kOpenDialogMessage, 0, 0);
}

bool TTavColorPopUp::IsOwnWindow(HWND Window) {
  return Window && HandleAllocated() && (Window == Handle() || IsChild(Handle(), Window));
}

void TTavColorPopUp::HandleMouseDown(int X, int Y) {
  if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height()) {
    if (X >= extra_->Left() && X <= extra_->Left() + extra_->Width() && Y >= extra_->Top() &&
        Y <= extra_->Top() + extra_->Height())
      extra_->Click();
    return;
  }
  Close(false);
}

void TTavColorPopUp::MoveSelection(WORD Key) {
  int row = 0, column = 0;
  if (selected_ == -1) {
    if (!showCurrent_) return;
    row = kBoxRow;
    column = 3;
  } else {
    row = selected_ / kColumns;
    column = selected_ % kColumns;
  }
  switch (Key) {
    case VK_HOME:
      row = 0;
      column = 0;
      break;
    case VK_END:
      row = showCurrent_ ? kBoxRow : kRows - 1;
      column = 3;
      break;
    case VK_LEFT: column = std::max(0, column - 1); break;
    case VK_RIGHT: column = std::min(3, column + 1); break;
    case VK_UP: row = std::max(0, row - 1); break;
    case VK_DOWN:
      if (row < kRows - 1) ++row;
      else if (row == kRows - 1 && column == 3 && showCurrent_)
        row = kBoxRow;
      break;
    default: return;
  }
  // The box sits in column 3 of row 5; leaving it upwards or sideways lands in the cells.
  if (row == kBoxRow) {
    column = 3;
    Select(-1);
  } else {
    Select(row * kColumns + column);
  }
}

void TTavColorPopUp::HandleKey(WORD& Key) {
  switch (Key) {
    case VK_TAB: extra_->SetFocus(); break;
    case VK_ESCAPE: Close(false); break;
    case VK_RETURN: Close(true); break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END: MoveSelection(Key); break;
    default: return;
  }
  Key = 0;
}

void TTavColorPopUp::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      TWMMouse m(Message);
      if (m.XPos >= 0 && m.XPos <= Width() && m.YPos >= 0 && m.YPos <= Height()) {
        const int hit = HitTest(m.XPos, m.YPos);
        if (hit != kNoHit && hit != selected_) Select(hit);
      }
      return;
    }
    case WM_LBUTTONUP: {
      TWMMouse m(Message);
      const int hit = HitTest(m.XPos, m.YPos);
      if (hit != kNoHit) {
        Select(hit);
        Close(true);
      }
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      TWMMouse m(Message);
      HandleMouseDown(m.XPos, m.YPos);
      return;
    }
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS; return;
    case WM_KEYDOWN: {
      WORD key = static_cast<WORD>(Message.WParam);
      HandleKey(key);
      if (key == 0) return;
      break;
    }
    case WM_KILLFOCUS:
      if (shown_ && !IsOwnWindow(reinterpret_cast<HWND>(Message.WParam))) Close(false);
      break;
    case WM_CANCELMODE: Close(false); break;
    default: break;
  }
  TTavCustomControl::WndProc(Message);
}

void TTavColorPopUp::PaintCell(TCanvas* Canvas, const TRect& Cell, TColor Color, bool Highlighted) {
  TRect r = Cell;
  if (Highlighted) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetColor(clBlack);
    Canvas->Rectangle(r);
    rect_ops::Inflate(r, -1, -1);
    Canvas->Pen()->SetColor(clWhite);
    Canvas->Rectangle(r);
    rect_ops::Inflate(r, -1, -1);
    Canvas->Pen()->SetColor(clBlack);
    Canvas->Rectangle(r);
  } else {
    Frame3D(Canvas, r, clBtnFace, clBtnFace, 1);
    Frame3D(Canvas, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(Canvas, r, clBtnText, clBtnFace, 1);
  }
  TRect inner = Cell;
  rect_ops::Inflate(inner, -3, -3);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(inner);
}

void TTavColorPopUp::Paint() {
  TBitmap off;
  off.SetWidth(ClientWidth());
  off.SetHeight(ClientHeight());
  TCanvas* c = off.Canvas();
  c->Brush()->SetColor(clBtnFace);
  c->FillRect({0, 0, ClientWidth(), ClientHeight()});
  for (int i = 0; i < kColorCount; ++i) {
    const int x = kCell * (i % kColumns), y = kCell * (i / kColumns);
    PaintCell(c, {x, y, x + kCell, y + kCell}, colors_[static_cast<size_t>(i)], i == selected_);
  }
  if (showCurrent_) PaintCell(c, kCurrentBox, button_->Value(), selected_ == -1);
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(0, kSeparatorY);
  c->LineTo(ClientWidth(), kSeparatorY);
  c->Pen()->SetColor(clBtnHighlight);
  c->MoveTo(0, kSeparatorY + 1);
  c->LineTo(ClientWidth(), kSeparatorY + 1);
  Canvas()->Draw(0, 0, &off);
}

const TClassInfo& TTavColorPopUp::StaticClassInfo() {
  static const TClassInfo info("TTavColorPopUp", &TTavCustomControl::StaticClassInfo());
  return info;
}

// ---- Colour button -----------------------------------------------------------------------------
TTavCustomColorButton::TTavCustomColorButton(TComponent* AOwner)
    : TTavCustomControl(AOwner), face_(new TTavColorSpeedButton(this)), dialog_(new TColorDialog(this)) {
  RegisterComponentResources();
  face_->SetParent(this);
  face_->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
    if (CanFocus()) SetFocus();
  };
  face_->OnClick = [this](TObject*) { DropDown(); };
  dialog_->SetOptions({cdFullOpen});
  SetGlyph(nullptr);
  SetBounds(Left(), Top(), 43, 21);
  SetTabStop(true);
}

TTavCustomColorButton::~TTavCustomColorButton() {
  if (popUp_) popUp_->Close(false);
}

void TTavCustomColorButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TTavCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (face_) face_->SetBounds(0, 0, Width(), Height());
}

void TTavCustomColorButton::SetValue(TColor Value) {
  if (value_ == Value) return;
  value_ = Value;
  Invalidate();
  face_->Invalidate();
  Change();
}

void TTavCustomColorButton::Change() {
  if (!ComponentState().Contains(csLoading) && OnChange) OnChange(this);
}

void TTavCustomColorButton::SetButtonCaption(const std::string& Value) {
  const std::string caption = Value.empty() ? kDefaultCaption : Value;
  if (caption == buttonCaption_) return;
  buttonCaption_ = caption;
  if (popUp_ && popUp_->Shown()) popUp_->ExtraButton()->SetCaption(caption);
}

void TTavCustomColorButton::SetFocusColor(TColor Value) {
  if (focusColor_ == Value) return;
  focusColor_ = Value;
  Repaint();
}

void TTavCustomColorButton::SetGlyph(TBitmap* Value) {
  if (Value) return face_->SetGlyph(Value);
  TBitmap arrow;
  arrow.LoadFromResourceName(nullptr, "BM_CLRBTNDOWN");
  face_->SetGlyph(&arrow);
}

void TTavCustomColorButton::DropDown() {
  if (!popUp_) popUp_ = new TTavColorPopUp(this);
  if (popUp_->Shown()) return;
  // The frame is known once the window exists; a window smaller than its frame reports no client
  // area, so the first pass only makes room for the second.
  popUp_->HandleNeeded();
  for (int pass = 0; pass < 2; ++pass) {
    popUp_->SetClientWidth(TTavColorPopUp::kClientWidth);
    popUp_->SetClientHeight(TTavColorPopUp::kClientHeight);
  }
  TPoint p = ClientToScreen({0, Height()});
  popUp_->SetLeft(p.x);
  if (Screen && Screen->Height() < popUp_->Height() + p.y) p.y = p.y - popUp_->Height() - Height();
  popUp_->SetTop(p.y);
  popUp_->Open();
}

void TTavCustomColorButton::OpenDialog() {
  dialog_->SetColor(value_);
  if (dialog_->Execute()) SetValue(dialog_->Color());
}

void TTavCustomColorButton::KeyDown(WORD& Key, TShiftState Shift) {
  TTavCustomControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE) {
    Key = 0;
    DropDown();
  }
}

void TTavCustomColorButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case kOpenDialogMessage: OpenDialog(); return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      face_->Invalidate();
      break;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTCHARS; return;
    case CM_ENABLEDCHANGED: face_->SetEnabled(Enabled()); break;
    default: break;
  }
  TTavCustomControl::WndProc(Message);
}

const TClassInfo& TTavCustomColorButton::StaticClassInfo() {
  using C = TTavCustomColorButton;
  static const TClassInfo info(
      "TTavCustomColorButton", &TTavCustomControl::StaticClassInfo(),
      {OrdProperty<C>("Value", TypeInfo_TColor, &C::Value, &C::SetValue, clBlack),
       EventProperty<C>("OnChange", TypeInfo_TNotifyEvent, &C::OnChange),
       StrProperty<C>("ButtonCaption", &C::ButtonCaption, &C::SetButtonCaption),
       OrdProperty<C>("ShowCurrent", TypeInfo_Boolean, &C::ShowCurrent, &C::SetShowCurrent, false),
       OrdProperty<C>("FocusColor", TypeInfo_TColor, &C::FocusColor, &C::SetFocusColor, clBlack),
       ObjectProperty<C, TBitmap>("Glyph", &C::Glyph, &C::SetGlyph),
       OrdProperty<C>("NumGlyphs", TypeInfo_Integer, &C::NumGlyphs, &C::SetNumGlyphs, 1),
       ObjectProperty<C, TStrings>("CustomColors", &C::CustomColors, &C::SetCustomColors)});
  return info;
}

const TClassInfo& TTavColorButton::StaticClassInfo() {
  static const TClassInfo info("TTavColorButton", &TTavCustomColorButton::StaticClassInfo(), {}, {},
                               CreateComponent<TTavColorButton>);
  return info;
}

[[maybe_unused]] static const bool colorButtonRegistered = (RegisterClass(TTavColorButton::StaticClassInfo()), true);
