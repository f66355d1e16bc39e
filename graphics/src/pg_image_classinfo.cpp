// The published properties and events of the image viewer and its paint box, for form
// descriptions and the settings store.
#include "graphics/pg_image.h"
#include "vcl/menus.h"

namespace {

const std::vector<std::string> kPaletteIdentNames = {
    "pNone",       "pTrueColor",  "pUnknown",    "pBlackWhite",        "pSysGray4",
    "pSys16",      "pGray4",      "pGray16",     "pGray236",           "pGray256",
    "pSpecial125", "pSpecial216", "pSpecial252", "pOptimized252Sys16", "pSource"};

}  // namespace

const TTypeInfo TypeInfo_TStretch{
    "TStretch",
    tkEnumeration,
    {"sNeverKAR", "sAlways", "sAlwaysKAR", "sShrink", "sShrinkKAR", "sEnlarge", "sEnlargeKAR", "sAlwaysLongerEdgeKAR",
     "sShrinkLongerEdgeKAR", "sEnlargeShrinkLongerEdgeKAR", "sEnlargeLongerEdgeKAR", "sZoomKAR"}};
const TTypeInfo TypeInfo_TTiling{
    "TTiling", tkEnumeration, {"tNone", "tRepeat", "tMirrorHorizontal", "tMirrorVertical", "tMirror"}};
const TTypeInfo TypeInfo_TActionMode{
    "TActionMode",
    tkEnumeration,
    {"amMoveImage", "amMoveResizeCreateSelection", "amMoveSelection", "amMoveSelectionMoveImage", "amNone"}};
const TTypeInfo TypeInfo_TStretchMode{"TStretchMode", tkEnumeration, {"smFast", "smMedium", "smPrecise"}};
const TTypeInfo TypeInfo_TPGWarningAction{
    "TPGWarningAction", tkEnumeration, {"pgwaIgnore", "pgwaOKBox", "pgwaOKCancelBox", "pgwaRaise"}};
const TTypeInfo TypeInfo_TPalette8BitSys24BitGraphic{"TPalette8BitSys24BitGraphic", tkEnumeration, kPaletteIdentNames};
const TTypeInfo TypeInfo_TPalette8BitSys8BitGraphic{"TPalette8BitSys8BitGraphic", tkEnumeration, kPaletteIdentNames};
const TTypeInfo TypeInfo_TPGINewAutoSizeEvent{"TPGINewAutoSizeEvent", tkMethod};
const TTypeInfo TypeInfo_TPGSetCursorEvent{"TPGSetCursorEvent", tkMethod};
const TTypeInfo TypeInfo_TPGProgressEvent{"TPGProgressEvent", tkMethod};

const TClassInfo& TPicBox::StaticClassInfo() {
  static const TClassInfo info("TPicBox", &TPaintBox::StaticClassInfo());
  return info;
}

