// corvane-pictures FOLDER: writes Corvane's own pictures (slot_pictures.h) as GIF files into
// FOLDER, for the forms' data. Run by the build.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "slots/slot_pictures.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (const TSlotPicture& picture : CorvanePictures()) {
    std::ofstream out(folder / picture.Name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(picture.Gif.data()), static_cast<std::streamsize>(picture.Gif.size()));
    if (!out.flush()) {
      std::perror((folder / picture.Name).c_str());
      return 1;
    }
  }
  return 0;
}
