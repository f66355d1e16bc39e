#include "key_handles.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace registry {
namespace {

std::mutex gMutex;
std::unordered_map<std::uintptr_t, KeyRef> gOpen;
// Handles are never reused, so a stale handle cannot reach another key.
std::uintptr_t gNextHandle = 0x1000;

std::optional<Root> PredefinedRoot(HKEY handle) {
  // Accepted sign-extended (as Windows defines them) and as plain 32-bit numbers.
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  const std::uintptr_t high = value >> 31 >> 1;
  if (high != 0 && high != (UINTPTR_MAX >> 32)) return std::nullopt;
  switch (static_cast<std::uint32_t>(value)) {
    case 0x80000000u: return Root::ClassesRoot;
    case 0x80000001u: return Root::CurrentUser;
    case 0x80000002u: return Root::LocalMachine;
    case 0x80000003u: return Root::Users;
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<KeyRef> ResolveKeyHandle(HKEY handle) {
  if (auto root = PredefinedRoot(handle)) return KeyRef{*root, {}};
  std::lock_guard lock(gMutex);
  auto it = gOpen.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == gOpen.end()) return std::nullopt;
  return it->second;
}

HKEY AddKeyHandle(KeyRef key) {
  std::lock_guard lock(gMutex);
  const std::uintptr_t handle = gNextHandle;
  gNextHandle += 4;
  gOpen.emplace(handle, std::move(key));
  return reinterpret_cast<HKEY>(handle);
}

bool CloseKeyHandle(HKEY handle) {
  if (PredefinedRoot(handle)) return true;
  std::lock_guard lock(gMutex);
  return gOpen.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1;
}

}  // namespace registry
