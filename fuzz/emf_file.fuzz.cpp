// Enhanced metafile files through TMetafile, loaded and drawn, and loaded from a file through the
// imaging library's I/O component as the slot manager does: drawn at the size the file declares.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "imaging/velmora_io.h"
#include "metafile_fuzz_common.h"
#include "win32/machine.h"

namespace {

// One file per process, removed when it ends.
struct InputFile {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("emf_file_fuzz_" + std::to_string(getpid()) + ".emf");
  ~InputFile() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

void LoadThroughTheImagingLibrary(const uint8_t* data, size_t size) {
  static const InputFile input;
  const std::filesystem::path& file = input.path;
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  TVelmoraTarget image(nullptr);
  TVelmoraIO io(nullptr);
  io.SetAttachedVelmora(&image);
  try {
    io.LoadFromFile(machine::WindowsPath(file));
  } catch (const EInvalidGraphic&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadAndDrawMetafile(data, size);
  LoadThroughTheImagingLibrary(data, size);
  return 0;
}
