#pragma once
// The seed corpus of a fuzz target: a few small, valid or nearly valid inputs that reach the
// decoder's main paths, so fuzzing starts deep instead of at the signature check.
#include <string>
#include <vector>

namespace fuzz_seeds {

struct Seed {
  std::string name;  // file name in the corpus folder
  std::string bytes;
};

// Defined by each target's <name>.seeds.cpp.
std::vector<Seed> Seeds();

}  // namespace fuzz_seeds
