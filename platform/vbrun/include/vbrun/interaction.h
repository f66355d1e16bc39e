#pragma once
// The program object, the command line, message boxes and starting programs.
#include <string>

namespace vb {

struct AppObject {
  std::string Title;
  int Major = 0, Minor = 0, Revision = 0;
  // The program's folder as a Windows path, without a closing "\" except at a drive's root.
  std::string Path() const;
  std::string EXEName() const;
};
AppObject& App();

// The arguments after the program's name, joined by single blanks.
std::string Command();

// MsgBox button and icon styles and answers.
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbYesNoCancel = 3;
constexpr int vbYesNo = 4;
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbYes = 6;
constexpr int vbNo = 7;
// The title defaults to App().Title.
int MsgBox(const std::string& prompt, int buttons = vbOKOnly, const std::string& title = "");

// Window styles of Shell.
constexpr int vbHide = 0;
constexpr int vbNormalFocus = 1;
// Starts the program that the first word names (a Windows path) with the rest as its arguments;
// returns its task id. Error 53 when it cannot be started.
int Shell(const std::string& pathName, int windowStyle = vbNormalFocus);

}  // namespace vb
