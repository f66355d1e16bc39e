#include "slots/slot_settings.h"

#include <algorithm>

#include "vcl/registry.h"
#include "win32/kernel.h"

namespace {

int IntegerOr(TRegistry& Registry, const char* Name, int Default) {
  if (!Registry.ValueExists(Name) || Registry.GetDataType(Name) != rdInteger) return Default;
  return Registry.ReadInteger(Name);
}

std::string StringOr(TRegistry& Registry, const char* Name, const std::string& Default) {
  if (!Registry.ValueExists(Name) || Registry.GetDataType(Name) != rdString) return Default;
  return Registry.ReadString(Name);
}

}  // namespace

int ClampFilterIndex(int Index) { return std::clamp(Index, 0, kFilterEntryCount - 1); }

TSlotSettings ReadSlotSettings(const std::string& StartDir, int DefaultLeft, int DefaultTop) {
  TSlotSettings settings{StartDir, 0, DefaultLeft, DefaultTop};
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  if (registry.OpenKey(kSlotSettingsKey, false)) {
    settings.LastUsedDir = StringOr(registry, "LastUsedDir", StartDir);
    settings.LastUsedIndex = ClampFilterIndex(IntegerOr(registry, "LastUsedIndex", 0));
    settings.Left = IntegerOr(registry, "Left", DefaultLeft);
    settings.Top = IntegerOr(registry, "Top", DefaultTop);
  } else if (registry.OpenKey(kSlotSettingsKey, true)) {
    registry.WriteString("LastUsedDir", StartDir);
    registry.WriteInteger("LastUsedIndex", 0);
  }
  registry.CloseKey();
  return settings;
}

void WriteSlotSettings(const TSlotSettings& Settings) {
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  if (!registry.OpenKey(kSlotSettingsKey, true)) return;
  registry.WriteString("LastUsedDir", Settings.LastUsedDir);
  registry.WriteInteger("LastUsedIndex", Settings.LastUsedIndex);
  registry.WriteInteger("Left", Settings.Left);
  registry.WriteInteger("Top", Settings.Top);
  registry.CloseKey();
}

std::string UsableLastDir(const std::string& LastUsedDir, const std::string& StartDir) {
  const DWORD attributes = LastUsedDir.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(LastUsedDir.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return LastUsedDir;
  return StartDir;
}
