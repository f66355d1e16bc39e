#pragma once
// The in-process classes CoCreateInstance can make.
#include "win32/objbase.h"

namespace com {
HRESULT CreateShellLinkObject(REFIID riid, void** ppv);
}
