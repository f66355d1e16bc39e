#pragma once
// A dialog template in memory, read into plain values.
#include <optional>
#include <string>
#include <vector>

#include "win32/dialogs.h"

namespace dialogs {

struct ItemTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT units{};  // x, y, x + cx, y + cy in dialog units
  WORD id = 0;
  std::string className;
  std::string title;
  const void* creationData = nullptr;  // the size WORD and its bytes, or none
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT units{};
  std::string className;  // "" for WC_DIALOG
  std::string title;
  int pointSize = 0;  // with DS_SETFONT
  std::string faceName;
  std::vector<ItemTemplate> items;
};

// None for extended templates and templates with a menu (which dialogs here do not have).
std::optional<DialogTemplate> ReadTemplate(LPCDLGTEMPLATEA dialogTemplate);

}  // namespace dialogs
