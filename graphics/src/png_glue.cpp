#include "png_glue.h"

#include <cstdio>

#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "vcl/dialogs.h"

namespace {

// The chunks libpng would read whole into a buffer of their declared length, which the reader
// has no use for: it skips them as it skips unknown chunks, in small reads.
// Names of four letters and a NUL each, as libpng takes them.
constexpr char kSkippedChunks[] = "sPLT\0tEXt\0zTXt\0iTXt\0iCCP\0eXIf\0pCAL\0sCAL";
constexpr int kSkippedChunkCount = sizeof kSkippedChunks / 5;

TPNGContext& ContextOf(png_const_structrp png) { return *static_cast<TPNGContext*>(png_get_error_ptr(png)); }

[[noreturn]] void JumpOut(TPNGContext& context) { std::longjmp(context.Jump, 1); }

[[noreturn]] void ErrorHook(png_structp png, png_const_charp message) {
  TPNGContext& context = ContextOf(png);
  std::snprintf(context.Message, sizeof context.Message, "%s", message);
  JumpOut(context);
}

// Shows the warning box; false when the user cancels. Kept apart so that nothing of it is alive
// when the caller jumps.
bool UserGoesOn(TPNGContext& context, png_const_charp message) {
  try {
    const bool cancelable = context.Action == pgwaOKCancelBox;
    const int answer = MessageBox(message, "PNG " + PGLangStr(pgsWarning), cancelable ? 49 : 48);
    if (!cancelable || answer == IDOK) return true;
    std::snprintf(context.Message, sizeof context.Message, "%s", PGLangStr(pgsAborted).c_str());
  } catch (...) {
    context.Thrown = std::current_exception();
  }
  return false;
}

void WarningHook(png_structp png, png_const_charp message) {
  TPNGContext& context = ContextOf(png);
  if (context.Action == pgwaIgnore) return;
  if (context.Action == pgwaRaise) {
    std::snprintf(context.Message, sizeof context.Message, "%s", message);
    JumpOut(context);
  }
  if (!UserGoesOn(context, message)) JumpOut(context);
}

void ReadFromStream(png_structp png, png_bytep data, png_size_t length) {
  TPNGContext& context = *static_cast<TPNGContext*>(png_get_io_ptr(png));
  std::int64_t got = 0;
  try {
    got = context.Stream->Read(data, static_cast<std::int64_t>(length));
  } catch (...) {
    context.Thrown = std::current_exception();
  }
  if (context.Thrown) JumpOut(context);
  if (got != static_cast<std::int64_t>(length)) png_error(png, "Read Error");
}

void WriteToStream(png_structp png, png_bytep data, png_size_t length) {
  TPNGContext& context = *static_cast<TPNGContext*>(png_get_io_ptr(png));
  std::int64_t written = 0;
  try {
    written = context.Stream->Write(data, static_cast<std::int64_t>(length));
  } catch (...) {
    context.Thrown = std::current_exception();
  }
  if (context.Thrown) JumpOut(context);
  if (written != static_cast<std::int64_t>(length)) png_error(png, "Write Error");
}

void FlushStream(png_structp) {}

}  // namespace

TPNGRecords::TPNGRecords(bool Writing, TStream* Stream, TPGWarningAction Action) : writing_(Writing) {
  context_.Stream = Stream;
  context_.Action = Action <= pgwaRaise ? Action : pgwaOKBox;
  const char* failed = nullptr;
  auto create = [&] {
    png_ = Writing ? png_create_write_struct(PNG_LIBPNG_VER_STRING, &context_, ErrorHook, WarningHook)
                   : png_create_read_struct(PNG_LIBPNG_VER_STRING, &context_, ErrorHook, WarningHook);
    if (!png_) {
      failed = Writing ? "png_create_write_struct" : "png_create_read_struct";
      return;
    }
    info_ = png_create_info_struct(png_);
    if (!info_) {
      failed = "png_create_info_struct";
      return;
    }
    // A known-incorrect sRGB profile is harmless; sizes are the image's to refuse.
    png_set_option(png_, PNG_SKIP_sRGB_CHECK_PROFILE, PNG_OPTION_ON);
    png_set_user_limits(png_, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    if (Writing) {
      png_set_write_fn(png_, &context_, WriteToStream, FlushStream);
    } else {
      png_set_read_fn(png_, &context_, ReadFromStream);
      // Such a chunk's declared length is allocated and cleared before its data is read: a
      // 42-byte file declaring a 2 GB palette chunk took 2 GB.
      png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, reinterpret_cast<png_const_bytep>(kSkippedChunks),
                                  kSkippedChunkCount);
    }
  };
  Run(create);
  if (failed) {
    Destroy();
    throw EPGPNGFileFormatReaderWriter(kPNGPrefix + PGLangStrS1(pgsFailed, failed));
  }
}

void TPNGRecords::Destroy() {
  if (!png_) return;
  if (writing_) png_destroy_write_struct(&png_, info_ ? &info_ : nullptr);
  else
    png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr);
  png_ = nullptr;
  info_ = nullptr;
}

void TPNGRecords::RaiseFault() const {
  if (context_.Thrown) std::rethrow_exception(context_.Thrown);
  throw EPGPNGFileFormatReaderWriter(kPNGPrefix + context_.Message);
}
