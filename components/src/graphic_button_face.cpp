// The face of a graphic button: its look properties, the mouse, toggle groups, auto-repeat and
// the drop-down. Painting is in graphic_button_paint.cpp.
#include <algorithm>

#include "components/graphic_button.h"
#include "vcl/forms.h"
#include "win32/kernel.h"

namespace {

int faceCount = 0;
// Set while the auto-repeat pictures are exchanged, so a release puts them back.
bool pictureSwapParity = false;

}  // namespace

ToxCustomGraphicButton::ToxCustomGraphicButton(TComponent* AOwner)
    : TGraphicControl(AOwner),
      lines_(new TCaptionStrings(this)),
      background_(new ToxBackground(this)),
      pictureUp_(new TPicture),
      pictureDown_(new TPicture),
      pictureDisabled_(new TPicture) {
  SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
  SetBounds(0, 0, 25, 25);
  if (!IsDesigning()) cache_ = new TBitmap;
  ++faceCount;
  SetParentFont(false);
  Font()->SetColor(clBtnText);
  for (TPicture* p : {pictureUp_, pictureDown_, pictureDisabled_})
    p->OnChange = [this](TObject*) { InvalidateImages(); };
  Perform(WM_WINDOWPOSCHANGED, 0, 0);
}

ToxCustomGraphicButton::~ToxCustomGraphicButton() {
  delete lines_;
  lines_ = nullptr;
  FreeRepeatTimer();
  if (--faceCount == 0) {
    FreeSharedDitherPattern();
    FreeSharedPopupList();
  }
  delete pictureUp_;
  delete pictureDown_;
  delete pictureDisabled_;
  delete background_;
  delete cache_;
  FreeMask();
}

void ToxCustomGraphicButton::SetButton(ToxCustomButton* Value) {
  button_ = Value;
  lines_->SetTarget(Value ? static_cast<TControl*>(Value) : this);
}

HPALETTE ToxCustomGraphicButton::GetPalette() {
  if (options_.Contains(oxbUsePalette))
    if (auto* bitmap = dynamic_cast<TBitmap*>(pictureUp_->Graphic())) return bitmap->Palette();
  return nullptr;
}

ToxBtnStyle ToxCustomGraphicButton::EffectiveStyle() const {
  if (style_ != ToxBtnStyle::bsAuto) return style_;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  const bool newLook = GetVersionExA(&version) && version.dwMajorVersion >= 4;
  return newLook ? ToxBtnStyle::bsWin95 : ToxBtnStyle::bsWin31;
}

// ---- Look properties ----------------------------------------------------------------------
void ToxCustomGraphicButton::InvalidateImages() {
  validSlots_ = 0;
  Invalidate();
}

void ToxCustomGraphicButton::LookChanged() { InvalidateImages(); }

