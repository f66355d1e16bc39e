#pragma once
// The swap dialog: a picture chosen from the file controls is loaded into the preview (shrunk to
// 215 x 269, the full picture kept as its undo copy), shown full size on a click, and written
// into the slot on "Okay". The picture work is the slots library's TSwapPicture.
#include <memory>
#include <string>

#include "imaging/velmora.h"
#include "slots/swap_picture.h"
#include "vcl/buttons.h"
#include "vcl/comctrls.h"
#include "vcl/extctrls.h"
#include "vcl/filectrl.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"
#include "vcl/timers.h"

class TFSwap : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TFSwap(TComponent* AOwner);
  ~TFSwap() override;

  TPanel* Panel1 = nullptr;
  TVelmora* imPreview = nullptr;
  TLabel* Label1 = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TBitBtn *btCancel = nullptr, *btOK = nullptr;
  TPanel* Panel4 = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet *tabDir = nullptr, *tabFile = nullptr;
  TDirectoryListBox* lbDir = nullptr;
  TDriveComboBox* cbDrive = nullptr;
  TFileListBox* lbFile = nullptr;
  TEdit* edFile = nullptr;
  TFilterComboBox* cbFilter = nullptr;
  TTimer *tmLoad = nullptr, *tmSave = nullptr, *tmPreview = nullptr;

  // The slot being swapped: 0 startup, 1 wait, 2 turn-off.
  int LogoKind = 0;
  TSwapPicture& Picture() { return *picture_; }

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void cbFilterChange(TObject* Sender);
  void lbFileChange(TObject* Sender);
  void lbFileClick(TObject* Sender);
  void tmLoadTimer(TObject* Sender);
  void imPreviewClick(TObject* Sender);
  void tmPreviewTimer(TObject* Sender);
  void imPreviewProgress(TObject* Sender, int per);
  void btOKClick(TObject* Sender);
  void tmSaveTimer(TObject* Sender);
  void btCancelClick(TObject* Sender);
  void PageControl1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

 private:
  std::unique_ptr<TSwapPicture> picture_;
};

extern TFSwap* FSwap;
