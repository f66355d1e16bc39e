#pragma once
// The About box: the program's picture behind a note that it is free and a request for
// feedback, and the screen's colour depth and resolution as read when the box was created.
#include "imaging/anim_gif.h"
#include "vcl/buttons.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"

class TFAbout : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TFAbout(TComponent* AOwner);
  ~TFAbout() override;

  TAnimGIF* AnimGIF1 = nullptr;
  TLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
  TPanel* Panel1 = nullptr;
  TLabel *Label5 = nullptr, *lbRes = nullptr, *lbWarning = nullptr;
  TPanel* Panel2 = nullptr;
  TBitBtn* btBack = nullptr;

  void FormCreate(TObject* Sender);
  void btBackClick(TObject* Sender);
};

extern TFAbout* FAbout;
