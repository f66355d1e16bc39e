#include "corvane/view_form.h"

#include "vcl/formtext.h"
#include "vcl/typinfo.h"

TFView* FView = nullptr;

namespace {

constexpr const char* kDescription = R"(object FView: TFView
  Left = 270
  Top = 70
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'FullView'
  ClientHeight = 400
  ClientWidth = 320
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 320
    Height = 400
    Align = alClient
    Caption = 'No Logo Found ...'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
    TabOrder = 0
    object imView: TVelmora
      Left = 1
      Top = 1
      Width = 318
      Height = 398
      Align = alClient
      Background = clBtnFace
      Cursor = crUpArrow
      Hint = 'Click to close this window...'
      OnClick = imViewClick
    end
  end
end
)";

}  // namespace

TFView::~TFView() {
  if (FView == this) FView = nullptr;
}

TFView::TFView(TComponent* AOwner) : TForm(AOwner) {
  ReadComponentText(kDescription, this, {FormField("Panel1", Panel1), FormField("imView", imView)});
}

void TFView::imViewClick(TObject*) { Close(); }

const TClassInfo& TFView::StaticClassInfo() {
  static const TClassInfo info("TFView", &TForm::StaticClassInfo(), {},
                               {Handler<TFView>("imViewClick", &TFView::imViewClick)});
  return info;
}
