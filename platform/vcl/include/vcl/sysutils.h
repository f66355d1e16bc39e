#pragma once
// The class library's general routines: the exception root, text formatting and conversion, and
// the file-name helpers. Strings are byte strings; case rules are ASCII only.
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <utility>

// One argument of Format: an integer, a float, a character, a string or a pointer.
struct TVarRec {
  enum Kind { vtInteger, vtInt64, vtExtended, vtChar, vtString, vtPointer };
  Kind VType;
  std::int64_t VInteger = 0;
  long double VExtended = 0;
  std::string VString;
  const void* VPointer = nullptr;

  TVarRec(int v) : VType(vtInteger), VInteger(v) {}
  TVarRec(unsigned v) : VType(vtInt64), VInteger(v) {}
  TVarRec(long v) : VType(vtInt64), VInteger(v) {}
  TVarRec(long long v) : VType(vtInt64), VInteger(v) {}
  TVarRec(unsigned long v) : VType(vtInt64), VInteger(static_cast<std::int64_t>(v)) {}
  TVarRec(unsigned long long v) : VType(vtInt64), VInteger(static_cast<std::int64_t>(v)) {}
  TVarRec(double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(long double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(char v) : VType(vtChar), VString(1, v) {}
  TVarRec(const char* v) : VType(vtString), VString(v ? v : "") {}
  TVarRec(std::string v) : VType(vtString), VString(std::move(v)) {}
  TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}
  TVarRec(bool) = delete;  // Format has no conversion for booleans
};

// The root of the class library's exceptions.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  // CreateFmt: the message is Format(fmt, args).
  Exception(const std::string& fmt, std::initializer_list<TVarRec> args);
  const char* what() const noexcept override { return Message.c_str(); }

  std::string Message;
};

class EConvertError : public Exception {
  using Exception::Exception;
};
class EOutOfMemory : public Exception {
  using Exception::Exception;
};
class EOutOfResources : public EOutOfMemory {
  using EOutOfMemory::EOutOfMemory;
};
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
class EInvalidOp : public Exception {
  using Exception::Exception;
};

// Format: %[index:][-][width][.precision]type with the types d u x e f g n p s, "*" for width or
// precision taken from the arguments, and "%%". A type that does not fit its argument, or a
// missing argument, raises EConvertError.
std::string Format(const std::string& fmt, std::initializer_list<TVarRec> args);

std::string IntToStr(std::int64_t value);
std::string IntToHex(std::int64_t value, int digits);
// Decimal or "$" hexadecimal, leading blanks and a sign allowed; else EConvertError.
int StrToInt(const std::string& s);
int StrToIntDef(const std::string& s, int defaultValue);
// Fifteen significant digits, fixed or scientific as the class library's general format.
std::string FloatToStr(long double value);
long double StrToFloat(const std::string& s);

// Date and time as days since 30 December 1899, the time of day as the fraction.
using TDateTime = double;
// A date outside 1/1/1 .. 12/31/9999 or a time outside the day raises EConvertError.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
TDateTime Now();
// "m/d/yyyy h:nn:ss", the time left out at midnight.
std::string DateTimeToStr(TDateTime value);

std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
int CompareStr(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);
// Blanks and control characters (all bytes up to " ") are trimmed.
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
// Every occurrence of `from` (not empty) replaced by `to`, left to right: StringReplace with
// rfReplaceAll.
std::string StringReplaceAll(std::string s, const std::string& from, const std::string& to);
// StringReplaceAll for each pair in turn: fills the placeholders of a text.
std::string StringReplaceEach(std::string s, std::initializer_list<std::pair<std::string, std::string>> pairs);

// Windows paths: "\" and ":" end the folder part.
std::string ExtractFilePath(const std::string& fileName);
std::string ExtractFileName(const std::string& fileName);
std::string ExtractFileExt(const std::string& fileName);
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);

bool FileExists(const std::string& fileName);
bool DeleteFile(const std::string& fileName);
