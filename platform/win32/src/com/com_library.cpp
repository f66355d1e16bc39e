// Set-up counting and object creation of the component object library.
#include <atomic>
#include <cstring>

#include "com_classes.h"
#include "win32/shlobj.h"

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

bool operator==(const GUID& a, const GUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

namespace {
std::atomic<int> initCount{0};
}

HRESULT CoInitialize(LPVOID pvReserved) {
  if (pvReserved) return E_INVALIDARG;
  return initCount.fetch_add(1) == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  int count = initCount.load();
  while (count > 0 && !initCount.compare_exchange_weak(count, count - 1)) {
  }
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (initCount.load() == 0) return CO_E_NOTINITIALIZED;
  if (pUnkOuter) return CLASS_E_NOAGGREGATION;
  if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  if (rclsid == CLSID_ShellLink) return com::CreateShellLinkObject(riid, ppv);
  return REGDB_E_CLASSNOTREG;
}
