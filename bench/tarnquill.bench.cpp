// Tarnquill's window: a control change until the viewer holds the new composite, and a whole
// "/AUTO" run as log-on starts it (a process with no desktop, from a copy in the machine folder).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "composer/logo_form.h"
#include "host/testing/child_process.h"
#include "vcl/system.h"
#include "vcl/testing/application.h"
#include "win32/testing/machine_root.h"

namespace {

void ControlChange(benchmark::State& state) {
  ::setenv("STARTLOGO_DISPLAY", "headless", 0);
  ScopedMachineRoot root;
  TApplicationScope application;
  TfmLogo* form = nullptr;
  Application->CreateForm(form);
  // Counts the composites handed on, so a change that composes nothing shows.
  int shown = 0;
  auto show = form->Composer.OnShowComposite;
  form->Composer.OnShowComposite = [&](TPixelGraphic* Composite) {
    ++shown;
    show(Composite);
  };
  int size = 24;
  for (auto _ : state) {
    size = size == 24 ? 25 : 24;
    form->seFirst->SetValue(size);  // TextChange composes and hands the composite to the viewer
    benchmark::DoNotOptimize(form->Image->PixelGraphic());
  }
  state.counters["composites_per_change"] = static_cast<double>(shown) / static_cast<double>(state.iterations());
  delete form;
}
BENCHMARK(ControlChange)->Name("tarnquill_control_change/ours")->Unit(benchmark::kMillisecond);

void AutoRun(benchmark::State& state) {
  ScopedMachineRoot root;
  const std::string program = CopyProgramFolder(TARNQUILL_PROGRAM, root.DriveC() / "tarnquill", "logo.sys").string();
  for (auto _ : state)
    if (RunWithoutDesktop({program, "/AUTO"}).Status != 0) state.SkipWithError("tarnquill /AUTO failed");
}
BENCHMARK(AutoRun)->Name("tarnquill_auto/ours")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
