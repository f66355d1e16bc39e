// The slot manager's swap path as one process, for the whole-process comparison: loads a bitmap
// file, resamples it to 320x400 with Lanczos3 and saves it at 8 bits.
//   bench_swap_path_tool IN.bmp OUT.bmp      (host paths)
#include <cstdio>
#include <exception>
#include <filesystem>

#include "imaging/velmora_io.h"
#include "imaging/velmora_proc.h"
#include "win32/machine.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN.bmp OUT.bmp\n", argv[0]);
    return 2;
  }
  try {
    TVelmoraTarget image(nullptr);
    TVelmoraProc proc(nullptr);
    TVelmoraIO io(nullptr);
    proc.SetAttachedVelmora(&image);
    io.SetAttachedVelmora(&image);
    proc.AutoUndo = false;  // the swap dialog's undo copy is taken at preview time, not here
    io.LoadBMPFile(machine::WindowsPath(std::filesystem::absolute(argv[1])));
    proc.Resample(320, 400, 5);
    io.Params().BitsPerSample = 8;
    io.Params().SamplesPerPixel = 1;
    io.SaveBMPFile(machine::WindowsPath(std::filesystem::absolute(argv[2])));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
