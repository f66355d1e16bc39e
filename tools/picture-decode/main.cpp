// picture-decode [--imaging] IN OUT.ppm: decodes a picture and writes its pixels as binary PPM
// (PGM for black and white), for conformance tests, fuzz reproduction and benchmarks. On failure it
// prints the codec's message and exits 1.
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>

#include "picture_decode.h"

int main(int argc, char* argv[]) {
  const bool imaging = argc == 4 && std::strcmp(argv[1], "--imaging") == 0;
  if (!imaging) {
    // The pixel graphics library's format registry, the default reader, is not built yet.
    std::fprintf(stderr, "usage: %s --imaging IN OUT.ppm\n", argv[0]);
    return 2;
  }
  try {
    const std::string netpbm = DecodeToNetpbmWithImaging(argv[2]);
    std::ofstream out(argv[3], std::ios::binary);
    out.write(netpbm.data(), static_cast<std::streamsize>(netpbm.size()));
    if (!out.flush()) {
      std::perror(argv[3]);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[2], e.what());
    return 1;
  }
  return 0;
}
