// The App object, Command, MsgBox and Shell.
#include "vbrun/interaction.h"

#include <vector>

#include "vbrun/errors.h"
#include "vcl/dialogs.h"
#include "vcl/system.h"
#include "win32/machine.h"
#include "win32/shell.h"

namespace vb {

AppObject& App() {
  static AppObject app;
  return app;
}

std::string AppObject::Path() const {
  const std::string exe = ParamStr(0);
  const size_t cut = exe.find_last_of('\\');
  if (cut == std::string::npos) return exe;
  return cut <= 2 ? exe.substr(0, cut + 1) : exe.substr(0, cut);  // "Z:\" keeps its backslash
}

std::string AppObject::EXEName() const {
  std::string name = ParamStr(0).substr(ParamStr(0).find_last_of('\\') + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string Command() {
  std::string line;
  for (int i = 1; i <= ParamCount(); ++i) line += (i > 1 ? " " : "") + ParamStr(i);
  return line;
}

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
  return ::MessageBox(prompt, title.empty() ? App().Title : title, static_cast<UINT>(buttons));
}

int Shell(const std::string& pathName, int) {
  std::vector<std::string> argv = shell::CommandLineWords(pathName);
  if (argv.empty()) Raise(vbErrInvalidCall);
  const std::filesystem::path program = machine::HostPath(argv[0]);
  if (program.empty()) Raise(vbErrFileNotFound);
  argv[0] = program.string();
  const int task = shell::StartProgram(argv);
  if (task == 0) Raise(vbErrFileNotFound);
  return task;
}

}  // namespace vb
