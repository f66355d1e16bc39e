#include "corvane/about_form.h"

#include "corvane_form_data.h"
#include "slots/about_texts.h"
#include "vcl/formtext.h"
#include "vcl/typinfo.h"
#include "vcl/sysutils.h"
#include "win32/gdi.h"
#include "win32/user.h"

TFAbout* FAbout = nullptr;

namespace {

constexpr const char* kDescription = R"(object FAbout: TFAbout
  Left = 150
  Top = 70
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'About..'
  Height = 427
  Width = 435
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnCreate = FormCreate
  object AnimGIF1: TAnimGIF
    Left = 0
    Top = 0
    Width = 427
    Height = 400
    Animate = False
    Data = {@ABOUTDATA@}
  end
  object Label1: TLabel
    Left = 8
    Top = 20
    Width = 411
    Height = 19
    Alignment = taCenter
    AutoSize = False
    Caption = 'Corvane v2.0 keeps your three Windows logos.'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWhite
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label2: TLabel
    Left = 8
    Top = 236
    Width = 411
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'This program is free: use it and give it away as you like.'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWhite
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label3: TLabel
    Left = 8
    Top = 256
    Width = 411
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Comments, ideas and bug reports are always welcome.'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWhite
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Label4: TLabel
    Left = 8
    Top = 276
    Width = 411
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Please let us know what you think of it.'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWhite
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
    Transparent = True
  end
  object Panel1: TPanel
    Left = 8
    Top = 48
    Width = 284
    Height = 58
    BevelOuter = bvLowered
    TabOrder = 0
    object Label5: TLabel
      Left = 6
      Top = 6
      Width = 128
      Height = 13
      Caption = 'Current screen resolution: '
    end
    object lbRes: TLabel
      Left = 134
      Top = 6
      Width = 144
      Height = 13
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      ParentFont = False
    end
    object Panel2: TPanel
      Left = 6
      Top = 23
      Width = 272
      Height = 3
      BevelOuter = bvLowered
      TabOrder = 0
    end
    object lbWarning: TLabel
      Left = 6
      Top = 28
      Width = 272
      Height = 26
      Alignment = taCenter
      AutoSize = False
      WordWrap = True
    end
  end
  object btBack: TBitBtn
    Left = 322
    Top = 112
    Width = 96
    Height = 26
    Caption = 'Back'
    TabOrder = 1
    OnClick = btBackClick
    Glyph.Data = {@BACKGLYPH@}
    NumGlyphs = 2
  end
end
)";

}  // namespace

TFAbout::~TFAbout() {
  if (FAbout == this) FAbout = nullptr;
}

TFAbout::TFAbout(TComponent* AOwner) : TForm(AOwner) {
  const std::string text =
      StringReplaceEach(kDescription, {{"@ABOUTDATA@", kData_about_gif}, {"@BACKGLYPH@", kData_glyph_back_bmp}});
  ReadComponentText(text, this,
                    {FormField("AnimGIF1", AnimGIF1), FormField("Label1", Label1), FormField("Label2", Label2),
                     FormField("Label3", Label3), FormField("Label4", Label4), FormField("Panel1", Panel1),
                     FormField("Label5", Label5), FormField("lbRes", lbRes), FormField("lbWarning", lbWarning),
                     FormField("Panel2", Panel2), FormField("btBack", btBack)});
}

void TFAbout::FormCreate(TObject*) {
  HDC dc = GetDC(Handle());
  const int bits = GetDeviceCaps(dc, BITSPIXEL);
  const int width = GetDeviceCaps(dc, HORZRES), height = GetDeviceCaps(dc, VERTRES);
  ReleaseDC(Handle(), dc);
  lbRes->SetCaption(AboutResolutionText(bits, width, height));
  lbWarning->SetCaption(AboutWarningText(bits));
}

void TFAbout::btBackClick(TObject*) { Close(); }

const TClassInfo& TFAbout::StaticClassInfo() {
  static const TClassInfo info(
      "TFAbout", &TForm::StaticClassInfo(), {},
      {Handler<TFAbout>("FormCreate", &TFAbout::FormCreate), Handler<TFAbout>("btBackClick", &TFAbout::btBackClick)});
  return info;
}
