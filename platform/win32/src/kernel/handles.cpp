#include <unistd.h>

#include <map>
#include <mutex>
#include <variant>

#include "kernel_internal.h"

namespace kernel {
namespace {

using KernelObject = std::variant<std::shared_ptr<FileObject>, std::shared_ptr<FindObject>>;

std::mutex gMutex;
std::map<std::uintptr_t, KernelObject> gObjects;
std::uintptr_t gNextHandle = 0x100;

HANDLE Add(KernelObject object) {
  const std::uintptr_t value = gNextHandle;
  gNextHandle += 4;
  gObjects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

bool Has(DWORD access, DWORD right) { return (access & right) != 0; }

// The rule of CreateFile: each handle's access must be allowed by every other handle's sharing.
bool Compatible(const FileObject& open, const FileObject& wanted) {
  if (Has(wanted.access, GENERIC_READ) && !Has(open.share, FILE_SHARE_READ)) return false;
  if (Has(wanted.access, GENERIC_WRITE) && !Has(open.share, FILE_SHARE_WRITE)) return false;
  if (Has(open.access, GENERIC_READ) && !Has(wanted.share, FILE_SHARE_READ)) return false;
  if (Has(open.access, GENERIC_WRITE) && !Has(wanted.share, FILE_SHARE_WRITE)) return false;
  return true;
}

template <typename T>
std::shared_ptr<T> Lookup(HANDLE handle) {
  std::lock_guard lock(gMutex);
  auto it = gObjects.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it != gObjects.end())
    if (auto* object = std::get_if<std::shared_ptr<T>>(&it->second)) return *object;
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

template <typename T>
bool Remove(HANDLE handle) {
  std::lock_guard lock(gMutex);
  auto it = gObjects.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == gObjects.end() || !std::holds_alternative<std::shared_ptr<T>>(it->second)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  gObjects.erase(it);
  return true;
}

}  // namespace

FileObject::~FileObject() {
  if (fd >= 0) ::close(fd);
}

HANDLE RegisterFile(std::shared_ptr<FileObject> file) {
  std::lock_guard lock(gMutex);
  for (const auto& [value, object] : gObjects)
    if (auto* open = std::get_if<std::shared_ptr<FileObject>>(&object))
      if ((*open)->device == file->device && (*open)->inode == file->inode && !Compatible(**open, *file)) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
      }
  return Add(std::move(file));
}

HANDLE RegisterFind(std::shared_ptr<FindObject> find) {
  std::lock_guard lock(gMutex);
  return Add(std::move(find));
}

std::shared_ptr<FileObject> FileOf(HANDLE handle) { return Lookup<FileObject>(handle); }
std::shared_ptr<FindObject> FindOf(HANDLE handle) { return Lookup<FindObject>(handle); }
bool CloseFile(HANDLE handle) { return Remove<FileObject>(handle); }
bool CloseFind(HANDLE handle) { return Remove<FindObject>(handle); }

bool DeleteIsBlocked(dev_t device, ino_t inode) {
  std::lock_guard lock(gMutex);
  for (const auto& [value, object] : gObjects)
    if (auto* open = std::get_if<std::shared_ptr<FileObject>>(&object))
      if ((*open)->device == device && (*open)->inode == inode && !Has((*open)->share, FILE_SHARE_DELETE)) return true;
  return false;
}

}  // namespace kernel
