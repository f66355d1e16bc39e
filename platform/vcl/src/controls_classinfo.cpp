// The published properties of the control classes, and the names of their types.
#include "vcl/controls.h"
#include "vcl/menus.h"

namespace {

struct TCursorName {
  TCursor Value;
  const char* Name;
};
constexpr TCursorName kCursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"}};

}  // namespace

bool IdentToCursor(const std::string& Ident, std::int64_t& Cursor) {
  for (const TCursorName& n : kCursorNames)
    if (SameText(n.Name, Ident)) return Cursor = n.Value, true;
  return false;
}

bool CursorToIdent(std::int64_t Cursor, std::string& Ident) {
  for (const TCursorName& n : kCursorNames)
    if (n.Value == Cursor) return Ident = n.Name, true;
  return false;
}

const TTypeInfo TypeInfo_TAlign{
    "TAlign", tkEnumeration, {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
const TTypeInfo TypeInfo_TCursor{"TCursor", tkInteger};
const TTypeInfo TypeInfo_TFormBorderStyle{
    "TFormBorderStyle",
    tkEnumeration,
    {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const TTypeInfo TypeInfo_TMouseEvent{"TMouseEvent", tkMethod};
const TTypeInfo TypeInfo_TMouseMoveEvent{"TMouseMoveEvent", tkMethod};
const TTypeInfo TypeInfo_TKeyEvent{"TKeyEvent", tkMethod};
const TTypeInfo TypeInfo_TKeyPressEvent{"TKeyPressEvent", tkMethod};
const TTypeInfo TypeInfo_TDragMode{"TDragMode", tkEnumeration, {"dmManual", "dmAutomatic"}};
const TTypeInfo TypeInfo_TDragDropEvent{"TDragDropEvent", tkMethod};
const TTypeInfo TypeInfo_TDragOverEvent{"TDragOverEvent", tkMethod};
const TTypeInfo TypeInfo_TEndDragEvent{"TEndDragEvent", tkMethod};
const TTypeInfo TypeInfo_TStartDragEvent{"TStartDragEvent", tkMethod};

[[maybe_unused]] static const bool cursorNamesRegistered =
    (RegisterIntegerConsts(TypeInfo_TCursor, IdentToCursor, CursorToIdent), true);

const TClassInfo& TControl::StaticClassInfo() {
  using C = TControl;
  static const TClassInfo info(
      "TControl", &TComponent::StaticClassInfo(),
      {OrdProperty<C>("Left", TypeInfo_Integer, &C::Left, &C::SetLeft),
       OrdProperty<C>("Top", TypeInfo_Integer, &C::Top, &C::SetTop),
       OrdProperty<C>("Width", TypeInfo_Integer, &C::Width, &C::SetWidth),
       OrdProperty<C>("Height", TypeInfo_Integer, &C::Height, &C::SetHeight),
       OrdProperty<C>("Align", TypeInfo_TAlign, &C::Align, &C::SetAlign, alNone),
       OrdProperty<C>("Visible", TypeInfo_Boolean, &C::Visible, &C::SetVisible, true),
       OrdProperty<C>("Enabled", TypeInfo_Boolean, &C::Enabled, &C::SetEnabled, true),
       OrdProperty<C>("Color", TypeInfo_TColor, &C::Color, &C::SetColor),
       OrdProperty<C>("ParentColor", TypeInfo_Boolean, &C::ParentColor, &C::SetParentColor),
       ObjectProperty<C, TFont>("Font", &C::Font, &C::SetFont),
       OrdProperty<C>("ParentFont", TypeInfo_Boolean, &C::ParentFont, &C::SetParentFont, true),
       OrdProperty<C>("Cursor", TypeInfo_TCursor, &C::Cursor, &C::SetCursor, crDefault),
       OrdProperty<C>("DragCursor", TypeInfo_TCursor, &C::DragCursor, &C::SetDragCursor, crDrag),
       OrdProperty<C>("DragMode", TypeInfo_TDragMode, &C::DragMode, &C::SetDragMode, dmManual),
       StrProperty<C>("Hint", &C::Hint, &C::SetHint),
       OrdProperty<C>("ShowHint", TypeInfo_Boolean, &C::ShowHint, &C::SetShowHint),
       OrdProperty<C>("ParentShowHint", TypeInfo_Boolean, &C::ParentShowHint, &C::SetParentShowHint, true),
       OrdProperty<C>("HelpContext", TypeInfo_Integer, &C::HelpContext, &C::SetHelpContext, 0),
       ObjectProperty<C, TPopupMenu>("PopupMenu", &C::PopupMenu, &C::SetPopupMenu),
       StrProperty<C>("Caption", &C::Caption, &C::SetCaption),
       StrProperty<C>("Text", &C::GetText, &C::SetText),
       EventProperty<C>("OnClick", TypeInfo_TNotifyEvent, &C::OnClick),
       EventProperty<C>("OnDblClick", TypeInfo_TNotifyEvent, &C::OnDblClick),
       EventProperty<C>("OnMouseDown", TypeInfo_TMouseEvent, &C::OnMouseDown),
       EventProperty<C>("OnMouseMove", TypeInfo_TMouseMoveEvent, &C::OnMouseMove),
       EventProperty<C>("OnMouseUp", TypeInfo_TMouseEvent, &C::OnMouseUp),
       EventProperty<C>("OnDragDrop", TypeInfo_TDragDropEvent, &C::OnDragDrop),
       EventProperty<C>("OnDragOver", TypeInfo_TDragOverEvent, &C::OnDragOver),
       EventProperty<C>("OnEndDrag", TypeInfo_TEndDragEvent, &C::OnEndDrag),
       EventProperty<C>("OnStartDrag", TypeInfo_TStartDragEvent, &C::OnStartDrag)});
  return info;
}

const TClassInfo& TWinControl::StaticClassInfo() {
  using C = TWinControl;
  static const TClassInfo info("TWinControl", &TControl::StaticClassInfo(),
                               {OrdProperty<C>("TabOrder", TypeInfo_Integer, &C::TabOrder, &C::SetTabOrder),
                                OrdProperty<C>("Ctl3D", TypeInfo_Boolean, &C::Ctl3D, &C::SetCtl3D, true),
                                OrdProperty<C>("TabStop", TypeInfo_Boolean, &C::TabStop, &C::SetTabStop, false),
                                EventProperty<C>("OnKeyDown", TypeInfo_TKeyEvent, &C::OnKeyDown),
                                EventProperty<C>("OnKeyPress", TypeInfo_TKeyPressEvent, &C::OnKeyPress),
                                EventProperty<C>("OnKeyUp", TypeInfo_TKeyEvent, &C::OnKeyUp),
                                EventProperty<C>("OnEnter", TypeInfo_TNotifyEvent, &C::OnEnter),
                                EventProperty<C>("OnExit", TypeInfo_TNotifyEvent, &C::OnExit)});
  return info;
}

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info("TGraphicControl", &TControl::StaticClassInfo());
  return info;
}

const TClassInfo& TCustomControl::StaticClassInfo() {
  static const TClassInfo info("TCustomControl", &TWinControl::StaticClassInfo());
  return info;
}

const TClassInfo& TControlCanvas::StaticClassInfo() {
  static const TClassInfo info("TControlCanvas", &TCanvas::StaticClassInfo());
  return info;
}
