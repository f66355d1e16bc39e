// Format: the class library's formatting of argument lists.
#include <cstdio>

#include "floattext.h"
#include "vcl/sysutils.h"

namespace {

[[noreturn]] void InvalidFormat(const std::string& fmt) {
  throw EConvertError("Format '%s' invalid or incompatible with argument", {fmt});
}

std::string Hex(std::uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
  return buffer;
}

std::string PadDigits(std::string digits, int precision) {
  if (precision > static_cast<int>(digits.size()))
    digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
  return digits;
}

class Formatter {
 public:
  Formatter(const std::string& fmt, std::initializer_list<TVarRec> args)
      : fmt_(fmt), args_(args.begin()), count_(static_cast<int>(args.size())) {}

  std::string Run() {
    std::string out;
    std::size_t i = 0;
    while (i < fmt_.size()) {
      if (fmt_[i] != '%') {
        out += fmt_[i++];
        continue;
      }
      ++i;
      if (i < fmt_.size() && fmt_[i] == '%') {
        out += '%';
        ++i;
        continue;
      }
      out += Field(i);
    }
    return out;
  }

 private:
  // A number, or "*" taking the next integer argument; -1 when there is neither.
  int Number(std::size_t& i) {
    if (i < fmt_.size() && fmt_[i] == '*') {
      ++i;
      const TVarRec& arg = Next();
      if (arg.VType != TVarRec::vtInteger) InvalidFormat(fmt_);
      return static_cast<int>(arg.VInteger);
    }
    if (i >= fmt_.size() || fmt_[i] < '0' || fmt_[i] > '9') return -1;
    int n = 0;
    while (i < fmt_.size() && fmt_[i] >= '0' && fmt_[i] <= '9') {
      n = n * 10 + (fmt_[i++] - '0');
      if (n > 100000) InvalidFormat(fmt_);
    }
    return n;
  }

  const TVarRec& Next() {
    if (next_ >= count_) throw EConvertError("No argument for format '%s'", {fmt_});
    return args_[next_++];
  }

  std::string Field(std::size_t& i) {
    int width = Number(i);
    if (i < fmt_.size() && fmt_[i] == ':') {
      if (width < 0) InvalidFormat(fmt_);
      next_ = width;
      ++i;
      width = -1;
    }
    bool left = false;
    if (i < fmt_.size() && fmt_[i] == '-') {
      left = true;
      ++i;
    }
    if (width < 0) width = Number(i);
    int precision = -1;
    if (i < fmt_.size() && fmt_[i] == '.') {
      ++i;
      precision = Number(i);
      if (precision < 0) precision = 0;
    }
    if (i >= fmt_.size()) InvalidFormat(fmt_);
    const char type = static_cast<char>(fmt_[i++] | 0x20);
    std::string text = Convert(type, Next(), precision);
    if (width > static_cast<int>(text.size())) {
      const std::string pad(static_cast<std::size_t>(width) - text.size(), ' ');
      text = left ? text + pad : pad + text;
    }
    return text;
  }

  std::string Convert(char type, const TVarRec& arg, int precision) {
    const bool integer = arg.VType == TVarRec::vtInteger || arg.VType == TVarRec::vtInt64;
    switch (type) {
      case 'd': {
        if (!integer) break;
        const std::uint64_t magnitude = arg.VInteger < 0 ? 0 - static_cast<std::uint64_t>(arg.VInteger)
                                                         : static_cast<std::uint64_t>(arg.VInteger);
        return (arg.VInteger < 0 ? "-" : "") + PadDigits(std::to_string(magnitude), precision);
      }
      case 'u':
        if (!integer) break;
        return PadDigits(std::to_string(Unsigned(arg)), precision);
      case 'x':
        if (!integer) break;
        return PadDigits(Hex(Unsigned(arg)), precision);
      case 'p':
        if (arg.VType != TVarRec::vtPointer) break;
        return PadDigits(Hex(reinterpret_cast<std::uintptr_t>(arg.VPointer)), 2 * sizeof(void*));
      case 's':
        if (arg.VType != TVarRec::vtString && arg.VType != TVarRec::vtChar) break;
        return precision >= 0 ? arg.VString.substr(0, static_cast<std::size_t>(precision)) : arg.VString;
      case 'e':
      case 'g':
        if (arg.VType != TVarRec::vtExtended) break;
        if (precision < 0 || precision > 15) precision = 15;
        return type == 'e' ? floattext::Exponent(arg.VExtended, precision, 3)
                           : floattext::General(arg.VExtended, precision, 3);
      case 'f':
      case 'n':
        if (arg.VType != TVarRec::vtExtended) break;
        if (precision < 0) precision = 2;
        if (precision > 18) precision = 18;
        return floattext::Fixed(arg.VExtended, precision, type == 'n');
      default: break;
    }
    InvalidFormat(fmt_);
  }

  static std::uint64_t Unsigned(const TVarRec& arg) {
    return arg.VType == TVarRec::vtInteger ? static_cast<std::uint32_t>(arg.VInteger)
                                           : static_cast<std::uint64_t>(arg.VInteger);
  }

  const std::string& fmt_;
  const TVarRec* args_;
  int count_;
  int next_ = 0;
};

}  // namespace

std::string Format(const std::string& fmt, std::initializer_list<TVarRec> args) { return Formatter(fmt, args).Run(); }

Exception::Exception(const std::string& fmt, std::initializer_list<TVarRec> args) : Message(Format(fmt, args)) {}
