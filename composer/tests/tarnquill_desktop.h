#pragma once
// Tarnquill run as a program of its own on the test's X server, and real X input given to it.
#include <string>

#include "host/testing/desktop_program.h"

class Tarnquill : public DesktopProgram {
 public:
  // `program`: the one the build made, or a link to it in a folder of other joke files.
  explicit Tarnquill(const std::string& program = TARNQUILL_PROGRAM) : DesktopProgram(program, "Tarnquill") {}
};
