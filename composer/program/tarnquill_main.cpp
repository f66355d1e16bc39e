// Tarnquill, the joke startup logo composer.
#include "components/program_icons.h"
#include "composer/logo_form.h"
#include "vcl/system.h"

int main(int argc, char* argv[]) {
  InitParams(argc, argv);
  if (!AutoRequested() && RefuseStartWithoutDesktop("tarnquill")) return kNoDesktopExitCode;
  Application->SetTitle("Tarnquill");
  Application->SetHelpFile("tarnquill.hlp");
  components::SetApplicationIcon(components::TProgramIcon::Tarnquill);
  TfmLogo* fmLogo = nullptr;
  Application->CreateForm(fmLogo);
  Application->Run();
  return fmLogo && fmLogo->AutoSaveFailed() ? 1 : 0;
}
