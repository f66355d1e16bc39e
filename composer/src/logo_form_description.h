#pragma once
// The stored form description of Tarnquill's window. The layout is ours: the tabs at the left,
// the viewer with an 8:5 inner area (320 x 200) at the right, the buttons below it.

inline constexpr const char* kLogoFormDescription = R"(object fmLogo: TfmLogo
  Left = 186
  Top = 108
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsDialog
  Caption = 'Tarnquill'
  ClientHeight = 294
  ClientWidth = 592
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  Font.Style = []
  OnCreate = FormCreate
  object Pages: TPageControl
    Left = 4
    Top = 4
    Width = 252
    Height = 286
    ActivePage = tsJoke
    TabOrder = 0
    object tsJoke: TTabSheet
      Caption = 'Joke'
      object laJokeFile: TLabel
        Left = 4
        Top = 6
        Width = 236
        Height = 14
        Alignment = taCenter
        AutoSize = False
      end
      object Lista: TZevFileListBox
        Left = 4
        Top = 24
        Width = 236
        Height = 200
        ItemHeight = 18
        Mask = '*.txt'
        TabOrder = 0
        OnClick = ListaClick
        OnMouseUp = ListaMouseUp
      end
      object btSelect: ToxButton
        Left = 82
        Top = 230
        Width = 80
        Height = 24
        Caption = 'Select'
        TabOrder = 1
        OnClick = btSelectClick
        Style = bsAmbrel
        Font3D = fsInset
        FocusStyle = [fsBoldFont]
        TextX = 0
        TextY = 0
        Background.Style = oxbSolid
        Font.Color = clNavy
        Font.Height = -11
        Font.Name = 'Arial'
      end
    end
    object tsBack: TTabSheet
      Caption = 'Back'
      object rgBackground: TRadioGroup
        Left = 4
        Top = 4
        Width = 110
        Height = 84
        ItemIndex = 0
        Items.Strings = (
          'Single'
          'Degraded'
          'Bitmap')
        TabOrder = 0
        OnClick = rgBackgroundClick
      end
      object cbSingleColor: TTavColorButton
        Left = 124
        Top = 12
        Width = 112
        Height = 25
        TabOrder = 1
        Value = clBlue
        OnChange = BackChange
      end
      object cbFromColor: TTavColorButton
        Left = 124
        Top = 12
        Width = 112
        Height = 25
        TabOrder = 2
        Value = clBlue
        Visible = False
        OnChange = BackChange
      end
      object cbToColor: TTavColorButton
        Left = 124
        Top = 44
        Width = 112
        Height = 25
        TabOrder = 3
        Value = clBlack
        Visible = False
        OnChange = BackChange
      end
      object btBitmap: ToxButton
        Left = 4
        Top = 100
        Width = 236
        Height = 24
        TabOrder = 4
        Visible = False
        OnClick = btBitmapClick
        Style = bsAmbrel
        Font3D = fsInset
        FocusStyle = [fsBoldFont]
        TextX = 0
        TextY = 0
        Background.Style = oxbSolid
        Font.Color = clNavy
        Font.Height = -11
        Font.Name = 'Arial'
      end
      object cbTiled: TCheckBox
        Left = 4
        Top = 132
        Width = 97
        Height = 17
        Caption = 'Tiled'
        TabOrder = 5
        Visible = False
        OnClick = BackChange
      end
    end
    object tsQ: TTabSheet
      Caption = 'Q'
      object laFirstFont: TLabel
        Left = 4
        Top = 4
        Caption = 'Font Name'
      end
      object FirstFont: TZevFontComboBox
        Left = 4
        Top = 20
        Width = 164
        Height = 22
        TabOrder = 0
        FontName = 'Arial'
        OnChange = TextChange
      end
      object laFirstSize: TLabel
        Left = 176
        Top = 4
        Caption = 'Font Size'
      end
      object seFirst: TSpinEdit
        Left = 176
        Top = 20
        Width = 60
        Height = 22
        MaxValue = 124
        MinValue = 8
        TabOrder = 1
        Value = 24
        OnChange = TextChange
      end
      object laFirstColor: TLabel
        Left = 4
        Top = 50
        Caption = 'Font Color'
      end
      object FirstFontColor: TTavColorButton
        Left = 4
        Top = 66
        Width = 112
        Height = 25
        TabOrder = 2
        Value = clYellow
        OnChange = TextChange
      end
      object cbFirstBold: TCheckBox
        Left = 132
        Top = 62
        Width = 100
        Height = 17
        Caption = 'Bold'
        TabOrder = 3
        OnClick = TextChange
      end
      object cbFirstItalic: TCheckBox
        Left = 132
        Top = 82
        Width = 100
        Height = 17
        Caption = 'Italic'
        TabOrder = 4
        OnClick = TextChange
      end
      object rgFirstEffect: TRadioGroup
        Left = 4
        Top = 100
        Width = 120
        Height = 84
        Caption = 'Text Effect'
        ItemIndex = 0
        Items.Strings = (
          'Nothing'
          'Shadow'
          '3D')
        TabOrder = 5
        OnClick = rgFirstEffectClick
      end
      object cbFirstShadowColor: TTavColorButton
        Left = 132
        Top = 136
        Width = 104
        Height = 25
        TabOrder = 6
        Value = clBlack
        Visible = False
        OnChange = TextChange
      end
      object laFirstDefault: TLabel
        Left = 4
        Top = 196
        Caption = 'Default question:'
      end
      object edFirst: TEdit
        Left = 4
        Top = 212
        Width = 236
        Height = 21
        TabOrder = 7
        Text = 'This is the default question'
      end
    end
    object tsA: TTabSheet
      Caption = 'A'
      object laLastFont: TLabel
        Left = 4
        Top = 4
        Caption = 'Font Name'
      end
      object LastFont: TZevFontComboBox
        Left = 4
        Top = 20
        Width = 164
        Height = 22
        TabOrder = 0
        FontName = 'Arial'
        OnChange = TextChange
      end
      object laLastSize: TLabel
        Left = 176
        Top = 4
        Caption = 'Font Size'
      end
      object seLast: TSpinEdit
        Left = 176
        Top = 20
        Width = 60
        Height = 22
        MaxValue = 124
        MinValue = 8
        TabOrder = 1
        Value = 16
        OnChange = TextChange
      end
      object laLastColor: TLabel
        Left = 4
        Top = 50
        Caption = 'Font Color'
      end
      object LastFontColor: TTavColorButton
        Left = 4
        Top = 66
        Width = 112
        Height = 25
        TabOrder = 2
        Value = clRed
        OnChange = TextChange
      end
      object cbLastBold: TCheckBox
        Left = 132
        Top = 62
        Width = 100
        Height = 17
        Caption = 'Bold'
        TabOrder = 3
        OnClick = TextChange
      end
      object cbLastItalic: TCheckBox
        Left = 132
        Top = 82
        Width = 100
        Height = 17
        Caption = 'Italic'
        TabOrder = 4
        OnClick = TextChange
      end
      object rgLastEffect: TRadioGroup
        Left = 4
        Top = 100
        Width = 120
        Height = 84
        Caption = 'Text Effect'
        ItemIndex = 0
        Items.Strings = (
          'Nothing'
          'Shadow'
          '3D')
        TabOrder = 5
        OnClick = rgLastEffectClick
      end
      object cbLastShadowColor: TTavColorButton
        Left = 132
        Top = 136
        Width = 104
        Height = 25
        TabOrder = 6
        Value = clBlack
        Visible = False
        OnChange = TextChange
      end
      object laLastDefault: TLabel
        Left = 4
        Top = 196
        Caption = 'Default answer:'
      end
      object edLast: TEdit
        Left = 4
        Top = 212
        Width = 236
        Height = 21
        TabOrder = 7
        Text = 'This is the default answer'
      end
    end
    object tsAnimation: TTabSheet
      Caption = 'Animation'
      object laAnimation: TLabel
        Left = 4
        Top = 10
        Caption = 'Number of colors:'
      end
      object seAnimation: TSpinEdit
        Left = 140
        Top = 6
        Width = 60
        Height = 22
        MaxValue = 32
        MinValue = 4
        TabOrder = 0
        Value = 4
        OnChange = AnimationChange
      end
      object laSections: TLabel
        Left = 4
        Top = 42
        Caption = 'Number of sections:'
      end
      object seSections: TSpinEdit
        Left = 140
        Top = 38
        Width = 60
        Height = 22
        MaxValue = 64
        MinValue = 4
        TabOrder = 1
        Value = 4
        OnChange = AnimationChange
      end
      object laStartColor: TLabel
        Left = 4
        Top = 78
        Caption = 'Starting Color:'
      end
      object StartColor: TTavColorButton
        Left = 100
        Top = 72
        Width = 112
        Height = 25
        TabOrder = 2
        Value = clBlue
        OnChange = AnimationChange
      end
      object laEndColor: TLabel
        Left = 4
        Top = 110
        Caption = 'Ending Color:'
      end
      object EndColor: TTavColorButton
        Left = 100
        Top = 104
        Width = 112
        Height = 25
        TabOrder = 3
        Value = clNavy
        OnChange = AnimationChange
      end
    end
    object tsAbout: TTabSheet
      Caption = 'About'
      object ZevLabel1: TZevLabel
        Left = 4
        Top = 20
        Width = 236
        Height = 40
        Alignment = taCenter
        AutoSize = False
        Caption = 'Tarnquill'
        Font.Color = clNavy
        Font.Height = -24
        Font.Name = 'Arial'
        Font.Style = [fsBold]
      end
      object ZevLabel2: TZevLabel
        Left = 4
        Top = 66
        Width = 236
        Height = 26
        Alignment = taCenter
        AutoSize = False
        Caption = 'Version 1.0.1'
        Font.Height = -19
        Font.Name = 'Arial'
      end
      object Label4: TLabel
        Left = 4
        Top = 104
        Width = 236
        Height = 42
        Alignment = taCenter
        AutoSize = False
        Caption = 'Makes joke startup logos for Windows: a question, its answer and a moving colour bar.'
        WordWrap = True
      end
      object laURL: TLabel
        Left = 4
        Top = 160
        Width = 236
        Height = 14
        Alignment = taCenter
        AutoSize = False
        Caption = 'www.example.com/tarnquill'
        Cursor = crHandPoint
        Font.Color = clBlue
        Font.Height = -11
        Font.Name = 'Arial'
        Font.Style = [fsUnderline]
        OnClick = laURLClick
      end
    end
  end
  object ZevPanel1: TZevPanel
    Left = 256
    Top = 4
    Width = 332
    Height = 212
    BorderInner = fsLowered
    BorderWidth = 2
    BevelWidth = 2
    TabOrder = 1
    object Image: TPGImage
      Left = 6
      Top = 6
      Width = 320
      Height = 200
      Align = alClient
      BorderStyle = bsNone
      ActionMode = amNone
      KeepOldPaintPixelGraphic = True
      Stretch = sAlways
      StretchMode = smMedium
      PicBoxColor = clBtnFace
      Progress5Clocks = False
      ProgressClockVisible = False
      ShowHourGlass = False
    end
  end
  object btLogo: ToxButton
    Left = 260
    Top = 218
    Width = 161
    Height = 22
    Caption = 'Save logo now'
    TabOrder = 2
    OnClick = btLogoClick
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    TextX = 0
    TextY = 0
    Background.Style = oxbSolid
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
  end
  object btPreview: ToxButton
    Left = 427
    Top = 218
    Width = 161
    Height = 22
    Caption = 'Full Screen Preview'
    TabOrder = 3
    OnClick = btPreviewClick
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    TextX = 0
    TextY = 0
    Background.Style = oxbSolid
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
  end
  object btAnimation: ToxButton
    Left = 260
    Top = 244
    Width = 161
    Height = 22
    Caption = 'Show palette animation'
    TabOrder = 4
    OnClick = btAnimationClick
    ButtonType = oxbToggle
    GroupAllowNoSel = True
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    TextX = 0
    TextY = 0
    Background.Style = oxbSolid
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
  end
  object btStartup: ToxButton
    Left = 427
    Top = 244
    Width = 161
    Height = 22
    Caption = 'Install in Startup Group'
    TabOrder = 5
    OnClick = btStartupClick
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    TextX = 0
    TextY = 0
    Background.Style = oxbSolid
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
  end
  object btSave: ToxButton
    Left = 260
    Top = 270
    Width = 161
    Height = 22
    Caption = 'Save changes and exit'
    TabOrder = 6
    OnClick = btSaveClick
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    TextX = 0
    TextY = 0
    Background.Style = oxbSolid
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
  end
  object btCancel: ToxButton
    Left = 427
    Top = 270
    Width = 78
    Height = 22
    Caption = 'Cancel'
    TabOrder = 7
    OnClick = btCancelClick
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    TextX = 0
    TextY = 0
    Background.Style = oxbSolid
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
  end
  object btHelp: ToxButton
    Left = 510
    Top = 270
    Width = 78
    Height = 22
    Caption = 'Help'
    TabOrder = 8
    OnClick = btHelpClick
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    TextX = 0
    TextY = 0
    Background.Style = oxbSolid
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
  end
  object dgOpen: TPGOpenDialog
    Filter = 'Image files|*.bmp; *.dib; *.jif; *.jpeg; *.jpg; *.pbm; *.pcx; *.pgm; *.png; *.ppm|BMP - Bitmap|*.bmp|DIB - Bitmap|*.dib|JIF - JPEG (JFIF compliant)|*.jif|JPEG - JPEG (JFIF compliant)|*.jpeg|JPG - JPEG (JFIF compliant)|*.jpg|PBM - Portable Bitmap|*.pbm|PCX - Paintbrush|*.pcx|PGM - Portable Graymap|*.pgm|PNG - Portable Network Graphics|*.png|PPM - Portable Pixelmap|*.ppm|All files|*.*'
    Title = 'Select a bitmap to use as background'
  end
  object Timer: TTimer
    Enabled = False
    Interval = 500
    OnTimer = TimerTimer
  end
  object PS: TPFormSettings
    CompanyName = 'Halvetra'
    SoftwareName = 'Tarnquill'
    SoftwareVersion = ''
    RegistryRootKey = prkLocalMachine
    FormSaveOpt = [pfsLeft, pfsTop]
    SaveLocation = pslUser
    MRULength = 0
    Settings = (
      '' 'laJokeFile.Caption' '' False
      '' 'rgBackground.ItemIndex' '' False
      '' 'cbSingleColor.Value' '' False
      '' 'cbFromColor.Value' '' False
      '' 'cbToColor.Value' '' False
      '' 'btBitmap.Caption' '' False
      '' 'cbTiled.Checked' '' False
      '' 'edFirst.Text' '' False
      '' 'edLast.Text' '' False
      '' 'FirstFont.FontName' '' False
      '' 'FirstFontColor.Value' '' False
      '' 'seFirst.Value' '' False
      '' 'seLast.Value' '' False
      '' 'rgFirstEffect.ItemIndex' '' False
      '' 'rgLastEffect.ItemIndex' '' False
      '' 'cbFirstShadowColor.Value' '' False
      '' 'cbLastShadowColor.Value' '' False
      '' 'cbFirstBold.Checked' '' False
      '' 'cbFirstItalic.Checked' '' False
      '' 'cbLastBold.Checked' '' False
      '' 'cbLastItalic.Checked' '' False
      '' 'LastFont.FontName' '' False
      '' 'LastFontColor.Value' '' False
      '' 'seAnimation.Value' '' False
      '' 'seSections.Value' '' False
      '' 'StartColor.Value' '' False
      '' 'EndColor.Value' '' False
      'LogoCheck' '' '' False)
  end
end
)";
