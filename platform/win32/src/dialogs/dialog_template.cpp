// Reading dialog templates: fixed headers, then variable fields of 16-bit words.
#include "dialog_template.h"

#include <cstring>

namespace dialogs {
namespace {

class WordReader {
 public:
  explicit WordReader(const BYTE* at) : at_(at) {}
  WORD Word() {
    WORD w;
    std::memcpy(&w, at_, sizeof w);
    at_ += sizeof w;
    return w;
  }
  // A zero-ended UTF-16 string; characters beyond one byte become '?'.
  std::string String() {
    std::string s;
    for (WORD c = Word(); c; c = Word()) s += c < 0x100 ? static_cast<char>(c) : '?';
    return s;
  }
  // 0x0000: none, 0xFFFF: a number that follows, else a string.
  std::string NameOrOrdinal(WORD& ordinal) {
    ordinal = 0;
    WORD first;
    std::memcpy(&first, at_, sizeof first);
    if (first == 0) return Word(), "";
    if (first == 0xFFFF) {
      Word();
      ordinal = Word();
      return "";
    }
    return String();
  }
  template <class T>
  T Fixed() {
    T value;
    std::memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  void AlignToDword(const BYTE* base) {
    while ((at_ - base) % 4) ++at_;
  }
  const BYTE* At() const { return at_; }
  void Skip(size_t bytes) { at_ += bytes; }

 private:
  const BYTE* at_;
};

std::string ClassOfAtom(WORD atom) {
  switch (atom) {
    case 0x0080: return "Button";
    case 0x0081: return "Edit";
    case 0x0082: return "Static";
    case 0x0083: return "ListBox";
    case 0x0084: return "ScrollBar";
    case 0x0085: return "ComboBox";
    default: return "";
  }
}

RECT UnitsOf(short x, short y, short cx, short cy) { return RECT{x, y, x + cx, y + cy}; }

}  // namespace

std::optional<DialogTemplate> ReadTemplate(LPCDLGTEMPLATEA dialogTemplate) {
  if (!dialogTemplate) return std::nullopt;
  const BYTE* base = reinterpret_cast<const BYTE*>(dialogTemplate);
  WordReader r(base);
  // An extended template starts with version 1 and signature 0xFFFF.
  if (WordReader(base).Word() == 1 && WordReader(base + 2).Word() == 0xFFFF) return std::nullopt;
  const auto head = r.Fixed<DLGTEMPLATE>();
  DialogTemplate t;
  t.style = head.style;
  t.exStyle = head.dwExtendedStyle;
  t.units = UnitsOf(head.x, head.y, head.cx, head.cy);
  WORD ordinal;
  std::string menu = r.NameOrOrdinal(ordinal);
  if (!menu.empty() || ordinal) return std::nullopt;
  t.className = r.NameOrOrdinal(ordinal);
  if (ordinal) return std::nullopt;  // class atoms of dialogs are not kept
  t.title = r.String();
  if (t.style & DS_SETFONT) {
    t.pointSize = r.Word();
    t.faceName = r.String();
  }
  for (WORD i = 0; i < head.cdit; ++i) {
    r.AlignToDword(base);
    const auto item = r.Fixed<DLGITEMTEMPLATE>();
    ItemTemplate it;
    it.style = item.style;
    it.exStyle = item.dwExtendedStyle;
    it.units = UnitsOf(item.x, item.y, item.cx, item.cy);
    it.id = item.id;
    it.className = r.NameOrOrdinal(ordinal);
    if (ordinal) it.className = ClassOfAtom(ordinal);
    if (it.className.empty()) return std::nullopt;
    it.title = r.NameOrOrdinal(ordinal);
    const WORD extra = r.Word();
    if (extra) {
      it.creationData = r.At() - sizeof(WORD);
      r.Skip(extra);
    }
    t.items.push_back(std::move(it));
  }
  return t;
}

}  // namespace dialogs
