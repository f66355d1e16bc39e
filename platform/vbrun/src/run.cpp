// The program's life under the run time: the start-up form, the loop, End and unhandled errors.
#include "vbrun/forms.h"
#include "vbrun/interaction.h"

namespace vb {
namespace {

int gExitCode = 0;

void ShowUnhandled(const std::string& text) {
  MsgBox(text, vbCritical);
  gExitCode = 1;
}

}  // namespace

void InstallErrorHandling() {
  Application->OnException = [](TObject*, Exception& e) {
    if (dynamic_cast<EndProgram*>(&e)) {
    } else if (auto* error = dynamic_cast<RuntimeError*>(&e)) {
      ShowUnhandled(UnhandledErrorMessage(*error));
    } else {
      ShowUnhandled(e.Message);
    }
    Application->Terminate();
  };
}

void SetExitCode(int code) { gExitCode = code; }
int ExitCode() { return gExitCode; }

int Run(Form& startup) {
  InstallErrorHandling();
  gExitCode = 0;
  try {
    startup.ShowForm();
  } catch (const EndProgram&) {
    return gExitCode;
  } catch (const RuntimeError& e) {
    ShowUnhandled(UnhandledErrorMessage(e));
    return gExitCode;
  }
  while (!Application->Terminated()) Application->HandleMessage();
  return gExitCode;
}

}  // namespace vb