void ToxCustomGraphicButton::SetStyle(ToxBtnStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetFont3D(ToxFont3D Value) {
  if (font3D_ == Value) return;
  font3D_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetFocusStyle(TFocusStyle Value) {
  if (focusStyle_ == Value) return;
  focusStyle_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetMultiLine(bool Value) {
  if (multiLine_ == Value) return;
  multiLine_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetLines(TStrings* Value) { lines_->Assign(Value); }

void ToxCustomGraphicButton::SetTextAngle(TAngleRange Value) {
  Value = std::min<TAngleRange>(Value, 360);
  if (textAngle_ == Value) return;
  textAngle_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetTextX(int Value) {
  if (textX_ == Value) return;
  textX_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetTextY(int Value) {
  if (textY_ == Value) return;
  textY_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetPictureUp(TPicture* Value) { pictureUp_->Assign(Value); }
void ToxCustomGraphicButton::SetPictureDown(TPicture* Value) { pictureDown_->Assign(Value); }
void ToxCustomGraphicButton::SetPictureDisabled(TPicture* Value) { pictureDisabled_->Assign(Value); }

void ToxCustomGraphicButton::SetPictureX(int Value) {
  if (pictureX_ == Value) return;
  pictureX_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetPictureY(int Value) {
  if (pictureY_ == Value) return;
  pictureY_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetShadowColor(TColor Value) {
  if (shadowColor_ == Value) return;
  shadowColor_ = Value;
  LookChanged();
}

void ToxCustomGraphicButton::SetOptions(ToxbOptions Value) {
  if (options_ == Value) return;
  options_ = Value;
  if (Value.Contains(oxbCacheImages) && !cache_ && !IsDesigning()) {
    cache_ = new TBitmap;
    ResizeCache();
  } else if (!Value.Contains(oxbCacheImages) && cache_) {
    delete cache_;
    cache_ = nullptr;
  }
  InvalidateImages();
}

void ToxCustomGraphicButton::SetBackground(ToxBackground* Value) { background_->Assign(Value); }

void ToxCustomGraphicButton::ResizeCache() {
  validSlots_ = 0;
  if (!cache_ || IsDesigning()) return;
  cache_->SetWidth(kSlotCount * TControl::Width());
  cache_->SetHeight(TControl::Height());
}

// ---- State ----------------------------------------------------------------------------------
void ToxCustomGraphicButton::SetDrawState(TDrawState Value) {
  if (drawState_ == Value) return;
  drawState_ = Value;
  Repaint();
}

void ToxCustomGraphicButton::SetFocusedLook(bool Value) {
  if (focused_ == Value) return;
  focused_ = Value;
  Invalidate();
}

void ToxCustomGraphicButton::SetActiveLook(bool Value) {
  if (active_ == Value) return;
  active_ = Value;
  Invalidate();
}

void ToxCustomGraphicButton::Change() {
  if (OnChange) OnChange(this);
}

void ToxCustomGraphicButton::SetValue(bool Value) {
  if (buttonType_ != oxbToggle) Value = false;
  if (value_ == Value) return;
  if (value_ && !groupAllowNoSel_) return;
  value_ = Value;
  Change();
  drawState_ = Value ? dsDown : dsUp;
  InvalidateImages();
  if (Value) AnnounceGroup();
}

void ToxCustomGraphicButton::SetGroup(int Value) {
  group_ = Value;
  AnnounceGroup();
}

void ToxCustomGraphicButton::SetGroupAllowNoSel(bool Value) {
  groupAllowNoSel_ = Value;
  AnnounceGroup();
}

void ToxCustomGraphicButton::AnnounceGroup() {
  if (buttonType_ != oxbToggle || !Parent()) return;
  TWinControl* parent = button_ && button_->Parent() ? button_->Parent() : Parent();
  TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(group_), reinterpret_cast<LPARAM>(this), 0};
  parent->Broadcast(m);
}

void ToxCustomGraphicButton::ButtonPressed(TMessage& Message) {
  TCMButtonPressed m(Message);
  auto* sender = dynamic_cast<ToxCustomGraphicButton*>(m.Control);
  if (m.Index != group_ || !sender || sender == this) return;
  if (sender->value_ && value_) {
    value_ = false;
    drawState_ = dsUp;
    InvalidateImages();
    Change();
  }
  groupAllowNoSel_ = sender->groupAllowNoSel_;
}

// ---- Mouse ----------------------------------------------------------------------------------
bool ToxCustomGraphicButton::HitTest(int X, int Y) {
  if (style_ == ToxBtnStyle::bsBorderless || style_ == ToxBtnStyle::bsShaped) {
    auto inside = [X, Y](const TRect& r) { return X >= r.left && X < r.right && Y >= r.top && Y < r.bottom; };
    return inside(pictureRect_) || (font3D_ != ToxFont3D::fsNone && inside(captionRect_));
  }
  return X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
}

void ToxCustomGraphicButton::MouseEnterLeave(bool Entering) {
  const bool hotStyle = style_ == ToxBtnStyle::bsWin97 || style_ == ToxBtnStyle::bsBorderless ||
                        style_ == ToxBtnStyle::bsShaped;
  if (hot_ != Entering && hotStyle && !tracking_ && Enabled()) {
    hot_ = Entering;
    Repaint();
  }
  const TNotifyEvent& event = Entering ? OnMouseEnter : OnMouseLeave;
  if (event) event(this);
}

void ToxCustomGraphicButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (button_ && Parent() != button_ && button_->CanFocus()) button_->SetFocus();
  if (Button != mbLeft || !Enabled() || !HitTest(X, Y)) return;
  drawState_ = dsPressed;
  Repaint();
  tracking_ = true;
  if (buttonType_ == oxbMenu) {
    SetMouseCapture(false);
    DropDown();
    drawState_ = dsUp;
    Repaint();
    tracking_ = false;
  } else if (buttonType_ == oxbRepeat) {
    if (!repeatTimer_) repeatTimer_ = new TTimer(nullptr);
    repeatTimer_->SetOnTimer([this](TObject* sender) { RepeatTick(sender); });
    repeatTimer_->SetInterval(initDelay_);
  }
}

void ToxCustomGraphicButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (tracking_) {
    SetDrawState(HitTest(X, Y) ? dsPressed : dsUp);
  } else if (style_ == ToxBtnStyle::bsBorderless) {
    const bool hot = HitTest(X, Y);
    if (hot != hot_) {
      hot_ = hot;
      Repaint();
    }
  }
}

void ToxCustomGraphicButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  FreeRepeatTimer();
  if (!tracking_) return;
  tracking_ = false;
  const bool clicked = HitTest(X, Y) && buttonType_ != oxbRepeat;
  drawState_ = dsUp;
  if (!clicked) hot_ = false;
  if (buttonType_ == oxbRepeat && pictureSwapParity) SwapPictures();
  if (buttonType_ == oxbToggle && clicked) {
    SetValue(!value_);
    Repaint();
  } else if (buttonType_ == oxbToggle) {
    if (value_) drawState_ = dsDown;
    Repaint();
  } else {
    Repaint();
  }
  if (clicked) Click();
}

// ---- Auto-repeat ----------------------------------------------------------------------------
void ToxCustomGraphicButton::RepeatTick(TObject*) {
  if (!repeatTimer_) return;
  repeatTimer_->SetInterval(delay_);
  if (drawState_ != dsPressed || !MouseCapture()) return;
  try {
    SwapPictures();
    Click();
  } catch (...) {
    // The timer is running this handler: stop it now and free it outside.
    repeatTimer_->SetEnabled(false);
    delete retiredTimer_;  // an earlier press's, whose release never came; it runs no more
    retiredTimer_ = repeatTimer_;
    repeatTimer_ = nullptr;
    throw;
  }
}

void ToxCustomGraphicButton::SwapPictures() {
  if (!pictureUp_->Graphic() || pictureUp_->Graphic()->Empty() || !pictureDown_->Graphic() ||
      pictureDown_->Graphic()->Empty())
    return;
  TPicture swap;
  swap.Assign(pictureUp_);
  pictureUp_->Assign(pictureDown_);
  pictureDown_->Assign(&swap);
  pictureSwapParity = !pictureSwapParity;
  InvalidateImages();
  Repaint();
}

void ToxCustomGraphicButton::FreeRepeatTimer() {
  delete repeatTimer_;
  repeatTimer_ = nullptr;
  delete retiredTimer_;
  retiredTimer_ = nullptr;
}

// ---- Drop-down ------------------------------------------------------------------------------
void ToxCustomGraphicButton::DropDown() {
  TPopupMenu* menu = button_ ? button_->PopupMenu() : PopupMenu();
  if (!menu) return;
  const TPoint at = ClientToScreen(TPoint{0, TControl::Height()});
  TPopupList* list = SharedPopupList();
  list->Clear();
  if (SameText(menu->ClassName(), "ToxPopupMenu")) {
    menu->Popup(-at.x, -at.y);
    return;
  }
  list->Add(menu);
  TrackPopupMenu(menu->Handle(), 0, at.x, at.y, 0, list->Window(), nullptr);
}

// ---- Messages -------------------------------------------------------------------------------
void ToxCustomGraphicButton::MirrorLeftButton(TMessage& Message) {
  if (button_) {
    TControlState s = button_->ControlState();
    if (Message.Msg == WM_LBUTTONUP) s.Exclude(csLButtonDown);
    else
      s.Include(csLButtonDown);
    button_->SetControlState(s);
  }
  // A double click is a second press.
  if (Message.Msg == WM_LBUTTONDBLCLK) Message.Msg = WM_LBUTTONDOWN;
}

void ToxCustomGraphicButton::CMHitTest(TMessage& Message) {
  TCMHitTest m(Message);
  m.Result = HitTest(m.XPos, m.YPos) ? HTCLIENT : HTNOWHERE;
}

void ToxCustomGraphicButton::CNDrawItem(TMessage& Message) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  DrawItem((item->itemState & ODS_SELECTED) != 0);
  Message.Result = 1;
}

void ToxCustomGraphicButton::CNMeasureItem(TMessage& Message) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  item->itemWidth = static_cast<UINT>(TControl::Width());
  item->itemHeight = static_cast<UINT>(TControl::Height());
  Message.Result = 1;
}

bool ToxCustomGraphicButton::AnswerAccelerator(TMessage& Message) {
  // A face on its own answers its accelerator; the window part does it for an owned one.
  if (button_ || !Enabled() || !IsAccel(Message.WParam, Caption())) return false;
  if (buttonType_ == oxbToggle) Toggle();
  Click();
  Message.Result = 1;
  return true;
}

void ToxCustomGraphicButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP: MirrorLeftButton(Message); break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: return MouseEnterLeave(Message.Msg == CM_MOUSEENTER);
    case CM_HITTEST: return CMHitTest(Message);
    case CM_BUTTONPRESSED: return ButtonPressed(Message);
    case CN_DRAWITEM: return CNDrawItem(Message);
    case CN_MEASUREITEM: return CNMeasureItem(Message);
    case CM_DIALOGCHAR:
      if (AnswerAccelerator(Message)) return;
      break;
    default: break;
  }
  TGraphicControl::WndProc(Message);
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
      ResizeCache();
      InvalidateImages();
      break;
    case WM_SIZE:
    case CM_PARENTFONTCHANGED:
    case CM_PARENTCOLORCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_CTL3DCHANGED:
    case CM_PARENTCTL3DCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE: InvalidateImages(); break;
    default: break;
  }
}
