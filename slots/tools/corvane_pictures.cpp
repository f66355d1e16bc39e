// corvane-pictures FOLDER: writes Corvane's own pictures (slot_pictures.h) as GIF files into
// FOLDER, for the forms' data. Run by the build.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "slots/slot_pictures.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const auto write = [&](const std::filesystem::path& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out.flush()) return true;
    std::perror((folder / name).c_str());
    return false;
  };
  for (const TSlotPicture& picture : CorvanePictures()) {
    if (!write(picture.Name, picture.Gif)) return 1;
    if (!picture.Bmp.empty() && !write(std::filesystem::path(picture.Name).replace_extension(".bmp"), picture.Bmp))
      return 1;
  }
  return 0;
}