const TClassInfo& TPGImage::StaticClassInfo() {
  using C = TPGImage;
  static const TClassInfo info(
      "TPGImage", &TScrollBox::StaticClassInfo(),
      {OrdProperty<C>("ActionMode", TypeInfo_TActionMode, &C::ActionMode, &C::SetActionMode, amMoveImage),
       OrdProperty<C>("Allow24BitStretch", TypeInfo_Boolean, &C::Allow24BitStretch, &C::SetAllow24BitStretch, false),
       OrdProperty<C>("AutoSize", TypeInfo_Boolean, &C::AutoSize, &C::SetAutoSize, false),
       OrdProperty<C>("AutoSizeMaxHeight", TypeInfo_Integer, &C::AutoSizeMaxHeight, &C::SetAutoSizeMaxHeight,
                      2147483647),
       OrdProperty<C>("AutoSizeMaxWidth", TypeInfo_Integer, &C::AutoSizeMaxWidth, &C::SetAutoSizeMaxWidth, 2147483647),
       OrdProperty<C>("AutoSizeMinHeight", TypeInfo_Integer, &C::AutoSizeMinHeight, &C::SetAutoSizeMinHeight, 0),
       OrdProperty<C>("AutoSizeMinWidth", TypeInfo_Integer, &C::AutoSizeMinWidth, &C::SetAutoSizeMinWidth, 0),
       OrdProperty<C>("BackGroundColor", TypeInfo_Integer, &C::BackGroundColor, &C::SetBackGroundColor, 0),
       OrdProperty<C>("Center", TypeInfo_Boolean, &C::Center, &C::SetCenter, false),
       OrdProperty<C>("Dither", TypeInfo_Boolean, &C::Dither, &C::SetDither, true),
       OrdProperty<C>("DitherErrorLimit", TypeInfo_Integer, &C::DitherErrorLimit, &C::SetDitherErrorLimit, 32),
       OrdProperty<C>("DitherErrorLimitAuto", TypeInfo_Boolean, &C::DitherErrorLimitAuto, &C::SetDitherErrorLimitAuto,
                      true),
       OrdProperty<C>("DitherErrorLimitSoft", TypeInfo_Boolean, &C::DitherErrorLimitSoft, &C::SetDitherErrorLimitSoft,
                      true),
       StrProperty<C>("FileName", &C::FileName, &C::SetFileName),
       OrdProperty<C>("FlipHorizontal", TypeInfo_Boolean, &C::FlipHorizontal, &C::SetFlipHorizontal, false),
       OrdProperty<C>("FlipVertical", TypeInfo_Boolean, &C::FlipVertical, &C::SetFlipVertical, false),
       OrdProperty<C>("KeepOldPaintPixelGraphic", TypeInfo_Boolean, &C::KeepOldPaintPixelGraphic,
                      &C::SetKeepOldPaintPixelGraphic, false),
       OrdProperty<C>("Palette8BitSys24BitGraphic", TypeInfo_TPalette8BitSys24BitGraphic,
                      &C::Palette8BitSys24BitGraphic, &C::SetPalette8BitSys24BitGraphic, pOptimized252Sys16),
       OrdProperty<C>("Palette8BitSys8BitGraphic", TypeInfo_TPalette8BitSys8BitGraphic, &C::Palette8BitSys8BitGraphic,
                      &C::SetPalette8BitSys8BitGraphic, pOptimized252Sys16),
       OrdProperty<C>("PicBoxFrameColor", TypeInfo_TColor, &C::PicBoxFrameColor, &C::SetPicBoxFrameColor, clBtnShadow),
       OrdProperty<C>("Progress5Clocks", TypeInfo_Boolean, &C::Progress5Clocks, &C::SetProgress5Clocks, true),
       OrdProperty<C>("ProgressClockBkColor", TypeInfo_TColor, &C::ProgressClockBkColor, &C::SetProgressClockBkColor,
                      clBtnFace),
       OrdProperty<C>("ProgressClockLineColor", TypeInfo_TColor, &C::ProgressClockLineColor,
                      &C::SetProgressClockLineColor, clBtnShadow),
       OrdProperty<C>("ProgressClockVisible", TypeInfo_Boolean, &C::ProgressClockVisible, &C::SetProgressClockVisible,
                      true),
       OrdProperty<C>("RGBWeighting", TypeInfo_Boolean, &C::RGBWeighting, &C::SetRGBWeighting, true),
       OrdProperty<C>("ReadWarningAction", TypeInfo_TPGWarningAction, &C::ReadWarningAction, &C::SetReadWarningAction,
                      pgwaOKCancelBox),
       OrdProperty<C>("RearrangeAlways", TypeInfo_Boolean, &C::RearrangeAlways, &C::SetRearrangeAlways, false),
       OrdProperty<C>("ReduceOnLoad", TypeInfo_Boolean, &C::ReduceOnLoad, &C::SetReduceOnLoad, false),
       OrdProperty<C>("SaveColorResWarningAction", TypeInfo_TPGWarningAction, &C::SaveColorResWarningAction,
                      &C::SetSaveColorResWarningAction, pgwaOKCancelBox),
       OrdProperty<C>("Selection", TypeInfo_Boolean, &C::Selection, &C::SetSelection, false),
       OrdProperty<C>("SelectionColor1", TypeInfo_TColor, &C::SelectionColor1, &C::SetSelectionColor1, 0xFFFFFF),
       OrdProperty<C>("SelectionColor2", TypeInfo_TColor, &C::SelectionColor2, &C::SetSelectionColor2, 0x0000FF),
       OrdProperty<C>("SelectionLeft", TypeInfo_Integer, &C::SelectionLeft, &C::SetSelectionLeft, 0),
       OrdProperty<C>("SelectionTop", TypeInfo_Integer, &C::SelectionTop, &C::SetSelectionTop, 0),
       OrdProperty<C>("SelectionWidth", TypeInfo_Integer, &C::SelectionWidth, &C::SetSelectionWidth, 1),
       OrdProperty<C>("SelectionHeight", TypeInfo_Integer, &C::SelectionHeight, &C::SetSelectionHeight, 1),
       OrdProperty<C>("ShowHourGlass", TypeInfo_Boolean, &C::ShowHourGlass, &C::SetShowHourGlass, true),
       OrdProperty<C>("Stretch", TypeInfo_TStretch, &C::Stretch, &C::SetStretch, sNeverKAR),
       OrdProperty<C>("StretchMode", TypeInfo_TStretchMode, &C::StretchMode, &C::SetStretchMode, smFast),
       OrdProperty<C>("Tiling", TypeInfo_TTiling, &C::Tiling, &C::SetTiling, tNone),
       OrdProperty<C>("UseThread", TypeInfo_Boolean, &C::UseThread, &C::SetUseThread, true),
       FloatProperty<C>("ZoomFactor", TypeInfo_Extended, &C::ZoomFactor, &C::SetZoomFactor),
       // Forwarded to the paint box; no default is stored.
       OrdProperty<C>("PicBoxColor", TypeInfo_TColor, &C::PicBoxColor, &C::SetPicBoxColor),
       OrdProperty<C>("PicBoxCursor", TypeInfo_TCursor, &C::PicBoxCursor, &C::SetPicBoxCursor),
       OrdProperty<C>("PicBoxDragCursor", TypeInfo_TCursor, &C::PicBoxDragCursor, &C::SetPicBoxDragCursor),
       OrdProperty<C>("PicBoxDragMode", TypeInfo_TDragMode, &C::PicBoxDragMode, &C::SetPicBoxDragMode),
       StrProperty<C>("PicBoxHint", &C::PicBoxHint, &C::SetPicBoxHint),
       OrdProperty<C>("PicBoxParentColor", TypeInfo_Boolean, &C::PicBoxParentColor, &C::SetPicBoxParentColor),
       OrdProperty<C>("PicBoxParentShowHint", TypeInfo_Boolean, &C::PicBoxParentShowHint, &C::SetPicBoxParentShowHint),
       ObjectProperty<C, TPopupMenu>("PicBoxPopupMenu", &C::PicBoxPopupMenu, &C::SetPicBoxPopupMenu),
       OrdProperty<C>("PicBoxShowHint", TypeInfo_Boolean, &C::PicBoxShowHint, &C::SetPicBoxShowHint),
       OrdProperty<C>("PicBoxTag", TypeInfo_Integer, &C::PicBoxTag, &C::SetPicBoxTag),
       EventProperty<C>("PicBoxOnClick", TypeInfo_TNotifyEvent, &C::SetPicBoxOnClick),
       EventProperty<C>("PicBoxOnDblClick", TypeInfo_TNotifyEvent, &C::SetPicBoxOnDblClick),
       EventProperty<C>("PicBoxOnDragDrop", TypeInfo_TDragDropEvent, &C::SetPicBoxOnDragDrop),
       EventProperty<C>("PicBoxOnDragOver", TypeInfo_TDragOverEvent, &C::SetPicBoxOnDragOver),
       EventProperty<C>("PicBoxOnEndDrag", TypeInfo_TEndDragEvent, &C::SetPicBoxOnEndDrag),
       EventProperty<C>("PicBoxOnStartDrag", TypeInfo_TStartDragEvent, &C::SetPicBoxOnStartDrag),
       EventProperty<C>("PicBoxOnMouseDown", TypeInfo_TMouseEvent, &C::SetPicBoxOnMouseDown),
       EventProperty<C>("PicBoxOnMouseMove", TypeInfo_TMouseMoveEvent, &C::SetPicBoxOnMouseMove),
       EventProperty<C>("PicBoxOnMouseUp", TypeInfo_TMouseEvent, &C::SetPicBoxOnMouseUp),
       EventProperty<C>("PicBoxOnPaint", TypeInfo_TNotifyEvent, &C::SetPicBoxOnPaint),
       EventProperty<C>("PicBoxOnSetCursor", TypeInfo_TPGSetCursorEvent, &C::PicBoxOnSetCursor),
       EventProperty<C>("OnNewAutoSize", TypeInfo_TPGINewAutoSizeEvent, &C::OnNewAutoSize),
       EventProperty<C>("OnPaint", TypeInfo_TNotifyEvent, &C::OnPaint),
       EventProperty<C>("OnPainting", TypeInfo_TNotifyEvent, &C::OnPainting),
       EventProperty<C>("OnPixelGraphicChange", TypeInfo_TNotifyEvent, &C::OnPixelGraphicChange),
       EventProperty<C>("OnPixelGraphicProgress", TypeInfo_TPGProgressEvent, &C::OnPixelGraphicProgress),
       EventProperty<C>("OnPixelGraphicProgressEnd", TypeInfo_TNotifyEvent, &C::OnPixelGraphicProgressEnd),
       EventProperty<C>("OnPixelGraphicProgressStart", TypeInfo_TNotifyEvent, &C::OnPixelGraphicProgressStart),
       EventProperty<C>("OnSelectionChange", TypeInfo_TNotifyEvent, &C::OnSelectionChange),
       EventProperty<C>("OnSelectionMade", TypeInfo_TNotifyEvent, &C::OnSelectionMade),
       EventProperty<C>("OnSetCursor", TypeInfo_TPGSetCursorEvent, &C::OnSetCursor),
       EventProperty<C>("OnZoomFactorChange", TypeInfo_TNotifyEvent, &C::OnZoomFactorChange)},
      {}, CreateComponent<TPGImage>);
  return info;
}

[[maybe_unused]] static const bool pgImageRegistered =
    (RegisterClass(TPicBox::StaticClassInfo()), RegisterClass(TPGImage::StaticClassInfo()), true);
