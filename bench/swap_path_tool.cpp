// The slot manager's swap path as one process, for the whole-process comparison.
//   bench_swap_path_tool IN OUT.sys            loads IN as the swap dialog does (by extension),
//                                              resamples it to 320x400 with Lanczos3 and writes
//                                              the 8-bit logo
//   bench_swap_path_tool --preview IN          the dialog's load and 215x269 preview only
// Host paths. With STARTLOGO_BENCH_MEMORY set, the peak resident size and the decoded picture's
// size go to standard error.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <stdexcept>

#include "imaging/velmora_io.h"
#include "imaging/velmora_proc.h"
#include "slots/picture_load.h"
#include "slots/swap_picture.h"
#include "win32/machine.h"

namespace {

void ReportMemory(long long decodedBytes) {
  if (!std::getenv("STARTLOGO_BENCH_MEMORY")) return;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::fprintf(stderr, "peak resident %.1f MiB, decoded picture %.1f MiB\n", usage.ru_maxrss / 1024.0,
               static_cast<double>(decodedBytes) / (1024 * 1024));
}

std::string WindowsPath(const char* host) { return machine::WindowsPath(std::filesystem::absolute(host)); }

}  // namespace

int main(int argc, char* argv[]) {
  const bool preview = argc == 3 && std::strcmp(argv[1], "--preview") == 0;
  if (!preview && argc != 3) {
    std::fprintf(stderr, "usage: %s IN OUT.sys | --preview IN\n", argv[0]);
    return 2;
  }
  try {
    TVelmoraTarget image(nullptr);
    TVelmoraIO io(nullptr);
    TVelmoraProc proc(nullptr);
    long long decoded = 0;
    if (preview) {
      TSwapPicture swap(image, io, proc);
      swap.Load(WindowsPath(argv[2]));
      if (swap.LoadFailed()) throw std::runtime_error("Error loading image.");
      decoded = 3LL * proc.UndoBitmap().Width() * proc.UndoBitmap().Height();
    } else {
      proc.SetAttachedVelmora(&image);
      io.SetAttachedVelmora(&image);
      proc.AutoUndo = false;  // the dialog's undo copy is the preview's business, not the swap's
      LoadPicture(io, WindowsPath(argv[1]));
      decoded = 3LL * image.Bitmap().Width() * image.Bitmap().Height();
      SaveResampledLogo(io, proc, WindowsPath(argv[2]));
    }
    ReportMemory(decoded);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
