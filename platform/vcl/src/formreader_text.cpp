// The text form parser and ReadComponentText.
#include "formreader_text.h"

#include <charconv>
#include <cstring>

#include "vcl/formtext.h"

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

class TTextConverter {
 public:
  explicit TTextConverter(const std::string& text) : text_(text) {}

  TFormBinary Convert() {
    out_.Data.append("TPF0", 4);
    SkipBlanks();
    ConvertObject();
    SkipBlanks();
    if (pos_ < text_.size()) Error("Text after the end of the description");
    return std::move(out_);
  }

 private:
  [[noreturn]] void Error(const std::string& what) const { throw EParserError("%s on line %d", {what, line_}); }

  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

  void SkipBlanks() {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }

  void Expect(char c) {
    SkipBlanks();
    if (Peek() != c) Error(std::string("'") + c + "' expected");
    ++pos_;
  }

  std::string Ident() {
    SkipBlanks();
    if (!IsIdentStart(Peek())) Error("Identifier expected");
    const std::size_t start = pos_;
    while (IsIdentChar(Peek())) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  // An identifier with dotted parts: "Font.Name", "fmLogo.btLogo".
  std::string DottedIdent() {
    std::string name = Ident();
    while (Peek() == '.') {
      ++pos_;
      name += '.';
      name += Ident();
    }
    return name;
  }

  bool NextIdentIs(const char* word) {
    SkipBlanks();
    std::size_t end = pos_;
    while (end < text_.size() && IsIdentChar(text_[end])) ++end;
    const std::size_t length = std::strlen(word);
    return end - pos_ == length && SameText(text_.substr(pos_, length), word);
  }

  void MarkLine() { out_.Lines.emplace_back(static_cast<std::int64_t>(out_.Data.size()), line_); }

  void WriteByte(std::uint8_t b) { out_.Data.push_back(static_cast<char>(b)); }
  void WriteLE(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) WriteByte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void WriteShortString(const std::string& s) {
    if (s.size() > 255) Error("Name too long");
    WriteByte(static_cast<std::uint8_t>(s.size()));
    out_.Data += s;
  }
  void WriteInteger(std::int64_t v) {
    if (v >= -128 && v <= 127) {
      WriteByte(vaInt8);
      WriteLE(static_cast<std::uint64_t>(v), 1);
    } else if (v >= -32768 && v <= 32767) {
      WriteByte(vaInt16);
      WriteLE(static_cast<std::uint64_t>(v), 2);
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
      WriteByte(vaInt32);
      WriteLE(static_cast<std::uint64_t>(v), 4);
    } else {
      WriteByte(vaInt64);
      WriteLE(static_cast<std::uint64_t>(v), 8);
    }
  }

  void ConvertObject() {
    MarkLine();
    std::uint8_t flags = 0;
    if (NextIdentIs("inherited")) flags |= ffInherited;
    else if (!NextIdentIs("object"))
      Error("'object' expected");
    Ident();
    std::string name = Ident();
    std::string className = name;
    SkipBlanks();
    if (Peek() == ':') {
      ++pos_;
      className = Ident();
    } else {
      name.clear();
    }
    SkipBlanks();
    std::int64_t childPos = 0;
    if (Peek() == '[') {
      ++pos_;
      childPos = IntegerValue();
      Expect(']');
      flags |= ffChildPos;
    }
    if (flags) WriteByte(0xF0 | flags);
    if (flags & ffChildPos) WriteInteger(childPos);
    WriteShortString(className);
    WriteShortString(name);

    while (!NextIdentIs("end") && !NextIdentIs("object") && !NextIdentIs("inherited")) ConvertProperty();
    WriteByte(vaNull);
    while (!NextIdentIs("end")) ConvertObject();
    Ident();
    WriteByte(vaNull);
  }

  void ConvertProperty() {
    SkipBlanks();
    if (pos_ >= text_.size()) Error("'end' expected");
    MarkLine();
    WriteShortString(DottedIdent());
    Expect('=');
    ConvertValue();
  }

  std::int64_t IntegerValue() {
    SkipBlanks();
    bool negative = false;
    if (Peek() == '-') {
      negative = true;
      ++pos_;
    }
    std::int64_t value = 0;
    if (Peek() == '$') {
      ++pos_;
      const std::size_t start = pos_;
      std::uint64_t bits = 0;
      for (int digit; (digit = HexValue(Peek())) >= 0; ++pos_) {
        if (pos_ - start >= 16) Error("Number too large");
        bits = bits << 4 | static_cast<unsigned>(digit);
      }
      if (pos_ == start) Error("Hexadecimal digits expected");
      // Eight digits or fewer are a 32-bit value, as colours like $FF000000 are written.
      value = pos_ - start <= 8 ? static_cast<std::int32_t>(bits) : static_cast<std::int64_t>(bits);
    } else {
      const auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), value);
      if (error != std::errc()) Error("Number expected");
      pos_ = static_cast<std::size_t>(end - text_.data());
    }
    return negative ? -value : value;
  }

  void ConvertNumber() {
    std::size_t end = pos_ + (Peek() == '-' ? 1 : 0);
    while (end < text_.size() && IsDigit(text_[end])) ++end;
    const bool isFloat = end < text_.size() && (text_[end] == '.' || text_[end] == 'e' || text_[end] == 'E') &&
                         text_[pos_] != '$';
    if (!isFloat) {
      WriteInteger(IntegerValue());
      return;
    }
    long double value = 0;
    const auto [stop, error] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), value);
    if (error != std::errc()) Error("Invalid floating point number");
    pos_ = static_cast<std::size_t>(stop - text_.data());
    WriteByte(vaExtended);
    char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof value);
    out_.Data.append(bytes, 10);
  }

  // 'quoted' parts with '' for a quote and #nn codes, adjacent or joined by "+".
  std::string StringValue() {
    std::string s;
    for (;;) {
      SkipBlanks();
      if (Peek() != '\'' && Peek() != '#') Error("String expected");
      while (Peek() == '\'' || Peek() == '#') {
        if (Peek() == '#') {
          ++pos_;
          const std::int64_t code = IntegerValue();
          if (code < 0 || code > 255) Error("Character code out of range");
          s += static_cast<char>(code);
          continue;
        }
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || Peek() == '\n' || Peek() == '\r') Error("Unterminated string");
          if (Peek() == '\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
              s += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          s += text_[pos_++];
        }
      }
      SkipBlanks();
      if (Peek() != '+') return s;
      ++pos_;
    }
  }

  void ConvertValue() {
    SkipBlanks();
    const char c = Peek();
    if (c == '-' || c == '$' || IsDigit(c)) ConvertNumber();
    else if (c == '\'' || c == '#')
      ConvertString();
    else if (IsIdentStart(c))
      ConvertIdent();
    else if (c == '[')
      ConvertSet();
    else if (c == '(')
      ConvertList();
    else if (c == '<')
      ConvertCollection();
    else if (c == '{')
      ConvertBinary();
    else
      Error("Invalid property value");
  }

  void ConvertString() {
    const std::string s = StringValue();
    if (s.size() <= 255) {
      WriteByte(vaString);
      WriteShortString(s);
    } else {
      WriteByte(vaLString);
      WriteLE(s.size(), 4);
      out_.Data += s;
    }
  }

  void ConvertIdent() {
    const std::string ident = DottedIdent();
    if (SameText(ident, "True")) WriteByte(vaTrue);
    else if (SameText(ident, "False"))
      WriteByte(vaFalse);
    else if (SameText(ident, "nil"))
      WriteByte(vaNil);
    else {
      WriteByte(vaIdent);
      WriteShortString(ident);
    }
  }

  // [a, b, c]
  void ConvertSet() {
    ++pos_;
    WriteByte(vaSet);
    SkipBlanks();
    if (Peek() != ']') {
      for (;;) {
        WriteShortString(Ident());
        SkipBlanks();
        if (Peek() != ',') break;
        ++pos_;
      }
    }
    Expect(']');
    WriteByte(0);
  }

  // (value value ...)
  void ConvertList() {
    ++pos_;
    WriteByte(vaList);
    for (SkipBlanks(); Peek() != ')'; SkipBlanks()) {
      if (pos_ >= text_.size()) Error("')' expected");
      ConvertValue();
    }
    ++pos_;
    WriteByte(vaNull);
  }

  // <item [index] properties end ...>
  void ConvertCollection() {
    ++pos_;
    WriteByte(vaCollection);
    for (SkipBlanks(); Peek() != '>'; SkipBlanks()) {
      if (!NextIdentIs("item")) Error("'item' expected");
      Ident();
      SkipBlanks();
      if (Peek() == '[') {
        ++pos_;
        WriteInteger(IntegerValue());
        Expect(']');
      }
      WriteByte(vaList);
      while (!NextIdentIs("end")) ConvertProperty();
      Ident();
      WriteByte(vaNull);
    }
    ++pos_;
    WriteByte(vaNull);
  }

  // {hex digits, in pairs}
  void ConvertBinary() {
    ++pos_;
    std::string bytes;
    int high = -1;
    for (SkipBlanks(); Peek() != '}'; SkipBlanks()) {
      const int digit = HexValue(Peek());
      if (digit < 0) Error("Invalid binary value");
      ++pos_;
      if (high < 0) {
        high = digit;
      } else {
        bytes += static_cast<char>(high << 4 | digit);
        high = -1;
      }
    }
    if (high >= 0) Error("Invalid binary value");
    ++pos_;
    WriteByte(vaBinary);
    WriteLE(bytes.size(), 4);
    out_.Data += bytes;
  }

  const std::string& text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  TFormBinary out_;
};

}  // namespace

int TFormBinary::LineAt(std::int64_t Offset) const {
  int line = Lines.empty() ? 0 : Lines.front().second;
  for (const auto& [offset, at] : Lines) {
    if (offset > Offset) break;
    line = at;
  }
  return line;
}

TFormBinary ObjectTextToBinary(const std::string& Text) { return TTextConverter(Text).Convert(); }

void ReadComponentText(const std::string& Text, TComponent* Root, const std::vector<TFormField>& Fields) {
  const TFormBinary binary = ObjectTextToBinary(Text);
  TMemoryStream stream;
  stream.WriteBuffer(binary.Data.data(), static_cast<std::int64_t>(binary.Data.size()));
  stream.SetPosition(0);
  TReader reader(&stream);
  try {
    reader.ReadRootComponent(Root, Fields);
  } catch (Exception& e) {
    e.Message += Format(" (line %d)", {binary.LineAt(reader.ItemPosition())});
    throw;
  }
}
