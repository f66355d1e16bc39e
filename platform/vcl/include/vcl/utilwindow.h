#pragma once
// Hidden windows whose messages go to a method, for objects that need a window of their own
// (timers, worker result mail boxes). The method gets every message and answers in Result; what
// it does not handle it passes to DefWindowProcA. Creation and destruction messages are the
// default procedure's.
#include <functional>

#include "vcl/messages.h"
#include "win32/types.h"

using TWndMethod = std::function<void(TMessage& Message)>;

// A hidden top-level window of the calling thread; EOutOfResources when none can be made.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Window);
