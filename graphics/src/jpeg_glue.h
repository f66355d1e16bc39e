#pragma once
// The glue between libjpeg and the library. No C++ exception may pass through the library's
// frames: error exits, raising warnings and stream failures store what is to be raised and jump
// back to the call made through Run, which destroys the library record and then raises.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <exception>
#include <string>

#include "graphics/pixel_graphic.h"
#include "vcl/streams.h"

// Last: it needs FILE and size_t, and its TRUE and FALSE would clash with the platform's.
#include <jpeglib.h>

inline const std::string kJPGPrefix = "JPG: ";

struct TJPEGErrors {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  TPGWarningAction Action = pgwaRaise;
  char Message[JMSG_LENGTH_MAX] = {};  // raised after "JPG: "
  std::exception_ptr Thrown;  // a stream's or a dialog's own exception
};

// The standard manager with the raising exit and the warning routine of Action. The library
// record's client_data must point at Errors.
jpeg_error_mgr* InstallJPEGErrors(TJPEGErrors& Errors, TPGWarningAction Action);

// Runs Body below the jump point; false when the library or a callback jumped out.
template <class Body>
bool RunBelowJump(TJPEGErrors& Errors, Body&& body) {
  if (setjmp(Errors.Jump)) return false;
  body();
  return true;
}

// The stored fault: the caught exception again, or "JPG: " + the message.
[[noreturn]] void RaiseJPEGFault(const TJPEGErrors& Errors);

constexpr std::size_t kJPEGStreamBuffer = 4096;

// Reads the stream in blocks; its end inserts an end-of-image marker with the library's
// "Premature end of JPEG file" warning, an empty stream is "Empty input file".
struct TJPEGStreamSource {
  jpeg_source_mgr Manager;
  TStream* Stream;
  bool StartOfFile;
  JOCTET Buffer[kJPEGStreamBuffer];
};
void AttachJPEGSource(j_decompress_ptr Info, TJPEGStreamSource& Source, TStream* Stream);

struct TJPEGStreamDestination {
  jpeg_destination_mgr Manager;
  TStream* Stream;
  JOCTET Buffer[kJPEGStreamBuffer];
};
void AttachJPEGDestination(j_compress_ptr Info, TJPEGStreamDestination& Destination, TStream* Stream);

// A decompressor over a stream, destroyed whichever way its use ends.
class TJPEGDecompressor {
 public:
  TJPEGDecompressor(TStream* Stream, TPGWarningAction Action);
  ~TJPEGDecompressor() { jpeg_destroy_decompress(&info_); }
  TJPEGDecompressor(const TJPEGDecompressor&) = delete;
  TJPEGDecompressor& operator=(const TJPEGDecompressor&) = delete;

  jpeg_decompress_struct& Info() { return info_; }
  // Body's library calls, below the jump point; a fault destroys the record, then raises.
  template <class Body>
  void Run(Body&& body) {
    if (RunBelowJump(errors_, body)) return;
    jpeg_destroy_decompress(&info_);
    RaiseJPEGFault(errors_);
  }

 private:
  jpeg_decompress_struct info_{};
  TJPEGErrors errors_;
  TJPEGStreamSource source_{};
  jpeg_progress_mgr scanLimit_{};  // refuses files of more scans than jpeg::kMaxScans
};
