#pragma once
// Dialog templates of the common dialogs, written in memory in the layout the dialog manager reads.
#include <string>
#include <vector>

#include "win32/dialogs.h"

namespace comdlg {

class TemplateWriter {
 public:
  TemplateWriter(DWORD style, short cx, short cy, const std::string& title);
  // A control by class atom (0x0080 Button, 0x0081 Edit, 0x0082 Static, 0x0083 ListBox, 0x0085 ComboBox).
  void Item(WORD atom, int id, DWORD style, short x, short y, short cx, short cy, const std::string& text = "");
  // A control of a class given by name.
  void Item(const std::string& className, int id, DWORD style, short x, short y, short cx, short cy);
  LPCDLGTEMPLATEA Get();

 private:
  void Head(DWORD style, int id, short x, short y, short cx, short cy);
  void Word(WORD w);
  void Text(const std::string& s);
  std::vector<WORD> words_;
  std::vector<DWORD> aligned_;
};

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082, kListBox = 0x0083, kComboBox = 0x0085;

}  // namespace comdlg
