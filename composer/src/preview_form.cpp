#include "composer/preview_form.h"

#include "vcl/formtext.h"
#include "vcl/typinfo.h"
#include "win32/user.h"

namespace {

constexpr const char* kDescription = R"(object fmPreview: TfmPreview
  Left = 192
  Top = 107
  BorderIcons = []
  BorderStyle = bsNone
  ClientHeight = 243
  ClientWidth = 436
  Position = poScreenCenter
  OnShow = FormShow
  object Image: TPGImage
    Left = 0
    Top = 0
    Width = 436
    Height = 243
    Align = alClient
    BorderStyle = bsNone
    Color = clBlack
    PicBoxColor = clBlack
    ActionMode = amNone
    Stretch = sAlways
    Allow24BitStretch = True
    AutoSize = True
    KeepOldPaintPixelGraphic = True
    Progress5Clocks = False
    ProgressClockVisible = False
    ShowHourGlass = False
    Hint = 'Click to close'
    PicBoxHint = 'Click to close'
    OnClick = ImageClick
    PicBoxOnClick = ImageClick
  end
end
)";

}  // namespace

TfmPreview::TfmPreview(TComponent* AOwner) : TForm(AOwner) {
  ReadComponentText(kDescription, this, {FormField("Image", Image)});
}

void TfmPreview::FormShow(TObject*) {
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, Screen->Width(), Screen->Height(), 0);
}

void TfmPreview::ImageClick(TObject*) { Close(); }

const TClassInfo& TfmPreview::StaticClassInfo() {
  static const TClassInfo info("TfmPreview", &TForm::StaticClassInfo(), {},
                               {Handler<TfmPreview>("FormShow", &TfmPreview::FormShow),
                                Handler<TfmPreview>("ImageClick", &TfmPreview::ImageClick)});
  return info;
}
