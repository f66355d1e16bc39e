// The settings store on the file-backed registry: loading and saving the composer-shaped form
// (28 settings and the window's Left, Top and ScreenRes), with every bound value away from its
// design value, so that each load reads and each save writes all of them.
#include <benchmark/benchmark.h>

#include "settings/testing/forms.h"
#include "win32/testing/machine_root.h"

namespace {

// Moves every bound setting off its design value through the setting itself.
void ChangeEverySetting(TComposerForm& form) {
  for (int i = 0; i < form.PS->Count(); ++i) {
    TSetorra* s = form.PS->Settings(i);
    if (s->BoundProperty().empty()) {
      s->SetAsBoolean(true);
    } else if (s->Kind() == skInteger) {
      s->SetAsInteger(s->AsInteger() + 1);
    } else if (s->AsString() == "False") {
      s->SetAsString("True");
    } else {
      s->SetAsString(s->AsString() + " changed");
    }
  }
}

void ComposerFormLoad(benchmark::State& state) {
  ScopedMachineRoot root;
  {
    TComposerForm form(nullptr);
    ChangeEverySetting(form);
    form.PS->SaveSettings();
  }
  TComposerForm form(nullptr);
  for (auto _ : state) form.PS->LoadSettings();
  if (form.seFirst->Value() != 25) state.SkipWithError("the stored values were not read");
}
BENCHMARK(ComposerFormLoad)->Name("composer_settings_load/ours")->Unit(benchmark::kMillisecond);

void ComposerFormSave(benchmark::State& state) {
  ScopedMachineRoot root;
  TComposerForm form(nullptr);
  ChangeEverySetting(form);
  for (auto _ : state) form.PS->SaveSettings();
}
BENCHMARK(ComposerFormSave)->Name("composer_settings_save/ours")->Unit(benchmark::kMillisecond);

// The form's whole start as the composer makes it: reading its description, then the settings.
void ComposerFormCreateAndLoad(benchmark::State& state) {
  ScopedMachineRoot root;
  {
    TComposerForm form(nullptr);
    ChangeEverySetting(form);
    form.PS->SaveSettings();
  }
  for (auto _ : state) {
    TComposerForm form(nullptr);
    form.PS->LoadSettings();
  }
}
BENCHMARK(ComposerFormCreateAndLoad)->Name("composer_form_create_and_load/ours")->Unit(benchmark::kMillisecond);

}  // namespace
