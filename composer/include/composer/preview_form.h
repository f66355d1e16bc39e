#pragma once
// The full-screen preview: the composed logo stretched over the whole screen, topmost, until the
// user clicks it. Made for each preview, given the picture, shown modally and freed.
#include "graphics/pg_image.h"
#include "vcl/forms.h"

class TfmPreview : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TfmPreview(TComponent* AOwner);

  TPGImage* Image = nullptr;

  void FormShow(TObject* Sender);
  void ImageClick(TObject* Sender);
};
