#pragma once
// A small variant: empty, integer, float, boolean, string, or an array of variants, with the
// class library's text of each.
#include <cstdint>
#include <string>
#include <vector>

#include "vcl/sysutils.h"

class EVariantError : public Exception {
  using Exception::Exception;
};

enum TVarType { varEmpty, varInteger, varDouble, varBoolean, varString, varArray };

class TVariant {
 public:
  TVariant() = default;
  TVariant(int Value) : type_(varInteger), integer_(Value) {}
  TVariant(double Value) : type_(varDouble), float_(Value) {}
  TVariant(long double Value) : type_(varDouble), float_(static_cast<double>(Value)) {}
  TVariant(bool Value) : type_(varBoolean), integer_(Value ? 1 : 0) {}
  TVariant(std::string Value) : type_(varString), string_(std::move(Value)) {}
  TVariant(const char* Value) : type_(varString), string_(Value ? Value : "") {}
  static TVariant Array(std::vector<TVariant> Items);

  TVarType VarType() const { return type_; }
  bool IsEmpty() const { return type_ == varEmpty; }
  bool IsArray() const { return type_ == varArray; }
  const std::vector<TVariant>& Items() const { return items_; }

  // Empty gives "", a boolean "True" or "False", a float the class library's float text; an
  // array raises EVariantError "Invalid variant type conversion".
  std::string AsText() const;
  int AsInteger() const;
  double AsFloat() const;
  bool AsBoolean() const;

  bool operator==(const TVariant& Other) const;

 private:
  TVarType type_ = varEmpty;
  std::int64_t integer_ = 0;
  double float_ = 0;
  std::string string_;
  std::vector<TVariant> items_;
};

std::string VarToStr(const TVariant& Value);
