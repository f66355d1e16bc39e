// ShellExecuteA over the host's opener.
#include "win32/shellapi.h"

#include <cctype>
#include <string>

#include "win32/shell.h"

namespace {

// "http://...", "mailto:...": a scheme of two or more characters before the colon, so that a
// drive letter ("c:\logo.sys") is no address.
bool IsAddress(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  for (std::size_t i = 1; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

bool IsOpenVerb(LPCSTR operation) {
  if (!operation || !*operation) return true;
  std::string verb(operation);
  for (char& c : verb) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return verb == "open";
}

HINSTANCE Result(INT_PTR value) { return reinterpret_cast<HINSTANCE>(value); }

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR, INT) {
  if (!file || !*file) return Result(SE_ERR_FILE_NOT_FOUND);
  if (!IsOpenVerb(operation) || !IsAddress(file)) return Result(SE_ERR_NOASSOC);
  return Result(shell::OpenAddress(file) ? kShellExecuteSucceeded : SE_ERR_NOASSOC);
}
