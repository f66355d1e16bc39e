// TObject and TPersistent.
#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "vcl/objects.h"
#include "vcl/typinfo.h"

std::string TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  const std::string full = status == 0 && name ? std::string(name.get()) : std::string(mangled);
  // The class library's names are plain: no namespace in front.
  const auto colons = full.rfind("::");
  return colons == std::string::npos ? full : full.substr(colons + 2);
}

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr);
  return info;
}

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info("TPersistent", &TObject::StaticClassInfo());
  return info;
}

void TPersistent::Assign(TPersistent* Source) {
  if (!Source) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::DefineProperties(TFiler*) {}

void TPersistent::AssignError(const TPersistent* Source) const {
  throw EConvertError("Cannot assign a %s to a %s", {Source ? Source->ClassName() : "nil", ClassName()});
}
