#pragma once
// The LZW decoder of TIFF strips (compression 5), plugged into the parameter record's
// TiffLzwDecoder: the strip is handed out RequestSize decoded bytes per call.
#include <cstddef>
#include <cstdint>

// With State empty, starts on the strip (Data, DataSize) and returns its first RequestSize bytes;
// later calls return the next ones (Data is then not looked at again, but must be given); a call
// with no Data frees the state and returns nothing. The bytes stay valid until the next call.
// RequestSize stays that of the first call: a call with another size returns nothing.
// Once the strip's end code, its last byte or a code the table cannot hold is met, the rest of
// that request and every later one are zeros.
const std::uint8_t* TiffLzwDecode(const std::uint8_t* Data, std::size_t DataSize, int RequestSize, void*& State);
