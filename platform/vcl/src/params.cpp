// The program's parameters, as main received them.
#include <filesystem>
#include <system_error>
#include <vector>

#include "vcl/system.h"
#include "win32/machine.h"

namespace {

std::vector<std::string>& Params() {
  static std::vector<std::string> params;
  return params;
}

}  // namespace

void InitParams(int argc, char* argv[]) { Params().assign(argv, argv + argc); }

int ParamCount() { return Params().empty() ? 0 : static_cast<int>(Params().size()) - 1; }

std::string ParamStr(int index) {
  if (index == 0) {
    std::error_code error;
    const auto binary = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : machine::WindowsPath(binary);
  }
  return index > 0 && index < static_cast<int>(Params().size()) ? Params()[static_cast<std::size_t>(index)]
                                                                : std::string();
}
