#pragma once
// THash1: a set of integers in 2^bits buckets, used to count the distinct colours of a picture.
#include <cstdint>
#include <vector>

class THash1 {
 public:
  explicit THash1(int bits);
  // True when the key was added, false when it was already present.
  bool Insert(std::uint32_t key);
  int Count() const { return count_; }

 private:
  enum BucketState : std::uint8_t { Empty, Single, Chain };
  struct Node {
    std::uint32_t key;
    std::int32_t next;  // index into nodes_, -1 at the end of a chain
  };
  std::uint32_t mask_;
  std::vector<BucketState> state_;
  std::vector<std::uint32_t> slot_;  // the key (Single) or the chain's first node (Chain)
  std::vector<Node> nodes_;
  int count_ = 0;
};
