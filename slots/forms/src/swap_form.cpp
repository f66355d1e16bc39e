#include "corvane/swap_form.h"

#include "corvane/main_form.h"
#include "corvane/view_form.h"
#include "corvane_form_data.h"
#include "slots/slot_paths.h"
#include "slots/slot_settings.h"
#include "vcl/formtext.h"
#include "vcl/typinfo.h"
#include "vcl/sysutils.h"

TFSwap* FSwap = nullptr;

namespace {

constexpr const char* kDescription = R"(object FSwap: TFSwap
  Left = 200
  Top = 120
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'Swapping Logo'
  ClientHeight = 304
  ClientWidth = 467
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnClose = FormClose
  OnCreate = FormCreate
  OnShow = FormShow
  object Panel1: TPanel
    Left = 3
    Top = 4
    Width = 217
    Height = 271
    BevelOuter = bvLowered
    Color = clWindow
    TabOrder = 0
    object imPreview: TVelmora
      Left = 1
      Top = 1
      Width = 215
      Height = 269
      Align = alClient
      Background = clBtnFace
      Cursor = crVSplit
      Hint = 'Click to view resampled image of 320x400...'
      ShowHint = False
      OnClick = imPreviewClick
      OnProgress = imPreviewProgress
    end
  end
  object Label1: TLabel
    Left = 2
    Top = 276
    Width = 218
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object ProgressBar1: TProgressBar
    Left = 2
    Top = 291
    Width = 218
    Height = 10
    Min = 0
    Max = 100
    TabOrder = 1
  end
  object btCancel: TBitBtn
    Left = 224
    Top = 278
    Width = 120
    Height = 25
    Caption = 'Cancel'
    Cancel = True
    Default = True
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 2
    OnClick = btCancelClick
    Glyph.Data = {@CANCELGLYPH@}
    NumGlyphs = 2
  end
  object btOK: TBitBtn
    Left = 346
    Top = 278
    Width = 120
    Height = 25
    Caption = 'Okay'
    Default = True
    Enabled = False
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 3
    OnClick = btOKClick
    Glyph.Data = {@OKGLYPH@}
    NumGlyphs = 2
  end
  object Panel4: TPanel
    Left = 224
    Top = 4
    Width = 241
    Height = 271
    BorderStyle = bsSingle
    BorderWidth = 1
    TabOrder = 4
    object PageControl1: TPageControl
      Left = 4
      Top = 2
      Width = 229
      Height = 211
      ActivePage = tabFile
      HotTrack = True
      TabOrder = 0
      OnMouseMove = PageControl1MouseMove
      object tabDir: TTabSheet
        Caption = ' Directory '
        object lbDir: TDirectoryListBox
          Left = 0
          Top = 0
          Width = 221
          Height = 161
          FileList = lbFile
          ItemHeight = 16
          TabOrder = 0
        end
        object cbDrive: TDriveComboBox
          Left = 2
          Top = 162
          Width = 221
          Height = 19
          DirList = lbDir
          TabOrder = 1
        end
      end
      object tabFile: TTabSheet
        Caption = '   Files    '
        ImageIndex = 1
        object lbFile: TFileListBox
          Left = 0
          Top = 0
          Width = 221
          Height = 183
          Align = alClient
          FileEdit = edFile
          ItemHeight = 13
          TabOrder = 0
          OnChange = lbFileChange
          OnClick = lbFileClick
        end
      end
    end
    object edFile: TEdit
      Left = 4
      Top = 216
      Width = 228
      Height = 22
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'Arial'
      Font.Style = []
      ParentFont = False
      TabOrder = 1
      Text = '*.*'
    end
    object cbFilter: TFilterComboBox
      Left = 4
      Top = 241
      Width = 228
      Height = 22
      Filter = @FILTER@
      TabOrder = 2
      OnChange = cbFilterChange
    end
  end
  object tmLoad: TTimer
    Enabled = False
    Interval = 10
    OnTimer = tmLoadTimer
  end
  object tmSave: TTimer
    Enabled = False
    Interval = 10
    OnTimer = tmSaveTimer
  end
  object tmPreview: TTimer
    Enabled = False
    Interval = 10
    OnTimer = tmPreviewTimer
  end
end
)";

