#include "corvane/program.h"

#include "components/program_icons.h"
#include "corvane/about_form.h"
#include "corvane/main_form.h"
#include "corvane/swap_form.h"
#include "corvane/view_form.h"
#include "vcl/system.h"

int CorvaneMain(int argc, char* argv[]) {
  InitParams(argc, argv);
  if (RefuseStartWithoutDesktop("corvane")) return kNoDesktopExitCode;
  Application->Initialize();
  Application->SetTitle("Corvane v2.0");
  components::SetApplicationIcon(components::TProgramIcon::Corvane);
  Application->CreateForm(FMain);
  Application->CreateForm(FAbout);
  Application->CreateForm(FView);
  Application->CreateForm(FSwap);
  Application->Run();
  return 0;
}
