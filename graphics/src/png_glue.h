#pragma once
// The glue between libpng and the library. No C++ exception may pass through the library's
// frames: errors, raising warnings and stream failures store what is to be raised and jump back
// to the call made through Run, which destroys the library records and then raises.
#include <png.h>

#include <csetjmp>
#include <exception>
#include <string>

#include "graphics/pixel_graphic.h"
#include "vcl/streams.h"

inline const std::string kPNGPrefix = "PNG: ";

struct TPNGContext {
  std::jmp_buf Jump;
  TStream* Stream = nullptr;
  // pgwaIgnore also stands for a caller that only describes the file: its warnings are benign.
  TPGWarningAction Action = pgwaIgnore;
  char Message[256] = {};  // raised after "PNG: "
  std::exception_ptr Thrown;  // a stream's or a dialog's own exception
};

// The records of one read or write, destroyed whichever way their use ends.
class TPNGRecords {
 public:
  // Creates the read or the write record and its info record over the stream; a failed
  // creation raises "<create function> failed".
  TPNGRecords(bool Writing, TStream* Stream, TPGWarningAction Action);
  ~TPNGRecords() { Destroy(); }
  TPNGRecords(const TPNGRecords&) = delete;
  TPNGRecords& operator=(const TPNGRecords&) = delete;

  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }
  // Body's library calls, below the jump point; a fault destroys the records, then raises.
  template <class Body>
  void Run(Body&& body) {
    if (RunBelowJump(body)) return;
    Destroy();
    RaiseFault();
  }

 private:
  template <class Body>
  bool RunBelowJump(Body& body) {
    if (setjmp(context_.Jump)) return false;
    body();
    return true;
  }
  [[noreturn]] void RaiseFault() const;
  void Destroy();

  bool writing_;
  TPNGContext context_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};
