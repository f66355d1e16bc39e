// The procedures a Declare can bind to, by library and name.
#include "vbrun/declare.h"

#include <algorithm>
#include <map>

#include "vbrun/errors.h"
#include "win32/kernel.h"
#include "win32/registry.h"
#include "win32/shell.h"

namespace vb {
namespace {

std::string LibraryKey(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  if (name.size() > 4 && name.ends_with(".dll")) name.resize(name.size() - 4);
  return name;
}

template <class F>
void* Address(F* function) {
  return reinterpret_cast<void*>(function);
}

const std::map<std::string, std::map<std::string, void*>>& Libraries() {
  static const std::map<std::string, std::map<std::string, void*>> libraries = {
      {"advapi32",
       {{"RegOpenKeyExA", Address(&RegOpenKeyExA)},
        {"RegQueryValueExA", Address(&RegQueryValueExA)},
        {"RegCloseKey", Address(&RegCloseKey)}}},
      {"stkit432", {{"fCreateShellLink", Address(&fCreateShellLink)}}},
  };
  return libraries;
}

}  // namespace

void* FindDeclared(const std::string& library, const std::string& procedure) {
  const auto found = Libraries().find(LibraryKey(library));
  if (found == Libraries().end()) Raise(vbErrDllNotFound);
  const auto entry = found->second.find(procedure);  // entry names are case-sensitive
  if (entry == found->second.end()) Raise(vbErrDllEntryNotFound);
  return entry->second;
}

long fCreateShellLink(const char* folder, const char* linkName, const char* target, const char* arguments) {
  const std::string group = shell::ProgramGroupFolder(folder ? folder : "");
  CreateDirectoryA(group.c_str(), nullptr);  // a new program group; an existing one stays
  shell::Link link;
  link.Target = target ? target : "";
  link.Arguments = arguments ? arguments : "";
  const size_t cut = link.Target.find_last_of('\\');
  if (cut != std::string::npos) link.WorkingDirectory = link.Target.substr(0, cut);
  return shell::WriteLink(group + "\\" + (linkName ? linkName : "") + ".lnk", link) ? 1 : 0;
}

}  // namespace vb
