// The window part of the graphic button: keyboard, Kind, transparent buttons, the properties it
// forwards to its face, and the published properties of the family.
#include "components/graphic_button.h"

#include "vcl/forms.h"
#include "vcl/scope_exit.h"

namespace {

struct TKindEntry {
  const char* Caption;
  TModalResult Result;
};
// By ToxBtnKind; bkCustom has no entry of its own.
constexpr TKindEntry kKinds[] = {{"", mrNone},    {"OK", mrOk},  {"&Cancel", mrCancel}, {"&Help", mrNone},
                                 {"&Yes", mrYes}, {"&No", mrNo}, {"&Close", mrNone}};

bool NeedsDefault(ToxBtnKind Kind) { return Kind == bkOK || Kind == bkYes; }
bool NeedsCancel(ToxBtnKind Kind) { return Kind == bkCancel || Kind == bkNo; }

}  // namespace

ToxCustomButton::ToxCustomButton(TComponent* AOwner) : TButton(AOwner) {
  // The face takes the mouse; the space bar and accelerators are handled here.
  SetStandardInput(false);
  face_ = new ToxCustomGraphicButton(this);
  face_->SetButton(this);
  face_->SetColor(Color());
  face_->SetParent(this);
  face_->SetAlign(alClient);
  face_->OnClick = [this](TObject*) { Click(); };
  face_->OnChange = [this](TObject*) {
    if (OnChange) OnChange(this);
  };
  face_->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
  };
  face_->OnMouseMove = [this](TObject*, TShiftState s, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, s, x, y);
  };
  face_->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
  };
  face_->OnMouseEnter = [this](TObject*) {
    if (OnMouseEnter) OnMouseEnter(this);
  };
  face_->OnMouseLeave = [this](TObject*) {
    if (OnMouseLeave) OnMouseLeave(this);
  };
  face_->Background()->OnChange = [this](TObject* sender) { BackgroundChanged(sender); };
  face_->SetFocusStyle({fsDefault, fsText});
  SetParentFont(false);
  Font()->SetColor(clBtnText);
}

ToxCustomButton::~ToxCustomButton() {
  ToxCustomGraphicButton* face = face_;
  face_ = nullptr;
  delete face;
}

bool ToxCustomButton::Transparent() const {
  return face_ && face_->Parent() != this && !ComponentState().Contains(csDesigning) &&
         face_->Background()->Style() == oxbClear;
}

int ToxCustomButton::Width() const { return Transparent() ? face_->TControl::Width() : TControl::Width(); }
int ToxCustomButton::Height() const { return Transparent() ? face_->TControl::Height() : TControl::Height(); }

void ToxCustomButton::BackgroundChanged(TObject*) {
  if (!face_ || moving_ || ComponentState().Contains(csDesigning)) return;
  TWinControl* parent = Parent();
  const bool clear = face_->Background()->Style() == oxbClear;
  moving_ = true;
  ScopeExit moved([this] { moving_ = false; });
  if (clear && parent && face_->Parent() != parent) {
    face_->SetAlign(Align());
    face_->SetBounds(Left(), Top(), TControl::Width(), TControl::Height());
    face_->SetParent(parent);
    TButton::SetBounds(Left(), Top(), 0, 0);
  } else if (!clear && parent && face_->Parent() == parent) {
    TButton::SetBounds(face_->Left(), face_->Top(), face_->TControl::Width(), face_->TControl::Height());
    face_->SetParent(this);
    face_->SetAlign(alClient);
  }
}

void ToxCustomButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!moving_ && Transparent()) {
    face_->Background()->SetStyle(oxbSolid);
    if (AWidth == 0) AWidth = TControl::Width();
    if (AHeight == 0) AHeight = TControl::Height();
    TButton::SetBounds(ALeft, ATop, AWidth, AHeight);
    face_->Background()->SetStyle(oxbClear);
    return;
  }
  TButton::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void ToxCustomButton::Invalidate() {
  TButton::Invalidate();
  if (Transparent()) face_->Invalidate();
}

void ToxCustomButton::Loaded() {
  TButton::Loaded();
  face_->SetCaption(Caption());
  BackgroundChanged(this);
}

