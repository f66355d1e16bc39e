#pragma once
// The rotator's fixed places and stored settings, shared by its windows and the installer.
#include <optional>
#include <string>

namespace rotator {

struct Slot {
  const char* file;  // the logo the system shows
  const char* library;  // the folder of logos to pick from
};
inline constexpr Slot kStartSlot{"c:\\logo.sys", "c:\\logos\\start"};
inline constexpr Slot kWaitSlot{"c:\\windows\\logow.sys", "c:\\logos\\wait\\"};
inline constexpr Slot kDownSlot{"c:\\windows\\logos.sys", "c:\\logos\\down\\"};

// "Time", "Shut", "Random" and "Oldone" of section "Logo" of application "Plumtrey"; "" when
// never written.
std::string ReadSetting(const std::string& key);
void WriteSetting(const std::string& key, const std::string& value);

// A stored seconds text as a whole number (rounded, halves to even), or none when it is empty,
// not numeric or out of the 16-bit range.
std::optional<int> WholeSeconds(const std::string& text);

}  // namespace rotator
