// Run-time errors, the Err object and the skipping of failed statements.
#include "vbrun/errors.h"

namespace vb {

std::string ErrorDescription(int number) {
  switch (number) {
    case vbErrInvalidCall: return "Invalid procedure call or argument";
    case vbErrOverflow: return "Overflow";
    case vbErrTypeMismatch: return "Type mismatch";
    case vbErrDllNotFound: return "Error in loading DLL";
    case vbErrFileNotFound: return "File not found";
    case vbErrFileExists: return "File already exists";
    case vbErrPermissionDenied: return "Permission denied";
    case vbErrPathFileAccess: return "Path/File access error";
    case vbErrPathNotFound: return "Path not found";
    case vbErrInvalidProperty: return "Invalid property value";
    case vbErrDllEntryNotFound: return "Specified DLL function not found";
    case vbErrInvalidPicture: return "Invalid picture";
    default: return "Application-defined or object-defined error";
  }
}

RuntimeError::RuntimeError(int number) : Exception(ErrorDescription(number)), Number(number) {}

void Raise(int number) { throw RuntimeError(number); }

std::string UnhandledErrorMessage(const RuntimeError& error) {
  return "Run-time error '" + std::to_string(error.Number) + "':\n\n" + error.Message;
}

void End() { throw EndProgram(); }

ErrObject& Err() {
  static ErrObject err;
  return err;
}

bool ResumeNext(const std::function<void()>& statement) {
  try {
    statement();
    return true;
  } catch (const RuntimeError& e) {
    Err().Number = e.Number;
    Err().Description = e.Message;
    return false;
  }
}

}  // namespace vb
