#include "gdi_object.h"

#include <unordered_map>

namespace gdi {
namespace {

// Handles are table keys spaced by 4 from a base no pointer-sized small integer or null reaches.
struct ObjectTable {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, std::unique_ptr<GdiObject>> objects;
  std::uintptr_t next = 0x10000;
};

ObjectTable& Table() {
  static ObjectTable* table = new ObjectTable;  // outlives static destructors that delete objects
  return *table;
}

}  // namespace

HGDIOBJ AddObject(std::unique_ptr<GdiObject> object) {
  ObjectTable& t = Table();
  std::lock_guard lock(t.mutex);
  std::uintptr_t key = t.next;
  t.next += 4;
  t.objects.emplace(key, std::move(object));
  return reinterpret_cast<HGDIOBJ>(key);
}

GdiObject* FindObject(HGDIOBJ handle) {
  if (!handle) return nullptr;
  ObjectTable& t = Table();
  std::lock_guard lock(t.mutex);
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == t.objects.end() ? nullptr : it->second.get();
}

bool RemoveObject(HGDIOBJ handle) {
  std::unique_ptr<GdiObject> doomed;
  {
    ObjectTable& t = Table();
    std::lock_guard lock(t.mutex);
    auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == t.objects.end() || it->second->stockIndex >= 0 || it->second->selectCount > 0) return false;
    doomed = std::move(it->second);
    t.objects.erase(it);
  }
  return true;  // destroyed outside the lock: a DC's destructor releases its objects
}

}  // namespace gdi
