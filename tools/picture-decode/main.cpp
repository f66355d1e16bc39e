// picture-decode [--imaging] IN OUT.ppm: decodes a picture and writes its pixels as binary PPM
// (PGM for black and white), for conformance tests, fuzz reproduction and benchmarks. By default the
// pixel graphics library's format registry reads it; --imaging uses the imaging library's I/O
// component as the slot manager loads pictures. On failure it prints the message and exits 1.
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>

#include "picture_decode.h"
#include "picture_decode_graphics.h"

int main(int argc, char* argv[]) {
  const bool imaging = argc == 4 && std::strcmp(argv[1], "--imaging") == 0;
  if (!imaging && argc != 3) {
    std::fprintf(stderr, "usage: %s [--imaging] IN OUT.ppm\n", argv[0]);
    return 2;
  }
  const char* in = argv[argc - 2];
  const char* outName = argv[argc - 1];
  try {
    const std::string netpbm = imaging ? DecodeToNetpbmWithImaging(in) : DecodeToNetpbmWithGraphics(in);
    std::ofstream out(outName, std::ios::binary);
    out.write(netpbm.data(), static_cast<std::streamsize>(netpbm.size()));
    if (!out.flush()) {
      std::perror(outName);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", in, e.what());
    return 1;
  }
  return 0;
}
