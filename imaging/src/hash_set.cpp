#include "imaging/hash_set.h"

THash1::THash1(int bits)
    : mask_((1u << bits) - 1), state_(std::size_t{1} << bits, Empty), slot_(std::size_t{1} << bits, 0) {}

bool THash1::Insert(std::uint32_t key) {
  std::uint32_t bucket = key & mask_;
  switch (state_[bucket]) {
    case Empty:
      state_[bucket] = Single;
      slot_[bucket] = key;
      break;
    case Single: {
      if (slot_[bucket] == key) return false;
      auto first = static_cast<std::int32_t>(nodes_.size());
      nodes_.push_back({slot_[bucket], first + 1});
      nodes_.push_back({key, -1});
      state_[bucket] = Chain;
      slot_[bucket] = static_cast<std::uint32_t>(first);
      break;
    }
    case Chain: {
      auto i = static_cast<std::int32_t>(slot_[bucket]);
      for (;;) {
        if (nodes_[i].key == key) return false;
        if (nodes_[i].next < 0) break;
        i = nodes_[i].next;
      }
      nodes_[i].next = static_cast<std::int32_t>(nodes_.size());
      nodes_.push_back({key, -1});
      break;
    }
  }
  ++count_;
  return true;
}
