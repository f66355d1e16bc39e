#include "composer/startup_routines.h"

#include <cstdio>

#include "components/shell_link.h"
#include "vcl/dialogs.h"
#include "vcl/registry.h"
#include "vcl/strings.h"
#include "vcl/sysutils.h"
#include "win32/kernel.h"
#include "win32/user.h"

namespace {

constexpr char kShellFoldersKey[] = "Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr int kMsdosSysHelpContext = 5000;
constexpr int kShowMinimisedNotActive = 7;  // SW_SHOWMINNOACTIVE

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

std::string GetStartupFolder() {
  TRegIniFile registry("Software");
  return registry.ReadString(kShellFoldersKey, "Startup", "");
}

void ShortcutToStartup(const std::string& Program, int X, int Y) {
  const std::string folder = GetStartupFolder();
  TShellLinkDescription link;
  link.Path = Program;
  link.Mask = slDescription | slArguments | slShowCommand;
  link.Description = "Tarnquill";
  link.Arguments = "/AUTO";
  link.ShowCommand = kShowMinimisedNotActive;
  // Without a StartUp folder the link would land wherever the current folder is.
  if (folder.empty() || CreateShellLink(folder + "\\Tarnquill.LNK", link) < 0) {
    MessageDlgPos("ERROR creating a shortcut to Brevicor on the StartUp folder", mtError, TMsgDlgButtons{mbOK}, 0, X,
                  Y);
    return;
  }
  MessageDlgPos("A shortcut has been successfully created on the StartUp folder", mtInformation, TMsgDlgButtons{mbOK},
                0, X, Y);
}

void BackupLogo(const std::string& ProgramFolder, int X, int Y, bool Unattended) {
  const std::string copy = ProgramFolder + "logo.sys";
  if (Exists(copy) || !Exists("c:\\logo.sys")) return;
  if (CopyFileA("c:\\logo.sys", copy.c_str(), TRUE)) {
    MessageDlgPos("A Backup of your existing startup logo has been done", mtInformation, TMsgDlgButtons{mbOK}, 0, X, Y);
    return;
  }
  const std::string warning = "Your existing startup logo could not be copied to " + copy + " (error " +
                              std::to_string(GetLastError()) + "). Saving a new logo replaces it without a copy.";
  if (Unattended) {
    std::fprintf(stderr, "%s\n", warning.c_str());
    return;
  }
  MessageDlgPos(warning, mtWarning, TMsgDlgButtons{mbOK}, 0, X, Y);
}

bool MsdosSysPreventsLogos(const std::vector<std::string>& Lines) {
  for (const std::string& line : Lines) {
    const std::size_t setting = UpperCase(line).find("LOGO=0");
    const std::size_t comment = line.find(';');
    if (setting != std::string::npos && (comment == std::string::npos || setting < comment)) return true;
  }
  return false;
}

void CheckMsdosSys() {
  TStringList file;
  try {
    file.LoadFromFile("c:\\msdos.sys");
  } catch (const std::exception&) {
    return;
  }
  std::vector<std::string> lines;
  for (int i = 0; i < file.Count(); ++i) lines.push_back(file.Get(i));
  if (!MsdosSysPreventsLogos(lines)) return;
  MessageDlg(
      "It seems as if your MSDOS.SYS file is preventing startup logos to appear. You should edit this file in "
      "order to correct the problem. Click on the Help button for an explanation of this problem",
      mtInformation, TMsgDlgButtons{mbOK, mbHelp}, kMsdosSysHelpContext);
}
