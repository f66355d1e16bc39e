#pragma once
// What the control classes tell one another as controls come and go.
#include "vcl/controls.h"

// A control goes away: it no longer holds the mouse nor counts as the control under it.
void ForgetControl(TControl* Control);
