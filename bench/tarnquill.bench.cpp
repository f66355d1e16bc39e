// Tarnquill's window: a control change until the viewer holds the new composite, and a whole
// "/AUTO" run as log-on starts it (a process with no desktop, from a copy in the machine folder).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "composer/logo_form.h"
#include "vcl/system.h"
#include "win32/testing/machine_root.h"

namespace {

void ControlChange(benchmark::State& state) {
  ::setenv("STARTLOGO_DISPLAY", "headless", 0);
  ScopedMachineRoot root;
  TApplication app{nullptr};
  TApplication* saved = Application;
  Application = &app;
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
  Application->ProcessMessages();
  Application = saved;
}
BENCHMARK(ControlChange)->Name("tarnquill_control_change/ours")->Unit(benchmark::kMillisecond);

void AutoRun(benchmark::State& state) {
  ScopedMachineRoot root;
  const std::filesystem::path built = TARNQUILL_PROGRAM;
  const std::filesystem::path folder = root.DriveC() / "tarnquill";
  std::filesystem::create_directories(folder);
  for (const auto& entry : std::filesystem::directory_iterator(built.parent_path()))
    if (entry.is_regular_file() && entry.path().filename() != "logo.sys")
      std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
  const std::string program = (folder / built.filename()).string();
  // The child's environment is made before the fork: only async-signal-safe calls after it.
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
        entry.rfind("STARTLOGO_DISPLAY=", 0) != 0)
      environment.push_back(entry);
  }
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  char* const argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("/AUTO"), nullptr};
  for (auto _ : state) {
    const pid_t child = ::fork();
    if (child == 0) {
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::execve(argv[0], argv, envp.data());
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("tarnquill /AUTO failed");
  }
}
BENCHMARK(AutoRun)->Name("tarnquill_auto/ours")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
