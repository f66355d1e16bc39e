// Writes the seed corpus of one fuzz target into the folder given as the only argument.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "seeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  std::set<std::string> names;
  for (const auto& seed : fuzz_seeds::Seeds()) {
    if (!names.insert(seed.name).second) {
      std::fprintf(stderr, "seed name used twice: %s\n", seed.name.c_str());
      return 1;
    }
    std::ofstream out(folder / seed.name, std::ios::binary);
    out.write(seed.bytes.data(), static_cast<std::streamsize>(seed.bytes.size()));
    if (!out) {
      std::perror((folder / seed.name).c_str());
      return 1;
    }
  }
  return 0;
}
