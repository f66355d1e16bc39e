#include "win32/clipboard.h"

#include <map>
#include <mutex>
#include <thread>

#include "win32/gdi.h"
#include "win32/globalmem.h"

namespace {

struct Clipboard {
  std::mutex mutex;
  bool open = false;
  bool emptiedByOpener = false;
  std::thread::id opener;
  std::map<UINT, HANDLE> data;
};

Clipboard& TheClipboard() {
  static Clipboard clipboard;
  return clipboard;
}

void Release(UINT format, HANDLE h) {
  if (format == CF_BITMAP || format == CF_PALETTE) DeleteObject(h);
  else
    GlobalFree(h);
}

bool HeldByMe(const Clipboard& c) { return c.open && c.opener == std::this_thread::get_id(); }

}  // namespace

BOOL OpenClipboard(HWND) {
  Clipboard& c = TheClipboard();
  std::lock_guard lock(c.mutex);
  if (c.open) return FALSE;
  c.open = true;
  c.emptiedByOpener = false;
  c.opener = std::this_thread::get_id();
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& c = TheClipboard();
  std::lock_guard lock(c.mutex);
  if (!HeldByMe(c)) return FALSE;
  c.open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  Clipboard& c = TheClipboard();
  std::lock_guard lock(c.mutex);
  if (!HeldByMe(c)) return FALSE;
  for (auto& [format, h] : c.data) Release(format, h);
  c.data.clear();
  c.emptiedByOpener = true;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  Clipboard& c = TheClipboard();
  std::lock_guard lock(c.mutex);
  if (!HeldByMe(c) || !c.emptiedByOpener || !data) return nullptr;
  auto it = c.data.find(format);
  if (it != c.data.end() && it->second != data) Release(format, it->second);
  c.data[format] = data;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  Clipboard& c = TheClipboard();
  std::lock_guard lock(c.mutex);
  if (!HeldByMe(c)) return nullptr;
  auto it = c.data.find(format);
  return it == c.data.end() ? nullptr : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  Clipboard& c = TheClipboard();
  std::lock_guard lock(c.mutex);
  return c.data.count(format) ? TRUE : FALSE;
}
