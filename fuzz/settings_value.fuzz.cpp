// The settings store's reading of a stored value: arbitrary registry data, plain and scrambled,
// for free settings and for settings bound to a check box, a collection and a self-stored
// property. Input: byte 0 picks the registry type (bits 0-1), the scrambling (bit 2) and the
// setting (bits 3-4); the rest is the value's data. What cannot be read must leave the setting
// as it was (plain) or empty (scrambled), never crash.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings_value_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static TSettingsValueFixture fixture;
  const std::uint8_t selector = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  TSetorra* setting = fixture.Setting((selector >> 3) & 3, (selector & 4) != 0);
  static const TRegDataType kTypes[4] = {rdString, rdInteger, rdBinary, rdUnknown};
  const TSetorraValue before = setting->Value();
  setting->ReadStoredValue(kTypes[selector & 3], bytes);
  const TSetorraValue& after = setting->Value();
  if (after.Kind > skCollection) {
    std::fprintf(stderr, "kind %d read\n", after.Kind);
    std::abort();
  }
  // A plain value that is not read leaves the setting's kind as it was.
  if (!setting->Encrypted() && (selector & 3) == 3 && after.Kind != before.Kind) {
    std::fprintf(stderr, "an unknown registry type changed the setting\n");
    std::abort();
  }
  // What was read can be stored again.
  if (after.Kind != skNone) setting->PlainData();
  return 0;
}
