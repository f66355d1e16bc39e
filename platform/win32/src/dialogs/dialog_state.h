#pragma once
// What the dialog manager keeps per dialog window.
#include <memory>

#include "win32/dialogs.h"

namespace dialogs {

struct DialogState {
  HFONT font = nullptr;
  bool ownsFont = false;
  int baseX = 0, baseY = 0;  // dialog base units of the font
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  WORD defaultId = IDOK;
  HWND focused = nullptr;  // the control to give the focus back to
};

// Null for a window the dialog manager did not make.
std::shared_ptr<DialogState> StateOf(HWND dialog);
void AttachState(HWND dialog, std::shared_ptr<DialogState> state);
void DetachState(HWND dialog);

}  // namespace dialogs
