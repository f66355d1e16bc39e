// The small variant and its conversions.
#include "vcl/variants.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void ConversionError() { throw EVariantError("Invalid variant type conversion"); }

}  // namespace

TVariant TVariant::Array(std::vector<TVariant> Items) {
  TVariant v;
  v.type_ = varArray;
  v.items_ = std::move(Items);
  return v;
}

std::string TVariant::AsText() const {
  switch (type_) {
    case varEmpty: return "";
    case varInteger: return IntToStr(integer_);
    case varDouble: return FloatToStr(float_);
    case varBoolean: return integer_ ? "True" : "False";
    case varString: return string_;
    case varArray: break;
  }
  ConversionError();
}

int TVariant::AsInteger() const {
  switch (type_) {
    case varEmpty: return 0;
    case varInteger:
    case varBoolean: return static_cast<int>(integer_);
    case varDouble: {
      // Rounded, as the class library converts a float variant to an integer.
      if (!std::isfinite(float_) || std::fabs(float_) > std::numeric_limits<int>::max()) ConversionError();
      return static_cast<int>(std::nearbyint(float_));
    }
    case varString: {
      try {
        return StrToInt(string_);
      } catch (const EConvertError&) {
        ConversionError();
      }
    }
    case varArray: break;
  }
  ConversionError();
}

double TVariant::AsFloat() const {
  switch (type_) {
    case varEmpty: return 0;
    case varInteger:
    case varBoolean: return static_cast<double>(integer_);
    case varDouble: return float_;
    case varString: {
      try {
        return static_cast<double>(StrToFloat(string_));
      } catch (const EConvertError&) {
        ConversionError();
      }
    }
    case varArray: break;
  }
  ConversionError();
}

bool TVariant::AsBoolean() const {
  switch (type_) {
    case varEmpty: return false;
    case varInteger:
    case varBoolean: return integer_ != 0;
    case varDouble: return float_ != 0;
    case varString:
      if (SameText(string_, "True")) return true;
      if (SameText(string_, "False")) return false;
      return AsFloat() != 0;
    case varArray: break;
  }
  ConversionError();
}

bool TVariant::operator==(const TVariant& Other) const {
  return type_ == Other.type_ && integer_ == Other.integer_ && float_ == Other.float_ && string_ == Other.string_ &&
         items_ == Other.items_;
}

std::string VarToStr(const TVariant& Value) { return Value.AsText(); }
