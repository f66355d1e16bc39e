// TScreen: the screen's size, the cursors, the hint font and the forms.
#include <algorithm>

#include "vcl/forms.h"

TScreen* Screen = new TScreen(nullptr);

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner), hintFont_(new TFont) {
  hintFont_->SetColor(clInfoText);
}

TScreen::~TScreen() { delete hintFont_; }

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

void TScreen::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  cursor_ = Value;
  ::SetCursor(Cursors(Value == crDefault ? crArrow : Value));
}

HCURSOR TScreen::Cursors(int Index) const {
  for (const auto& [index, handle] : cursors_)
    if (index == Index) return handle;
  struct TStock {
    TCursor Cursor;
    LPCSTR Id;
  };
  static const TStock stock[] = {
      {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},       {crIBeam, IDC_IBEAM},       {crSizeNESW, IDC_SIZENESW},
      {crSizeNS, IDC_SIZENS},     {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},     {crUpArrow, IDC_UPARROW},
      {crHourGlass, IDC_WAIT},    {crNo, IDC_NO},             {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
      {crHandPoint, IDC_HAND},    {crSizeAll, IDC_SIZEALL},   {crSQLWait, IDC_WAIT}};
  if (Index == crNone) return nullptr;
  for (const TStock& s : stock)
    if (s.Cursor == Index) return LoadCursorA(nullptr, s.Id);
  return LoadCursorA(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(int Index, HCURSOR Handle) {
  for (auto& entry : cursors_)
    if (entry.first == Index) {
      entry.second = Handle;
      return;
    }
  cursors_.emplace_back(Index, Handle);
}

void TScreen::AddForm(TCustomForm* Form) { forms_.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), Form), forms_.end());
  if (activeForm_ == Form) activeForm_ = nullptr;
}

const TClassInfo& TScreen::StaticClassInfo() {
  static const TClassInfo info("TScreen", &TComponent::StaticClassInfo());
  return info;
}
