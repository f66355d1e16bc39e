#pragma once
// Run-time errors. A failing statement throws RuntimeError with the run time's number and text.
// "On Error GoTo" is a try/catch around the procedure; "On Error Resume Next" is ResumeNext
// around each statement. An error that nothing catches ends the program with the run time's
// message (see Run in forms.h).
#include <functional>
#include <string>

#include "vcl/sysutils.h"

namespace vb {

// The numbers these programs can meet.
constexpr int vbErrInvalidCall = 5;
constexpr int vbErrOverflow = 6;
constexpr int vbErrTypeMismatch = 13;
constexpr int vbErrDllNotFound = 48;
constexpr int vbErrFileNotFound = 53;
constexpr int vbErrFileExists = 58;
constexpr int vbErrPermissionDenied = 70;
constexpr int vbErrPathFileAccess = 75;
constexpr int vbErrPathNotFound = 76;
constexpr int vbErrInvalidProperty = 380;
constexpr int vbErrDllEntryNotFound = 453;
constexpr int vbErrInvalidPicture = 481;

class RuntimeError : public Exception {
 public:
  explicit RuntimeError(int number);
  int Number;
};

// The run time's text of an error number ("File not found").
std::string ErrorDescription(int number);
[[noreturn]] void Raise(int number);

// The message an unhandled error shows: "Run-time error '53':\n\nFile not found".
std::string UnhandledErrorMessage(const RuntimeError& error);

// End: leaves every procedure at once; the program's loop stops.
class EndProgram : public Exception {
 public:
  EndProgram() : Exception("End") {}
};
[[noreturn]] void End();

// The Err object: the last error a ResumeNext skipped (Number 0 when none).
struct ErrObject {
  int Number = 0;
  std::string Description;
  void Clear() { Number = 0, Description.clear(); }
};
ErrObject& Err();

// Runs one statement; a run-time error in it is skipped (and kept in Err). Returns whether the
// statement completed.
bool ResumeNext(const std::function<void()>& statement);

}  // namespace vb
