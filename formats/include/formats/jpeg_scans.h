#pragma once
// How many scans a JPEG file may have before both libraries' readers call it corrupt. A
// progressive file needs about ten (libjpeg's own script writes ten for colour); each scan
// beyond them costs a pass over the whole picture's coefficients, so a file of tiny scans costs
// work far out of proportion to its bytes. libjpeg-turbo advises stopping past a few hundred.
namespace jpeg {

constexpr int kMaxScans = 500;

}  // namespace jpeg
