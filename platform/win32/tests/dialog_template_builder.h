#pragma once
// Dialog templates built in memory for tests, laid out as the dialog manager reads them.
#include <cstring>
#include <string>
#include <vector>

#include "win32/dialogs.h"

class TemplateBuilder {
 public:
  TemplateBuilder(DWORD style, short x, short y, short cx, short cy, const std::string& title, DWORD exStyle = 0) {
    DLGTEMPLATE head{style, exStyle, 0, x, y, cx, cy};
    Put(&head, sizeof head);
    Word(0);  // no menu
    Word(0);  // the dialog class
    String(title);
    if (style & DS_SETFONT) {
      Word(8);
      String("MS Sans Serif");
    }
  }
  // A control of a class given by name (or by atom when atom is not 0).
  TemplateBuilder& Item(const std::string& className, WORD id, DWORD style, short x, short y, short cx, short cy,
                        const std::string& title = "", WORD atom = 0) {
    while (bytes_.size() % 4) bytes_.push_back(0);
    DLGITEMTEMPLATE item{style, 0, x, y, cx, cy, id};
    Put(&item, sizeof item);
    if (atom) {
      Word(0xFFFF);
      Word(atom);
    } else {
      String(className);
    }
    String(title);
    Word(0);  // no creation data
    WORD count;
    std::memcpy(&count, bytes_.data() + offsetof(DLGTEMPLATE, cdit), sizeof count);
    ++count;
    std::memcpy(bytes_.data() + offsetof(DLGTEMPLATE, cdit), &count, sizeof count);
    return *this;
  }
  LPCDLGTEMPLATEA Get() {
    words_.assign((bytes_.size() + 3) / 4, 0);
    std::memcpy(words_.data(), bytes_.data(), bytes_.size());
    return reinterpret_cast<LPCDLGTEMPLATEA>(words_.data());
  }

 private:
  void Put(const void* data, size_t size) {
    const BYTE* b = static_cast<const BYTE*>(data);
    bytes_.insert(bytes_.end(), b, b + size);
  }
  void Word(WORD w) { Put(&w, sizeof w); }
  void String(const std::string& s) {
    for (unsigned char c : s) Word(c);
    Word(0);
  }
  std::vector<BYTE> bytes_;
  std::vector<DWORD> words_;  // four-byte aligned copy
};
