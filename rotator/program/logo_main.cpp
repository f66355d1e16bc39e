// The logo rotator.
#include "components/program_icons.h"
#include "rotator/main_form.h"
#include "vbrun/interaction.h"
#include "vcl/system.h"

int main(int argc, char* argv[]) {
  InitParams(argc, argv);
  if (vb::Command() != "RUN" && RefuseStartWithoutDesktop("logo.exe")) return kNoDesktopExitCode;
  vb::App().Title = "Logo";
  vb::App().Major = 3;
  vb::App().Minor = 0;
  vb::App().Revision = 4;
  components::SetApplicationIcon(components::TProgramIcon::Logo);
  auto* form = new rotator::TForm1(Application);
  return vb::Run(*form);
}
