#pragma once
// The shell link object: IShellLinkA sets what a shortcut holds, IPersistFile saves it as a
// shortcut file in the Shell Link binary format (win32/shell.h).
#include "win32/objbase.h"

extern const CLSID CLSID_ShellLink;
extern const IID IID_IShellLinkA;
extern const IID IID_IPersistFile;

// The setters a shortcut needs; strings are ANSI Windows paths and texts.
class IShellLinkA : public IUnknown {
 public:
  virtual HRESULT SetPath(LPCSTR pszFile) = 0;
  virtual HRESULT SetDescription(LPCSTR pszName) = 0;
  virtual HRESULT SetArguments(LPCSTR pszArgs) = 0;
  virtual HRESULT SetIconLocation(LPCSTR pszIconPath, int iIcon) = 0;
  virtual HRESULT SetWorkingDirectory(LPCSTR pszDir) = 0;
  virtual HRESULT SetHotkey(WORD wHotkey) = 0;
  virtual HRESULT SetShowCmd(int iShowCmd) = 0;

 protected:
  ~IShellLinkA() = default;
};

class IPersistFile : public IUnknown {
 public:
  // Writes the shortcut file; a failure gives HRESULT_FROM_WIN32 of the kernel's error.
  virtual HRESULT Save(LPCOLESTR pszFileName, BOOL fRemember) = 0;

 protected:
  ~IPersistFile() = default;
};
