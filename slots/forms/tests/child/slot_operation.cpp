// One slot operation of Corvane's main window in a process of its own, for tests that kill it at
// any moment or run several at once: the window starts as the program's does (in the machine
// folder $STARTLOGO_ROOT names, on the display $STARTLOGO_DISPLAY names), writes "ready" to
// standard output, runs the handler of the operation's button, writes "status: " and the status
// bar's text, and then "done".
//
//   slot-operation start|backup|restore|switch|switches SLOT FOLDER
//
// FOLDER is the program's folder (Windows path), where it starts.
//
// Restore answers the question No (the backup over the logo), switch answers it Yes; switches
// switches again and again, each with its status line, until the file "stop" is in FOLDER.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "corvane/main_form.h"
#include "vcl/forms.h"
#include "win32/kernel.h"
#include "win32/user.h"

namespace {

void Say(const char* text) {
  const std::string line = std::string(text) + "\n";
  (void)::write(STDOUT_FILENO, line.data(), line.size());
}

int answer = IDCANCEL;

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 4) return 2;
  const std::string operation = argv[1];
  const int slot = std::atoi(argv[2]);
  if (slot < 0 || slot >= kSlotCount) return 2;
  answer = operation == "switch" || operation == "switches" ? IDYES : IDNO;
  SetMessageBoxAnswer([](HWND, LPCSTR, LPCSTR, UINT, void*) { return answer; }, nullptr);
  SetCurrentDirectoryA(argv[3]);
  Application->Initialize();
  Application->CreateForm(FMain);
  Say("ready");
  using THandler = void (TFMain::*)(TObject*);
  const THandler restores[kSlotCount] = {&TFMain::btRest1Click, &TFMain::btRest2Click, &TFMain::btRest3Click};
  const auto status = [] { Say(("status: " + FMain->sbLogo->SimpleText()).c_str()); };
  const std::string stop = std::string(argv[3]) + "\\stop";
  if (operation == "backup") FMain->Backup(FMain->BackupButton(slot));
  else if (operation == "restore" || operation == "switch")
    (FMain->*restores[slot])(FMain->RestoreButton(slot));
  else if (operation == "switches")
    while (GetFileAttributesA(stop.c_str()) == INVALID_FILE_ATTRIBUTES) {
      (FMain->*restores[slot])(FMain->RestoreButton(slot));
      status();
    }
  else if (operation != "start")
    return 2;
  if (operation != "switches") status();
  Say("done");
  return 0;
}
