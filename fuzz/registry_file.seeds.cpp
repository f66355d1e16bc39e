// Hives that reach every kind of line the parser knows, in both line ends.
#include <string>

#include "seeds.h"

namespace {

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

const std::string kSettings =
    "REGEDIT4\n"
    "\n"
    "; settings of one program\n"
    "[HKEY_CURRENT_USER\\Software\\Ostrelle\\Corvane 2.0]\n"
    "\"LastUsedDir\"=\"C:\\\\My Documents\"\n"
    "\"LastUsedIndex\"=dword:00000003\n"
    "@=\"default \\\"quoted\\\"\"\n"
    "\"Left\"=dword:ffffffff\n"
    "\n"
    "[HKEY_CURRENT_USER\\Software\\Ostrelle\\Corvane 2.0\\Empty]\n";

const std::string kBinary =
    "REGEDIT4\n"
    "[HKEY_CURRENT_USER\\Control Panel\\Colors]\n"
    "\"Pattern\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,\\\n"
    "  19,1a,1b,1c,1d,1e,1f\n"
    "\"Empty\"=hex:\n"
    "\"Multi\"=hex(1):61,0d,0a,62,00,63,00\n"
    "\"Odd type\"=hex(7):00\n";

// Shapes whose cost grows with the square of their size when a key's values or sub-keys are
// searched one by one: at these sizes that exceeds the fuzzer's time limit.
constexpr int kManyEntries = 60000;

std::string ManyValuesInOneKey() {
  std::string text = "REGEDIT4\n[HKEY_CURRENT_USER\\Big]\n";
  for (int v = 0; v < kManyEntries; ++v) text += "\"v" + std::to_string(v) + "\"=dword:1\n";
  return text;
}

std::string KeysInReverseOrder() {
  std::string text = "REGEDIT4\n";
  for (int k = kManyEntries; k > 0; --k) text += "[HKEY_CURRENT_USER\\k" + std::to_string(100000 + k) + "]\n";
  return text;
}

}  // namespace

std::vector<fuzz_seeds::Seed> fuzz_seeds::Seeds() {
  return {
      {"settings-lf", kSettings},
      {"settings-crlf", WithCrLf(kSettings)},
      {"binary", kBinary},
      {"header-only", "REGEDIT4\r\n"},
      {"many-values", ManyValuesInOneKey()},
      {"keys-in-reverse-order", KeysInReverseOrder()},
      {"nested", "REGEDIT4\n[HKEY_CURRENT_USER\\a\\b\\c\\d]\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\A\\B]\n\"X\"=\"2\"\n"},
  };
}
