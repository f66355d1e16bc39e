#include "imaging/io_params.h"

#include "imaging/velmora_io.h"

TVelmoraIOParams::TVelmoraIOParams(TVelmoraIO* Owner) : owner_(Owner) { SetDefaults(); }

void TVelmoraIOParams::SetDefaults() {
  static_cast<TVelmoraIOFields&>(*this) = TVelmoraIOFields{};
  if (!owner_) return;
  if (TBitmap* bitmap = owner_->WorkBitmap()) {
    Width = bitmap->Width();
    Height = bitmap->Height();
  }
  if (TVelmoraPicture* view = owner_->AttachedVelmora()) {
    DpiX = view->DpiX();
    DpiY = view->DpiY();
  }
}

void TVelmoraIOParams::Assign(const TVelmoraIOParams& Source) {
  static_cast<TVelmoraIOFields&>(*this) = static_cast<const TVelmoraIOFields&>(Source);
}
