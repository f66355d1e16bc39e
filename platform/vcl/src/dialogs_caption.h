#pragma once
// Shared by the dialog service and its message form.
#include <string>

#include "vcl/dialogs.h"

// "Warning", "Error", "Information", "Confirm", or the application's title for mtCustom.
std::string MessageDlgCaption(TMsgDlgType Type);

// What Return presses: OK, else Yes, else the first button; mrCancel when that ends no dialog.
TModalResult DefaultResultOf(TMsgDlgButtons Buttons);