void ToxCustomButton::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.WinClassName = ClassName();
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProcA;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  Params.WindowClass.hbrBackground = nullptr;
}

void ToxCustomButton::DefineProperties(TFiler* Filer) {
  TButton::DefineProperties(Filer);
  // Older descriptions carry these on the button itself; their values are read and dropped.
  auto skip = [](TReader* reader) { reader->SkipValue(); };
  Filer->DefineProperty("TransparentColor", skip, nullptr, false);
  Filer->DefineProperty("DitherDown", skip, nullptr, false);
}

// ---- Kind -----------------------------------------------------------------------------------
ToxBtnKind ToxCustomButton::Kind() {
  if (kind_ == bkCustom) return kind_;
  const TKindEntry& e = kKinds[kind_];
  if ((NeedsDefault(kind_) && !Default()) || (NeedsCancel(kind_) && !Cancel()) || Caption() != e.Caption ||
      ModalResult() != e.Result)
    kind_ = bkCustom;
  return kind_;
}

void ToxCustomButton::SetKind(ToxBtnKind Value) {
  if (kind_ == Value) return;
  if (Value != bkCustom) {
    SetDefault(NeedsDefault(Value));
    SetCancel(NeedsCancel(Value));
    SetCaption(kKinds[Value].Caption);
    SetModalResult(kKinds[Value].Result);
  }
  kind_ = Value;
  face_->InvalidateImages();
}

void ToxCustomButton::Click() {
  const ToxBtnKind kind = Kind();
  if (kind == bkHelp) {
    for (TControl* c = this; c; c = c->Parent())
      if (c->HelpContext() != 0) {
        Application->HelpContext(c->HelpContext());
        return;
      }
  } else if (kind == bkClose) {
    if (TCustomForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  }
  TButton::Click();
}

// ---- Keyboard and focus ----------------------------------------------------------------------
void ToxCustomButton::Press() {
  switch (face_->ButtonType()) {
    case oxbToggle:
      Toggle();
      Click();
      break;
    case oxbMenu:
      face_->SetDrawState(ToxCustomGraphicButton::dsPressed);
      face_->DropDown();
      face_->SetDrawState(ToxCustomGraphicButton::dsUp);
      break;
    default: Click(); break;
  }
}

void ToxCustomButton::KeyDown(WORD& Key, TShiftState Shift) {
  TButton::KeyDown(Key, Shift);
  if (Key != VK_SPACE || spaceHeld_) return;
  spaceHeld_ = true;
  face_->SetDrawState(ToxCustomGraphicButton::dsPressed);
  if (face_->ButtonType() == oxbMenu) {
    face_->DropDown();
    face_->SetDrawState(ToxCustomGraphicButton::dsUp);
    spaceHeld_ = false;
  }
}

void ToxCustomButton::KeyPress(char& Key) {
  TButton::KeyPress(Key);
  if (face_->ButtonType() == oxbRepeat && Key == ' ' && spaceHeld_) Click();
}

void ToxCustomButton::KeyUp(WORD& Key, TShiftState Shift) {
  TButton::KeyUp(Key, Shift);
  if (Key != VK_SPACE || !spaceHeld_) return;
  spaceHeld_ = false;
  face_->drawState_ = ToxCustomGraphicButton::dsUp;
  if (face_->ButtonType() == oxbToggle) Toggle();
  face_->Repaint();
  face_->Click();
}

void ToxCustomButton::DoEnter() {
  TButton::DoEnter();
  face_->SetFocusedLook(true);
}

void ToxCustomButton::DoExit() {
  TButton::DoExit();
  face_->SetFocusedLook(false);
}

void ToxCustomButton::SetButtonStyle(bool ADefault) { face_->SetActiveLook(ADefault); }

// ---- Messages -------------------------------------------------------------------------------
void ToxCustomButton::CopyToFace(UINT Msg) {
  switch (Msg) {
    case CM_TEXTCHANGED: face_->SetCaption(Caption()); break;
    case CM_COLORCHANGED: face_->SetColor(Color()); break;
    case CM_FONTCHANGED: face_->SetFont(Font()); break;
    case CM_ENABLEDCHANGED: face_->SetEnabled(Enabled()); break;
    case CM_VISIBLECHANGED: face_->SetVisible(Visible()); break;
    case CM_SHOWHINTCHANGED: face_->SetShowHint(ShowHint()); break;
    case CM_CURSORCHANGED: face_->SetCursor(Cursor()); break;
    default: break;
  }
}

void ToxCustomButton::WndProc(TMessage& Message) {
  if (!face_) return TButton::WndProc(Message);
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
        Press();
        Message.Result = 1;
        return;
      }
      break;
    case CM_DIALOGKEY: {
      TWMKey key(Message);
      const bool pressed = (key.CharCode == VK_RETURN && face_->ActiveLook()) ||
                           (key.CharCode == VK_ESCAPE && Cancel());
      const TShiftState shift = KeyDataToShiftState(key.KeyData);
      if (pressed && !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt) && CanFocus()) {
        Press();
        Message.Result = 1;
        return;
      }
      break;
    }
    case CM_BUTTONPRESSED: face_->Perform(Message.Msg, Message.WParam, Message.LParam); return;
    default: break;
  }
  TButton::WndProc(Message);
  CopyToFace(Message.Msg);
}

