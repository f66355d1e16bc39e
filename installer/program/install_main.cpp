// The installer of the logo rotator.
#include "components/program_icons.h"
#include "installer/install_form.h"
#include "vbrun/interaction.h"
#include "vcl/system.h"

int main(int argc, char* argv[]) {
  InitParams(argc, argv);
  if (RefuseStartWithoutDesktop("install")) return kNoDesktopExitCode;
  vb::App().Title = "Install";
  components::SetApplicationIcon(components::TProgramIcon::Install);
  auto* form = new installer::TForm1(Application);
  return vb::Run(*form);
}
