#pragma once
// What the common dialogs share: the extended error and the test script.
#include "win32/comdlg.h"

namespace comdlg {

void SetExtendedError(DWORD error);
// Posted by a dialog to itself when it is up; the handler runs the script.
constexpr UINT kRunScript = WM_APP + 0x3F0;
// Runs the script on the dialog, if one is set; cancels a dialog the script left open.
void RunScript(HWND dialog);

}  // namespace comdlg
