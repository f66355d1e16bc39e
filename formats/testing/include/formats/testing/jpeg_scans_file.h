#pragma once
// JPEG files of many scans, for the readers' scan limit in tests and fuzz seeds.
#include <string>

// `jpeg` with `copies` more scans before its end-of-image marker: each the header of its last
// scan with no data, a few bytes that cost the decoder a pass over the picture.
inline std::string WithEmptyScans(const std::string& jpeg, int copies) {
  const std::size_t end = jpeg.rfind("\xFF\xD9");
  const std::size_t scan = jpeg.rfind("\xFF\xDA", end);
  if (end == std::string::npos || scan == std::string::npos || scan + 4 > end) return jpeg;
  const std::size_t length = static_cast<unsigned char>(jpeg[scan + 2]) << 8 |
                             static_cast<unsigned char>(jpeg[scan + 3]);
  std::string out = jpeg.substr(0, end);
  for (int i = 0; i < copies; ++i) out.append(jpeg, scan, 2 + length);
  return out + jpeg.substr(end);
}