constexpr const char* kFilter =
    "'Jpeg (JPG)|*.jpg|Windows Bitmap (BMP)|*.bmp|PaintBrush (PCX)|*.pcx|CompuServe Bitmap (GIF)|*.gif|Tiff Bitmap "
    "(TIFF)|*.tif|Windows Metafile|*.wmf|Windows E-Metailfe|*.emf|Bitmap with SYS-extension|*.sys|All "
    "(JPG;BMP;PCX;GIF;TIF)|*.jpg;*.bmp;*.pcx;*.gif;*.tif;*.wmf;*.emf'";

std::string Description() {
  return StringReplaceEach(
      kDescription,
      {{"@CANCELGLYPH@", kData_glyph_cancel_bmp}, {"@OKGLYPH@", kData_glyph_ok_bmp}, {"@FILTER@", kFilter}});
}

const char kLoading[] = "L o a d i n g . . .", kSaving[] = "S a v i n g . . .",
           kResampling[] = "R e s a m p l i n g . . .";

}  // namespace

TFSwap::TFSwap(TComponent* AOwner) : TForm(AOwner) {
  ReadComponentText(Description(), this,
                    {FormField("Panel1", Panel1), FormField("imPreview", imPreview), FormField("Label1", Label1),
                     FormField("ProgressBar1", ProgressBar1), FormField("btCancel", btCancel), FormField("btOK", btOK),
                     FormField("Panel4", Panel4), FormField("PageControl1", PageControl1), FormField("tabDir", tabDir),
                     FormField("tabFile", tabFile), FormField("lbDir", lbDir), FormField("cbDrive", cbDrive),
                     FormField("lbFile", lbFile), FormField("edFile", edFile), FormField("cbFilter", cbFilter),
                     FormField("tmLoad", tmLoad), FormField("tmSave", tmSave), FormField("tmPreview", tmPreview)});
}

TFSwap::~TFSwap() {
  if (FSwap == this) FSwap = nullptr;
}

void TFSwap::FormCreate(TObject*) {
  // Attaches the preview to its reader and processor and clears it.
  picture_ = std::make_unique<TSwapPicture>(*imPreview, *imPreview->IO(), *imPreview->Proc());
}

void TFSwap::FormShow(TObject*) {
  ProgressBar1->SetPosition(0);
  lbDir->SetDirectory(UsableLastDir(FMain->LastUsedDir, FMain->StartDir));
  cbFilter->SetItemIndex(ClampFilterIndex(FMain->LastUsedIndex));
  lbFile->SetMask(cbFilter->Mask());
  const std::string label = picture_->Show();
  Label1->SetCaption(label);
  if (!picture_->CanSave()) {
    edFile->SetText(cbFilter->Mask());
    btOK->SetEnabled(false);
  } else {
    btOK->SetEnabled(true);
  }
}

void TFSwap::FormClose(TObject*, TCloseAction&) {
  FMain->LastUsedDir = lbFile->Directory();
  FMain->LastUsedIndex = cbFilter->ItemIndex();
  Label1->SetCaption(picture_->Closed(Label1->Caption()));
}

void TFSwap::cbFilterChange(TObject*) {
  lbFile->SetMask(cbFilter->Mask());
  if (!edFile->GetText().empty() && edFile->GetText()[0] == '*') edFile->SetText(cbFilter->Mask());
}

void TFSwap::lbFileChange(TObject*) {
  const std::string text = edFile->GetText();
  if (text.empty() || text[0] == '*') return;
  Label1->SetCaption(kLoading);
  tmLoad->SetEnabled(true);
}

