#include "rotator/settings.h"

#include "vbrun/conversions.h"
#include "vbrun/errors.h"
#include "vbrun/settings.h"

namespace rotator {

std::string ReadSetting(const std::string& key) { return vb::GetSetting("Plumtrey", "Logo", key); }
void WriteSetting(const std::string& key, const std::string& value) { vb::SaveSetting("Plumtrey", "Logo", key, value); }

std::optional<int> WholeSeconds(const std::string& text) {
  try {
    return vb::CInt(text);
  } catch (const vb::RuntimeError&) {
    return std::nullopt;
  }
}

}  // namespace rotator
