#include "imaging/velmora.h"

#include "imaging/bitmap_rows.h"

const TTypeInfo TypeInfo_TNColors{"TNColors", tkEnumeration, {"nc8bit", "nc24bit"}};
const TTypeInfo TypeInfo_TProgressEvent{"TProgressEvent", tkMethod};
const TTypeInfo TypeInfo_TMsgLanguage{"TMsgLanguage", tkEnumeration, {"msEnglish", "msOther"}};
const TTypeInfo TypeInfo_TProcPreviewOptions{"TProcPreviewOptions", tkSet, {"prpoDefaultLockPreview"}};
const TTypeInfo TypeInfo_TIOPreviewOptions{"TIOPreviewOptions", tkSet, {"iopoDefaultLockPreview"}};

TVelmora::TVelmora(TComponent* AOwner)
    : TVelmoraView(AOwner), proc_(new TVelmoraProc(nullptr)), io_(new TVelmoraIO(nullptr)) {
  proc_->SetAttachedVelmora(this);
  proc_->AutoUndo = true;
  io_->SetAttachedVelmora(this);
}

// The parts go before the view they work on.
TVelmora::~TVelmora() {
  delete io_;
  delete proc_;
}

void TVelmora::SetNColors(TNColors) {
  Bitmap().SetPixelFormat(pf24bit);
  nColors_ = nc24bit;
}

void TVelmora::SetOnProgress(TProgressEvent Value) {
  proc_->OnProgress = Value;
  io_->OnProgress = Value;
}

void TVelmora::SetMsgLanguage(TMsgLanguage Value) {
  proc_->MsgLanguage = Value;
  io_->MsgLanguage = Value;
}

void TVelmora::SetPreviewFont(TFont* Value) {
  proc_->SetPreviewFont(Value);
  io_->SetPreviewFont(Value);
}

void TVelmora::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TVelmora*>(Source)) io_->AssignParams(other->io_);
  else if (auto* io = dynamic_cast<TVelmoraIO*>(Source))
    io_->AssignParams(io);
  TVelmoraView::Assign(Source);
}

const TClassInfo& TVelmoraView::StaticClassInfo() {
  using C = TVelmoraView;
  static const TClassInfo info(
      "TVelmoraView", &TCustomControl::StaticClassInfo(),
      {OrdProperty<C>("ScrollBars", TypeInfo_Boolean, &C::ScrollBars, &C::SetScrollBars, false),
       OrdProperty<C>("Background", TypeInfo_TColor, &C::Background, &C::SetBackground, 0),
       OrdProperty<C>("AnimatedSel", TypeInfo_Boolean, &C::AnimatedSel, &C::SetAnimatedSel, true),
       OrdProperty<C>("Center", TypeInfo_Boolean, &C::Center, &C::SetCenter, false),
       OrdProperty<C>("MouseInteract", TypeInfo_TVelmoraMouseInteract, &C::MouseInteract, &C::SetMouseInteract, 0),
       EventProperty<C>("OnViewChange", TypeInfo_TViewChangeEvent, &C::OnViewChange),
       EventProperty<C>("OnImageChange", TypeInfo_TNotifyEvent, &C::OnImageChange)},
      {}, CreateComponent<TVelmoraView>);
  return info;
}

const TClassInfo& TVelmora::StaticClassInfo() {
  using C = TVelmora;
  static const TClassInfo info(
      "TVelmora", &TVelmoraView::StaticClassInfo(),
      {OrdProperty<C>("AutoUndo", TypeInfo_Boolean, &C::AutoUndo, &C::SetAutoUndo, true),
       OrdProperty<C>("NColors", TypeInfo_TNColors, &C::NColors, &C::SetNColors, nc8bit),
       EventProperty<C>("OnProgress", TypeInfo_TProgressEvent, &C::SetOnProgress),
       OrdProperty<C>("MsgLanguage", TypeInfo_TMsgLanguage, &C::MsgLanguage, &C::SetMsgLanguage, msEnglish),
       OrdProperty<C>("ProcPreviewOptions", TypeInfo_TProcPreviewOptions, &C::ProcPreviewOptions,
                      &C::SetProcPreviewOptions, 0),
       OrdProperty<C>("IOPreviewOptions", TypeInfo_TIOPreviewOptions, &C::IOPreviewOptions, &C::SetIOPreviewOptions, 0),
       ObjectProperty<C, TFont>("PreviewFont", &C::PreviewFont, &C::SetPreviewFont),
       OrdProperty<C>("StreamHeaders", TypeInfo_Boolean, &C::StreamHeaders, &C::SetStreamHeaders, true)},
      {}, CreateComponent<TVelmora>);
  return info;
}

[[maybe_unused]] static const bool velmoraRegistered =
    (RegisterClass(TVelmoraView::StaticClassInfo()), RegisterClass(TVelmora::StaticClassInfo()), true);
