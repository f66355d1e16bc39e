#pragma once
// What the composer window does around the logo: the StartUp shortcut that runs "/AUTO" at each
// log-on, the first-run copy of the startup logo, and the check of "c:\msdos.sys".
#include <string>
#include <vector>

// The "Startup" shell folder of the current user; empty when the registry holds none.
std::string GetStartupFolder();

// Makes GetStartupFolder() + "\Tarnquill.LNK" start Program with "/AUTO", minimised and not
// active, and says how it went in a message at X, Y. Without a StartUp folder nothing is written
// and the error is shown.
void ShortcutToStartup(const std::string& Program, int X, int Y);

// Copies "c:\logo.sys" to ProgramFolder + "logo.sys" when that copy does not exist yet, and says
// so at X, Y. A failed copy is reported there too (on standard error when Unattended), since the
// next save would overwrite the only copy of the first logo.
void BackupLogo(const std::string& ProgramFolder, int X, int Y, bool Unattended);

// True when a line sets LOGO=0 (any case) before any ";" of that line.
bool MsdosSysPreventsLogos(const std::vector<std::string>& Lines);
// Warns, with help topic 5000, when "c:\msdos.sys" prevents logos; silent when it cannot be read.
void CheckMsdosSys();
