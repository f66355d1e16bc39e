#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "win32/globalmem.h"

namespace {

struct Block {
  void* data = nullptr;
  SIZE_T size = 0;
  UINT locks = 0;
  bool fixed = false;
};

struct Heap {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, Block> blocks;  // by handle
  std::uintptr_t nextMoveable = 0x20000000;
};

Heap& TheHeap() {
  static Heap* heap = new Heap;  // blocks may be freed during static destruction
  return *heap;
}

std::uintptr_t Key(HGLOBAL h) { return reinterpret_cast<std::uintptr_t>(h); }

void* Allocate(SIZE_T bytes, UINT flags) {
  // Never zero bytes, so every block has an address of its own.
  void* p = (flags & GMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1) : std::malloc(bytes ? bytes : 1);
  return p;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  void* data = Allocate(bytes, flags);
  if (!data) return nullptr;
  Heap& heap = TheHeap();
  std::lock_guard lock(heap.mutex);
  bool fixed = !(flags & GMEM_MOVEABLE);
  std::uintptr_t key = fixed ? reinterpret_cast<std::uintptr_t>(data) : (heap.nextMoveable += 8);
  heap.blocks[key] = Block{data, bytes, 0, fixed};
  return reinterpret_cast<HGLOBAL>(key);
}

LPVOID GlobalLock(HGLOBAL memory) {
  Heap& heap = TheHeap();
  std::lock_guard lock(heap.mutex);
  auto it = heap.blocks.find(Key(memory));
  if (it == heap.blocks.end()) return nullptr;
  if (!it->second.fixed) ++it->second.locks;
  return it->second.data;
}

BOOL GlobalUnlock(HGLOBAL memory) {
  Heap& heap = TheHeap();
  std::lock_guard lock(heap.mutex);
  auto it = heap.blocks.find(Key(memory));
  if (it == heap.blocks.end() || it->second.locks == 0) return FALSE;
  return --it->second.locks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  Heap& heap = TheHeap();
  std::lock_guard lock(heap.mutex);
  auto it = heap.blocks.find(Key(memory));
  return it == heap.blocks.end() ? 0 : it->second.size;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  Heap& heap = TheHeap();
  std::lock_guard lock(heap.mutex);
  auto it = heap.blocks.find(Key(memory));
  if (it == heap.blocks.end()) return memory;
  std::free(it->second.data);
  heap.blocks.erase(it);
  return nullptr;
}
