#pragma once
// The largest pixel block a DIB section gets; CreateDIBSection fails for a larger one. Every
// picture of the pixel graphics and imaging libraries lives in a DIB section, so this is the one
// size limit of both. 1 GiB also keeps every stride and image size of a section within 32 bits.
inline constexpr long long kMaxDibBytes = 1LL << 30;
