// The shell link object behind IShellLinkA and IPersistFile, saving through the shortcut writer.
#include <atomic>
#include <cerrno>
#include <new>
#include <string>

#include "com_classes.h"
#include "win32/errors.h"
#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/shell.h"
#include "win32/shlobj.h"
#include "win32/startup_group.h"

const CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace com {
namespace {

constexpr size_t kHotKeyOffset = 0x40;  // in the shortcut file's header

std::string Text(LPCSTR s) { return s ? std::string(s) : std::string(); }

// Our ANSI code page is Latin-1: units above 255 have no byte.
std::string NarrowName(LPCOLESTR name) {
  std::string out;
  for (; *name; ++name) out.push_back(*name <= 0xFF ? static_cast<char>(*name) : '?');
  return out;
}

class ShellLinkObject final : public IShellLinkA, public IPersistFile {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IShellLinkA) *ppvObject = static_cast<IShellLinkA*>(this);
    else if (riid == IID_IPersistFile)
      *ppvObject = static_cast<IPersistFile*>(this);
    else {
      *ppvObject = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT SetPath(LPCSTR pszFile) override { return Set(link_.Target, pszFile); }
  HRESULT SetDescription(LPCSTR pszName) override { return Set(link_.Description, pszName); }
  HRESULT SetArguments(LPCSTR pszArgs) override { return Set(link_.Arguments, pszArgs); }
  HRESULT SetIconLocation(LPCSTR pszIconPath, int iIcon) override {
    link_.IconIndex = iIcon;
    return Set(link_.IconLocation, pszIconPath);
  }
  HRESULT SetWorkingDirectory(LPCSTR pszDir) override { return Set(link_.WorkingDirectory, pszDir); }
  HRESULT SetHotkey(WORD wHotkey) override {
    hotKey_ = wHotkey;
    return S_OK;
  }
  HRESULT SetShowCmd(int iShowCmd) override {
    link_.ShowCommand = iShowCmd;
    return S_OK;
  }

  HRESULT Save(LPCOLESTR pszFileName, BOOL) override {
    if (!pszFileName) return E_INVALIDARG;
    const std::filesystem::path host = machine::HostPath(NarrowName(pszFileName));
    if (host.empty()) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    // The writer leaves the hot key empty; it is a plain header field, so we fill it in here.
    std::string bytes = shell::EncodeLink(link_);
    bytes[kHotKeyOffset] = static_cast<char>(hotKey_ & 0xFF);
    bytes[kHotKeyOffset + 1] = static_cast<char>(hotKey_ >> 8);
    if (!machine::ReplaceFileAtomically(host, bytes))
      return HRESULT_FROM_WIN32(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED);
    shell::StartUpFileChanged(host);
    return S_OK;
  }

 private:
  static HRESULT Set(std::string& field, LPCSTR value) {
    field = Text(value);
    return S_OK;
  }

  std::atomic<ULONG> refs_{1};
  shell::Link link_;
  WORD hotKey_ = 0;
};

}  // namespace

HRESULT CreateShellLinkObject(REFIID riid, void** ppv) {
  auto* object = new (std::nothrow) ShellLinkObject;
  if (!object) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

}  // namespace com