// ---- Published properties -------------------------------------------------------------------
const TTypeInfo TypeInfo_ToxBtnStyle{
    "ToxBtnStyle",
    tkEnumeration,
    {"bsAuto", "bsWin31", "bsWin95", "bsInset", "bsAmbrel", "bsSpeed", "bsWin97", "bsBorderless", "bsShaped"}};
const TTypeInfo TypeInfo_ToxFont3D{
    "ToxFont3D", tkEnumeration, {"fsNone", "fsNormal", "fsRaised", "fsInset", "fsRidged", "fsGrooved", "fsShadow"}};
const TTypeInfo TypeInfo_TFocusStyle{"TFocusStyle", tkSet, {"fsDefault", "fsText", "fsOutline", "fsBoldFont"}};
const TTypeInfo TypeInfo_ToxButtonType{
    "ToxButtonType", tkEnumeration, {"oxbCommand", "oxbToggle", "oxbRepeat", "oxbMenu"}};
const TTypeInfo TypeInfo_ToxbOptions{"ToxbOptions", tkSet, {"oxbCacheImages", "oxbUsePalette", "oxbSmallIcons"}};
const TTypeInfo TypeInfo_ToxBtnKind{
    "ToxBtnKind", tkEnumeration, {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose"}};

namespace {

// The look and behaviour properties that the face and the window part both publish.
template <class C>
std::vector<TPropInfo> FaceProperties() {
  return {
      OrdProperty<C>("ButtonType", TypeInfo_ToxButtonType, &C::ButtonType, &C::SetButtonType),
      OrdProperty<C>("Style", TypeInfo_ToxBtnStyle, &C::Style, &C::SetStyle),
      OrdProperty<C>("Font3D", TypeInfo_ToxFont3D, &C::Font3D, &C::SetFont3D,
                     static_cast<std::int64_t>(ToxFont3D::fsNormal)),
      OrdProperty<C>("FocusStyle", TypeInfo_TFocusStyle, &C::FocusStyle, &C::SetFocusStyle,
                     TFocusStyle{fsDefault, fsText}.Bits()),
      OrdProperty<C>("MultiLine", TypeInfo_Boolean, &C::MultiLine, &C::SetMultiLine),
      ObjectProperty<C, TStrings>("Lines", &C::Lines, &C::SetLines),
      OrdProperty<C>("TextAngle", TypeInfo_Integer, &C::TextAngle, &C::SetTextAngle),
      OrdProperty<C>("TextX", TypeInfo_Integer, &C::TextX, &C::SetTextX, -5),
      OrdProperty<C>("TextY", TypeInfo_Integer, &C::TextY, &C::SetTextY, -5),
      ObjectProperty<C, TPicture>("PictureUp", &C::PictureUp, &C::SetPictureUp),
      ObjectProperty<C, TPicture>("PictureDown", &C::PictureDown, &C::SetPictureDown),
      ObjectProperty<C, TPicture>("PictureDisabled", &C::PictureDisabled, &C::SetPictureDisabled),
      OrdProperty<C>("PictureX", TypeInfo_Integer, &C::PictureX, &C::SetPictureX, 1),
      OrdProperty<C>("PictureY", TypeInfo_Integer, &C::PictureY, &C::SetPictureY, 1),
      OrdProperty<C>("ShadowColor", TypeInfo_TColor, &C::ShadowColor, &C::SetShadowColor, clGray),
      OrdProperty<C>("Options", TypeInfo_ToxbOptions, &C::Options, &C::SetOptions, ToxbOptions{oxbCacheImages}.Bits()),
      ObjectProperty<C, ToxBackground>("Background", &C::Background, &C::SetBackground),
      OrdProperty<C>("Value", TypeInfo_Boolean, &C::Value, &C::SetValue),
      OrdProperty<C>("Group", TypeInfo_Integer, &C::Group, &C::SetGroup),
      OrdProperty<C>("GroupAllowNoSel", TypeInfo_Boolean, &C::GroupAllowNoSel, &C::SetGroupAllowNoSel),
      OrdProperty<C>("Delay", TypeInfo_Integer, &C::Delay, &C::SetDelay, 200),
      OrdProperty<C>("InitDelay", TypeInfo_Integer, &C::InitDelay, &C::SetInitDelay, 400),
      OrdProperty<C>("ParentFont", TypeInfo_Boolean, &C::ParentFont, &C::SetParentFont, false),
      EventProperty<C>("OnChange", TypeInfo_TNotifyEvent, &C::OnChange),
      EventProperty<C>("OnMouseEnter", TypeInfo_TNotifyEvent, &C::OnMouseEnter),
      EventProperty<C>("OnMouseLeave", TypeInfo_TNotifyEvent, &C::OnMouseLeave)};
}

std::vector<TPropInfo> ButtonProperties() {
  using C = ToxButton;
  std::vector<TPropInfo> props = FaceProperties<C>();
  std::vector<TPropInfo> own = {
      OrdProperty<C>("Kind", TypeInfo_ToxBtnKind, &C::Kind, &C::SetKind, bkCustom),
      OrdProperty<C>("Width", TypeInfo_Integer, &C::Width, &C::SetWidth),
      OrdProperty<C>("Height", TypeInfo_Integer, &C::Height, &C::SetHeight),
      StrProperty<C>("Hint", &C::Hint,
                     [](C& button, const std::string& hint) {
                       button.SetHint(hint);
                       button.Face()->SetHint(hint);
                     }),
      OrdProperty<C>("ParentCtl3D", TypeInfo_Boolean, &C::ParentCtl3D, &C::SetParentCtl3D, true)};
  props.insert(props.end(), own.begin(), own.end());
  return props;
}

}  // namespace

const TClassInfo& ToxCustomGraphicButton::StaticClassInfo() {
  static const TClassInfo info("ToxCustomGraphicButton", &TGraphicControl::StaticClassInfo(),
                               FaceProperties<ToxCustomGraphicButton>(), {}, CreateComponent<ToxCustomGraphicButton>);
  return info;
}

const TClassInfo& ToxCustomButton::StaticClassInfo() {
  static const TClassInfo info("ToxCustomButton", &TButton::StaticClassInfo());
  return info;
}

const TClassInfo& ToxButton::StaticClassInfo() {
  static const TClassInfo info("ToxButton", &ToxCustomButton::StaticClassInfo(), ButtonProperties(), {},
                               CreateComponent<ToxButton>);
  return info;
}

const TClassInfo& TCaptionStrings::StaticClassInfo() {
  static const TClassInfo info("TCaptionStrings", &TStrings::StaticClassInfo());
  return info;
}

[[maybe_unused]] static const bool graphicButtonsRegistered =
    (RegisterClass(ToxButton::StaticClassInfo()), RegisterClass(ToxCustomGraphicButton::StaticClassInfo()), true);
