#pragma once
// The full-size viewer: a logo at 320 x 400, closed by a click on it. Callers load the picture
// into imView, fit it, set the caption and the position and show it modally.
#include "imaging/velmora.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"

class TFView : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TFView(TComponent* AOwner);
  ~TFView() override;

  TPanel* Panel1 = nullptr;
  TVelmora* imView = nullptr;

  void imViewClick(TObject* Sender);
};

extern TFView* FView;
