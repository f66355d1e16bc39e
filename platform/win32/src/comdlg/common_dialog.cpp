// The extended error of the common dialogs and their test script.
#include "common_dialog.h"

namespace comdlg {
namespace {

thread_local DWORD gError = 0;
CommonDialogScript& Script() {
  static CommonDialogScript script;
  return script;
}

}  // namespace

void SetExtendedError(DWORD error) { gError = error; }

void RunScript(HWND dialog) {
  CommonDialogScript script = Script();
  if (!script) return;
  script(dialog);
  if (IsWindow(dialog) && IsWindowVisible(dialog)) EndDialog(dialog, IDCANCEL);
}

}  // namespace comdlg

DWORD CommDlgExtendedError() { return comdlg::gError; }

void SetCommonDialogScript(CommonDialogScript script) { comdlg::Script() = std::move(script); }