void TFSwap::lbFileClick(TObject*) {
  if (lbFile->ItemIndex() != 0) return;
  edFile->SetText(lbFile->Items()->Get(0));
  lbFileChange(lbFile);
}

void TFSwap::tmLoadTimer(TObject*) {
  ProgressBar1->SetPosition(0);
  tmLoad->SetEnabled(false);
  // The full path, so that the save copies what was loaded whatever the edit holds by then.
  std::string name = edFile->GetText();
  if (name.find(':') == std::string::npos && name.rfind("\\", 0) != 0) name = JoinPath(lbFile->Directory(), name);
  const std::string label = picture_->Load(name);
  Label1->SetCaption(label);
  btOK->SetEnabled(picture_->CanSave());
  ProgressBar1->SetPosition(0);
}

void TFSwap::imPreviewClick(TObject*) {
  if (!picture_->CanSave()) return;  // only a loaded picture has a full size
  Label1->SetCaption(kResampling);
  tmPreview->SetEnabled(true);
}

void TFSwap::tmPreviewTimer(TObject*) {
  tmPreview->SetEnabled(false);
  ProgressBar1->SetPosition(0);
  std::string label;
  const bool shown = picture_->FullSize(FView->imView->Bitmap(), label);
  ProgressBar1->SetPosition(0);
  if (!shown) return;
  FView->imView->ImageChanged();
  Label1->SetCaption(label);
  FView->SetCaption("Image resampled to 320x400.");
  FView->SetLeft(FMain->Left() + 150);
  FView->SetTop(FMain->Top() - 20);
  FView->ShowModal();
}

void TFSwap::imPreviewProgress(TObject*, int per) { ProgressBar1->SetPosition(per); }

void TFSwap::btOKClick(TObject*) {
  Label1->SetCaption(kSaving);
  tmSave->SetEnabled(true);
}

void TFSwap::tmSaveTimer(TObject*) {
  tmSave->SetEnabled(false);
  Label1->SetCaption("");
  const std::string target = FMain->LogoPath(LogoKind);
  picture_->Save(target);  // a failure goes to the application's handler; the dialog stays
  FMain->LoadLogo(target, 1);
  FMain->Swapped(LogoKind);
  Close();
}

void TFSwap::btCancelClick(TObject*) {
  FMain->sbLogo->SetSimpleText("Swapping operation cancelled by user.");
  Close();
}

void TFSwap::PageControl1MouseMove(TObject*, TShiftState, int X, int Y) {
  const TSwapPage active = PageControl1->ActivePage() == tabDir ? spDirectory : spFiles;
  const TSwapPage page = HoverPage(X, Y, active);
  if (page != active) PageControl1->SetActivePage(page == spDirectory ? tabDir : tabFile);
}

const TClassInfo& TFSwap::StaticClassInfo() {
  using C = TFSwap;
  static const TClassInfo info(
      "TFSwap", &TForm::StaticClassInfo(), {},
      {Handler<C>("FormCreate", &C::FormCreate), Handler<C>("FormShow", &C::FormShow),
       Handler<C>("FormClose", &C::FormClose), Handler<C>("cbFilterChange", &C::cbFilterChange),
       Handler<C>("lbFileChange", &C::lbFileChange), Handler<C>("lbFileClick", &C::lbFileClick),
       Handler<C>("tmLoadTimer", &C::tmLoadTimer), Handler<C>("imPreviewClick", &C::imPreviewClick),
       Handler<C>("tmPreviewTimer", &C::tmPreviewTimer), Handler<C>("imPreviewProgress", &C::imPreviewProgress),
       Handler<C>("btOKClick", &C::btOKClick), Handler<C>("tmSaveTimer", &C::tmSaveTimer),
       Handler<C>("btCancelClick", &C::btCancelClick), Handler<C>("PageControl1MouseMove", &C::PageControl1MouseMove)});
  return info;
}
