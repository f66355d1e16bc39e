#include "jpeg_glue.h"

#include <cstring>

#include "formats/jpeg_scans.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "vcl/dialogs.h"

// After jpeglib.h.
#include <jerror.h>

namespace {

TJPEGErrors& ErrorsOf(j_common_ptr info) { return *static_cast<TJPEGErrors*>(info->client_data); }

[[noreturn]] void JumpOut(TJPEGErrors& errors) { std::longjmp(errors.Jump, 1); }

[[noreturn]] void ErrorExit(j_common_ptr info) {
  TJPEGErrors& errors = ErrorsOf(info);
  (*info->err->format_message)(info, errors.Message);
  JumpOut(errors);
}

// Shows the warning box; false when the user cancels. Kept apart so that nothing of it is alive
// when the caller jumps.
bool UserGoesOn(TJPEGErrors& errors, const char* text) {
  try {
    const bool cancelable = errors.Action == pgwaOKCancelBox;
    const UINT flags = cancelable ? MB_ICONWARNING | MB_OKCANCEL : MB_ICONWARNING;
    const int answer = MessageBox(text, "JPG " + PGLangStr(pgsWarning), flags);
    if (!cancelable || answer == IDOK) return true;
    std::snprintf(errors.Message, sizeof errors.Message, "%s", PGLangStr(pgsAborted).c_str());
  } catch (...) {
    errors.Thrown = std::current_exception();
  }
  return false;
}

void OutputMessage(j_common_ptr info) {
  TJPEGErrors& errors = ErrorsOf(info);
  if (errors.Action == pgwaIgnore) return;
  char text[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, text);
  if (errors.Action == pgwaRaise) {
    std::memcpy(errors.Message, text, sizeof text);
    JumpOut(errors);
  }
  if (!UserGoesOn(errors, text)) JumpOut(errors);
}

// The library calls this as it reads; a file of too many scans ends as a corrupt one.
void LimitScans(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= jpeg::kMaxScans) return;
  TJPEGErrors& errors = ErrorsOf(info);
  std::snprintf(errors.Message, sizeof errors.Message, "Corrupt JPEG data: more than %d scans", jpeg::kMaxScans);
  JumpOut(errors);
}

// ---- Source ----

TJPEGStreamSource& SourceOf(j_decompress_ptr info) { return *reinterpret_cast<TJPEGStreamSource*>(info->src); }

void InitSource(j_decompress_ptr info) { SourceOf(info).StartOfFile = true; }
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info) {
  TJPEGStreamSource& source = SourceOf(info);
  std::int64_t got = 0;
  try {
    got = source.Stream->Read(source.Buffer, kJPEGStreamBuffer);
  } catch (...) {
    ErrorsOf(reinterpret_cast<j_common_ptr>(info)).Thrown = std::current_exception();
  }
  TJPEGErrors& errors = ErrorsOf(reinterpret_cast<j_common_ptr>(info));
  if (errors.Thrown) JumpOut(errors);
  if (got <= 0) {
    if (source.StartOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    source.Buffer[0] = 0xFF;
    source.Buffer[1] = JPEG_EOI;
    got = 2;
  }
  source.Manager.next_input_byte = source.Buffer;
  source.Manager.bytes_in_buffer = static_cast<std::size_t>(got);
  source.StartOfFile = false;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  jpeg_source_mgr& source = *info->src;
  if (count <= 0) return;
  while (count > static_cast<long>(source.bytes_in_buffer)) {
    count -= static_cast<long>(source.bytes_in_buffer);
    FillInputBuffer(info);
  }
  source.next_input_byte += count;
  source.bytes_in_buffer -= static_cast<std::size_t>(count);
}

// ---- Destination ----

TJPEGStreamDestination& DestinationOf(j_compress_ptr info) {
  return *reinterpret_cast<TJPEGStreamDestination*>(info->dest);
}

// Writes Count bytes of the buffer; a short write is the library's write error.
void Flush(j_compress_ptr info, std::size_t count) {
  TJPEGStreamDestination& destination = DestinationOf(info);
  std::int64_t written = 0;
  try {
    written = destination.Stream->Write(destination.Buffer, static_cast<std::int64_t>(count));
  } catch (...) {
    ErrorsOf(reinterpret_cast<j_common_ptr>(info)).Thrown = std::current_exception();
  }
  TJPEGErrors& errors = ErrorsOf(reinterpret_cast<j_common_ptr>(info));
  if (errors.Thrown) JumpOut(errors);
  if (written != static_cast<std::int64_t>(count)) ERREXIT(info, JERR_FILE_WRITE);
}

void InitDestination(j_compress_ptr info) {
  TJPEGStreamDestination& destination = DestinationOf(info);
  destination.Manager.next_output_byte = destination.Buffer;
  destination.Manager.free_in_buffer = kJPEGStreamBuffer;
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
  Flush(info, kJPEGStreamBuffer);
  InitDestination(info);
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  const std::size_t count = kJPEGStreamBuffer - DestinationOf(info).Manager.free_in_buffer;
  if (count > 0) Flush(info, count);
}

}  // namespace

jpeg_error_mgr* InstallJPEGErrors(TJPEGErrors& Errors, TPGWarningAction Action) {
  jpeg_error_mgr* manager = jpeg_std_error(&Errors.Manager);
  manager->error_exit = ErrorExit;
  manager->output_message = OutputMessage;
  // Values outside the four show the box.
  Errors.Action = Action <= pgwaRaise ? Action : pgwaOKBox;
  return manager;
}

void RaiseJPEGFault(const TJPEGErrors& Errors) {
  if (Errors.Thrown) std::rethrow_exception(Errors.Thrown);
  throw EPGJPGFileFormatReaderWriter(kJPGPrefix + Errors.Message);
}

void AttachJPEGSource(j_decompress_ptr Info, TJPEGStreamSource& Source, TStream* Stream) {
  Source.Stream = Stream;
  Source.StartOfFile = true;
  Source.Manager.init_source = InitSource;
  Source.Manager.fill_input_buffer = FillInputBuffer;
  Source.Manager.skip_input_data = SkipInputData;
  Source.Manager.resync_to_restart = jpeg_resync_to_restart;
  Source.Manager.term_source = TermSource;
  Source.Manager.bytes_in_buffer = 0;
  Source.Manager.next_input_byte = nullptr;
  Info->src = &Source.Manager;
}

void AttachJPEGDestination(j_compress_ptr Info, TJPEGStreamDestination& Destination, TStream* Stream) {
  Destination.Stream = Stream;
  Destination.Manager.init_destination = InitDestination;
  Destination.Manager.empty_output_buffer = EmptyOutputBuffer;
  Destination.Manager.term_destination = TermDestination;
  Info->dest = &Destination.Manager;
}

TJPEGDecompressor::TJPEGDecompressor(TStream* Stream, TPGWarningAction Action) {
  info_.err = InstallJPEGErrors(errors_, Action);
  info_.client_data = &errors_;
  Run([&] {
    jpeg_create_decompress(&info_);
    AttachJPEGSource(&info_, source_, Stream);
    scanLimit_.progress_monitor = LimitScans;
    info_.progress = &scanLimit_;
  });
}
