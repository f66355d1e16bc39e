// The composer's graphic button face: a full paint (background, caption with its inset effect,
// bevel, into the image cache) against a repaint of a state already in the cache (one copy).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "components/graphic_button.h"
#include "vcl/forms.h"
#include "vcl/testing/application.h"
#include "win32/testing/machine_root.h"

namespace {

struct TButtonOnForm {
  TButtonOnForm() {
    ::setenv("STARTLOGO_DISPLAY", "headless", 0);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 200, 60);
    button = new ToxButton(&form);
    button->SetBounds(8, 8, 129, 25);
    button->SetCaption("Save logo now");
    button->SetStyle(ToxBtnStyle::bsAmbrel);
    button->SetFont3D(ToxFont3D::fsInset);
    button->SetFocusStyle({fsBoldFont});
    button->SetTextX(0);
    button->SetTextY(0);
    button->Font()->SetName("Arial");
    button->Font()->SetHeight(-11);
    button->Font()->SetColor(clNavy);
    button->SetParent(&form);
    form.Show();
    Application->ProcessMessages();
  }
  ScopedMachineRoot root;
  TApplicationScope application;
  TForm form{nullptr};
  ToxButton* button = nullptr;
};

void FullPaint(benchmark::State& state) {
  TButtonOnForm setup;
  ToxCustomGraphicButton* face = setup.button->Face();
  for (auto _ : state) {
    face->InvalidateImages();
    face->Update();
  }
  state.counters["full_paints"] = face->FullPaints();
}
BENCHMARK(FullPaint)->Name("graphic_button_full_paint/ours")->Unit(benchmark::kMicrosecond);

void CachedRepaint(benchmark::State& state) {
  TButtonOnForm setup;
  ToxCustomGraphicButton* face = setup.button->Face();
  face->Repaint();
  const int before = face->FullPaints();
  for (auto _ : state) {
    face->Invalidate();
    face->Update();
  }
  state.counters["full_paints"] = face->FullPaints() - before;
}
BENCHMARK(CachedRepaint)->Name("graphic_button_cached_repaint/ours")->Unit(benchmark::kMicrosecond);

}  // namespace
