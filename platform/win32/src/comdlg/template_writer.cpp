// Writing dialog templates in memory.
#include "template_writer.h"

#include <cstring>

namespace comdlg {

TemplateWriter::TemplateWriter(DWORD style, short cx, short cy, const std::string& title) {
  DLGTEMPLATE head{style | DS_SETFONT, 0, 0, 0, 0, cx, cy};
  words_.resize(sizeof head / 2);
  std::memcpy(words_.data(), &head, sizeof head);
  Word(0);  // no menu
  Word(0);  // the dialog class
  Text(title);
  Word(8);
  Text("MS Sans Serif");
}

void TemplateWriter::Head(DWORD style, int id, short x, short y, short cx, short cy) {
  if (words_.size() % 2) Word(0);  // items start on four bytes
  DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, static_cast<WORD>(id)};
  const std::size_t at = words_.size();
  words_.resize(at + sizeof item / 2);
  std::memcpy(words_.data() + at, &item, sizeof item);
  auto* head = reinterpret_cast<DLGTEMPLATE*>(words_.data());
  WORD count;
  std::memcpy(&count, &head->cdit, sizeof count);
  ++count;
  std::memcpy(&head->cdit, &count, sizeof count);
}

void TemplateWriter::Item(WORD atom, int id, DWORD style, short x, short y, short cx, short cy,
                          const std::string& text) {
  Head(style, id, x, y, cx, cy);
  Word(0xFFFF);
  Word(atom);
  Text(text);
  Word(0);  // no creation data
}

void TemplateWriter::Item(const std::string& className, int id, DWORD style, short x, short y, short cx, short cy) {
  Head(style, id, x, y, cx, cy);
  Text(className);
  Text("");
  Word(0);
}

LPCDLGTEMPLATEA TemplateWriter::Get() {
  aligned_.assign((words_.size() + 1) / 2, 0);
  std::memcpy(aligned_.data(), words_.data(), words_.size() * 2);
  return reinterpret_cast<LPCDLGTEMPLATEA>(aligned_.data());
}

void TemplateWriter::Word(WORD w) { words_.push_back(w); }

void TemplateWriter::Text(const std::string& s) {
  for (unsigned char c : s) Word(c);
  Word(0);
}

}  // namespace comdlg
