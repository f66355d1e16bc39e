#pragma once
// The icons of the four programs, drawn by our own code in the sixteen colours of the classic
// desktop. Each is an icon file (.ico) with a 32 x 32 and a 16 x 16 entry of 4 bits per pixel
// and their transparency masks.
#include <string>

namespace components {

enum class TProgramIcon { Logo, Install, Tarnquill, Corvane };

// The icon file's bytes.
std::string ProgramIconFile(TProgramIcon Which);

// Makes the icon the application's: every form of the program gives it to the desktop, and
// Application->Icon() shows it where a window shows the program's icon.
void SetApplicationIcon(TProgramIcon Which);

}  // namespace components
