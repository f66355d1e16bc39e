// Shortcuts as words and as the text shown beside menu items.
#include <cctype>

#include "vcl/menus.h"

namespace {

struct TKeyName {
  WORD Key;
  const char* Name;
};
constexpr TKeyName kKeyNames[] = {{VK_BACK, "BkSp"},   {VK_TAB, "Tab"},    {VK_ESCAPE, "Esc"}, {VK_RETURN, "Enter"},
                                  {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},  {VK_END, "End"},
                                  {VK_HOME, "Home"},   {VK_LEFT, "Left"},  {VK_UP, "Up"},      {VK_RIGHT, "Right"},
                                  {VK_DOWN, "Down"},   {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}};

struct TModifier {
  TShortCut Bit;
  const char* Prefix;
};
constexpr TModifier kModifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

std::string KeyName(WORD key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
  for (const TKeyName& k : kKeyNames)
    if (k.Key == key) return k.Name;
  return "";
}

bool StartsWithText(const std::string& text, size_t at, const std::string& prefix) {
  return text.size() - at >= prefix.size() && SameText(text.substr(at, prefix.size()), prefix);
}

}  // namespace

const TTypeInfo TypeInfo_TShortCut{"TShortCut", tkInteger};

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  if (Key & 0xFF00) return scNone;
  TShortCut result = Key;
  if (Shift.Contains(ssShift)) result |= scShift;
  if (Shift.Contains(ssCtrl)) result |= scCtrl;
  if (Shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut Value, WORD& Key, TShiftState& Shift) {
  Key = Value & 0xFF;
  Shift = {};
  if (Value & scShift) Shift.Include(ssShift);
  if (Value & scCtrl) Shift.Include(ssCtrl);
  if (Value & scAlt) Shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut Value) {
  std::string name = KeyName(Value & 0xFF);
  if (name.empty()) return "";
  std::string result;
  for (const TModifier& m : kModifiers)
    if (Value & m.Bit) result += m.Prefix;
  return result + name;
}

TShortCut TextToShortCut(const std::string& Text) {
  TShortCut modifiers = 0;
  size_t at = 0;
  for (bool found = true; found;) {
    found = false;
    for (const TModifier& m : kModifiers)
      if (StartsWithText(Text, at, m.Prefix)) {
        modifiers |= m.Bit;
        at += std::char_traits<char>::length(m.Prefix);
        found = true;
      }
  }
  const std::string rest = Text.substr(at);
  for (WORD key = 1; key < 0x100; ++key) {
    std::string name = KeyName(key);
    if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(modifiers | key);
  }
  return scNone;
}
