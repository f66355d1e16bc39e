#include "components/shell_link.h"

#include <vector>

#include "win32/shlobj.h"

namespace {

struct ComLifetime {
  ComLifetime() { CoInitialize(nullptr); }
  ~ComLifetime() { CoUninitialize(); }
};
const ComLifetime comLifetime;

// The ANSI code page is Latin-1 here: each byte is one UTF-16 unit.
std::vector<WCHAR> WideName(const std::string& name) {
  std::vector<WCHAR> wide;
  for (size_t i = 0; i < name.size() && i < static_cast<size_t>(MAX_PATH); ++i)
    wide.push_back(static_cast<unsigned char>(name[i]));
  wide.push_back(0);
  return wide;
}

}  // namespace

HRESULT CreateShellLink(const std::string& LinkFile, const TShellLinkDescription& Description) {
  IShellLinkA* link = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link));
  if (FAILED(hr)) return hr;
  IPersistFile* file = nullptr;
  hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (FAILED(hr)) {
    link->Release();
    return hr;
  }
  const TShellLinkDescription& d = Description;
  link->SetPath(d.Path.c_str());
  if (d.Mask & slDescription) link->SetDescription(d.Description.c_str());
  if (d.Mask & slArguments) link->SetArguments(d.Arguments.c_str());
  if (d.Mask & slIcon) link->SetIconLocation(d.IconPath.c_str(), d.IconIndex);
  if (d.Mask & slWorkingDirectory) link->SetWorkingDirectory(d.WorkingDirectory.c_str());
  if (d.Mask & slHotKey) link->SetHotkey(d.HotKey);
  if (d.Mask & slShowCommand) link->SetShowCmd(d.ShowCommand);
  hr = file->Save(WideName(LinkFile).data(), TRUE);
  file->Release();
  link->Release();
  return hr;
}
