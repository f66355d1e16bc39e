#pragma once
// The text of the wide-character records as the GDI takes it: UTF-8, one dx per byte.
#include <string>
#include <vector>

namespace metafile {

// Unpaired surrogates become U+FFFD. `dx` (one per UTF-16 unit) is spread over the bytes: the
// first byte of a character takes its units' sum, the others 0.
std::string Utf16ToUtf8(const std::u16string& text, const std::vector<int>& dx, std::vector<int>& byteDx);

}  // namespace metafile
