#pragma once
// How a setting's dotted path finds the property it is bound to, and the value it gives the setting.
#include <string>
#include <utility>
#include <vector>

#include "settings/setorra.h"
#include "vcl/components.h"
#include "vcl/typinfo.h"

struct TBinding {
  enum TWhat { None, Property, Hidden };
  TWhat What = None;
  TObject* Instance = nullptr;  // the object that has the property
  const TPropInfo* Prop = nullptr;  // Property: the published property
  std::string HiddenName;  // Hidden: the self-stored property's name
};

// Each part is a published property of the current object (an object property leads on), else a
// component of Root, else (reading, last part) a property the current object stores itself. A
// first part naming Root itself is dropped. Anything else, or an unassigned object on the way,
// names nothing.
TBinding ResolveBinding(TComponent* Root, const std::string& Path, bool Reading);
std::vector<std::string> SplitPath(const std::string& Path);
// The class library's float syntax, blanks around allowed; false (and 0) for anything else.
bool ReadTextNumber(const std::string& Text, long double& Value);

// A value of Kind held in Field.
template <class T, class V>
TSetorraValue KindValue(TSetorraKind Kind, T TSetorraValue::*Field, V&& Value) {
  TSetorraValue v;
  v.Kind = Kind;
  v.*Field = std::forward<V>(Value);
  return v;
}
