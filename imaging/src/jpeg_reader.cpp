#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include "formats/jpeg_scans.h"
#include "vcl/graphics_images.h"
#include "imaging/jpeg_reader.h"
#include "vcl/system.h"

// Last: its TRUE and FALSE macros would clash with the platform's constants. It needs FILE and
// size_t declared first.
#include <jpeglib.h>
#include <jerror.h>

namespace {

// Up to 4M pixels are cheap whatever the file holds. Past that, a byte of the file stands for at
// most 1024 pixels: a block costs at least two bits (its DC difference and end of block).
constexpr std::uint64_t kFreePixels = std::uint64_t{1} << 22;
constexpr std::uint64_t kMaxPixelsPerByte = 1024;

struct StreamSource {
  jpeg_source_mgr manager;
  TStream* stream;
  JOCTET buffer[4096];
};

struct JumpingErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// Runs inside the library: nothing may be thrown from here. A stream that ends or fails gets an
// end-of-image marker, as the library's own file source does, so the picture ends early.
boolean FillInputBuffer(j_decompress_ptr info) {
  auto* source = reinterpret_cast<StreamSource*>(info->src);
  std::int64_t got = 0;
  try {
    got = source->stream->Read(source->buffer, sizeof source->buffer);
  } catch (...) {
    got = 0;
  }
  if (got <= 0) {
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    got = 2;
  }
  source->manager.next_input_byte = source->buffer;
  source->manager.bytes_in_buffer = static_cast<std::size_t>(got);
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  jpeg_source_mgr* source = info->src;
  while (count > static_cast<long>(source->bytes_in_buffer)) {
    count -= static_cast<long>(source->bytes_in_buffer);
    FillInputBuffer(info);
  }
  if (count > 0) {
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<std::size_t>(count);
  }
}

[[noreturn]] void ErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump, 1); }

// The library calls this as it reads; a file of too many scans ends as one of bad progression.
void LimitScans(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= jpeg::kMaxScans) return;
  info->err->msg_code = JERR_BAD_PROGRESSION;
  info->err->error_exit(info);
}
void EmitNothing(j_common_ptr, int) {}
void OutputNothing(j_common_ptr) {}

// Destroys the decompressor whichever way the read ends.
struct Decompressor {
  jpeg_decompress_struct info{};
  ~Decompressor() { jpeg_destroy_decompress(&info); }
};

void SetDpi(const jpeg_decompress_struct& info, TVelmoraIOParams& params) {
  if (info.density_unit == 0 || info.density_unit == 1) {
    params.DpiX = info.X_density;
    params.DpiY = info.Y_density;
  } else if (info.density_unit == 2) {
    params.DpiX = static_cast<int>(info.X_density * 2.54);
    params.DpiY = static_cast<int>(info.Y_density * 2.54);
  }
}

// Everything the library does happens here, below the jump point; a library error comes back as
// false with its message number. C++ exceptions (the bitmap, the progress handler) are thrown only
// between library calls.
bool Decode(jpeg_decompress_struct& info, JumpingErrors& errors, StreamSource& source, TBitmap& bitmap,
            TVelmoraIOParams& params, const TProgressRec& progress) {
  jpeg_progress_mgr scanLimit{};
  scanLimit.progress_monitor = LimitScans;
  if (setjmp(errors.jump)) return false;
  jpeg_create_decompress(&info);
  info.src = &source.manager;
  info.progress = &scanLimit;
  jpeg_read_header(&info, TRUE);
  // Refused before the library sizes its buffers: a progressive file keeps every coefficient.
  if (!FitsBitmap(info.image_width, info.image_height, 24)) {
    info.err->msg_code = JERR_IMAGE_TOO_BIG;
    info.err->error_exit(reinterpret_cast<j_common_ptr>(&info));
  }
  // A file that ends early gets the rest of its picture made up; past a few million pixels the
  // file must still be able to stand for them, as a picture of that size from a few bytes is none.
  const std::uint64_t pixels = std::uint64_t{info.image_width} * info.image_height;
  if (pixels > kFreePixels && pixels / kMaxPixelsPerByte > static_cast<std::uint64_t>(source.stream->Size())) {
    info.err->msg_code = JERR_INPUT_EOF;
    info.err->error_exit(reinterpret_cast<j_common_ptr>(&info));
  }
  if (info.out_color_space == JCS_GRAYSCALE) params.JpegColorSpace = 1;
  else if (info.out_color_space == JCS_RGB)
    params.JpegColorSpace = 0;
  info.out_color_space = JCS_EXT_BGR;  // the byte order of the bitmap's rows
  if (params.JpegDCTMethod == 0) info.dct_method = JDCT_ISLOW;
  else if (params.JpegDCTMethod == 1)
    info.dct_method = JDCT_IFAST;
  else if (params.JpegDCTMethod == 2)
    info.dct_method = JDCT_FLOAT;
  SetDpi(info, params);
  params.BitsPerSample = 8;
  params.SamplesPerPixel = 3;
  params.FreeColorMap();
  params.JpegProgressive = info.progressive_mode;
  jpeg_start_decompress(&info);
  params.Width = static_cast<int>(info.output_width);
  params.Height = static_cast<int>(info.output_height);
  Reshape(bitmap, pf24bit, params.Width, params.Height);
  const long double step = 100.0L / info.output_height;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = RowOf(bitmap, static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
    progress.Report(static_cast<int>(Trunc(info.output_scanline * step)));
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

void JPEGReadStream(TStream* Source, TBitmap& Bitmap, TVelmoraIOParams& Params, const TProgressRec& Progress) {
  StreamSource source{};
  source.stream = Source;
  source.manager.init_source = InitSource;
  source.manager.fill_input_buffer = FillInputBuffer;
  source.manager.skip_input_data = SkipInputData;
  source.manager.resync_to_restart = jpeg_resync_to_restart;
  source.manager.term_source = TermSource;
  JumpingErrors errors{};
  Decompressor decompressor;
  decompressor.info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = ErrorExit;
  errors.manager.emit_message = EmitNothing;
  errors.manager.output_message = OutputNothing;
  if (!Decode(decompressor.info, errors, source, Bitmap, Params, Progress)) {
    char number[32];
    std::snprintf(number, sizeof number, "JPEG error #%d", errors.manager.msg_code);
    throw EInvalidGraphic(std::string("Unrecognized JPeg - ") + number);
  }
}
