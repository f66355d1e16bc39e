// Icon and cursor files: a directory of entries, each a DIB (header, colour table, XOR image, AND
// mask) or a PNG stream, which is refused.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "win32/errors.h"
#include "win32/icons.h"
#include "win32/kernel.h"
#include "win32/little_endian.h"

namespace {

constexpr std::size_t kDirectoryHeader = 6, kDirectoryEntry = 16, kInfoHeader = 40;
constexpr int kMaxSide = 1024;  // far beyond any icon; keeps hostile headers from allocating much

std::size_t Stride(std::int64_t width, int bits) { return static_cast<std::size_t>((width * bits + 31) / 32 * 4); }

// One entry's image after its header has been checked against the file.
struct EntryImage {
  const BYTE* data;  // the BITMAPINFOHEADER
  std::size_t size;  // bytes of the entry that lie inside the file
  int width, height;  // of the icon (the header's height counts XOR and AND images)
  int bits;
  std::size_t colors;  // colour-table entries
  DWORD hotX, hotY;
};

enum class EntryResult { Ok, Invalid, Png };

EntryResult ReadEntry(const BYTE* file, std::size_t fileSize, const BYTE* entry, bool cursor, EntryImage& out) {
  const std::uint64_t bytes = ReadLE32(entry + 8), offset = ReadLE32(entry + 12);
  if (offset >= fileSize) return EntryResult::Invalid;
  const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, fileSize - offset));
  const BYTE* data = file + offset;
  if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0) return EntryResult::Png;
  if (size < kInfoHeader) return EntryResult::Invalid;
  const std::uint32_t headerSize = ReadLE32(data);
  const auto width = static_cast<std::int32_t>(ReadLE32(data + 4)),
             height2 = static_cast<std::int32_t>(ReadLE32(data + 8));
  const int bits = ReadLE16(data + 14);
  const std::uint32_t compression = ReadLE32(data + 16), used = ReadLE32(data + 32);
  if (headerSize < kInfoHeader || headerSize > size || width < 1 || width > kMaxSide || height2 < 2 ||
      height2 / 2 > kMaxSide || compression != BI_RGB)
    return EntryResult::Invalid;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return EntryResult::Invalid;
  std::size_t colors = bits <= 8 ? (used ? used : 1u << bits) : 0;
  if (colors > 256) return EntryResult::Invalid;
  const int height = height2 / 2;
  // The header, the colour table and the XOR image must be there; a short AND mask reads opaque.
  if (headerSize + 4 * colors + Stride(width, bits) * height > size) return EntryResult::Invalid;
  out = {data, size, width, height, bits, colors, cursor ? ReadLE16(entry + 4) : 0u, cursor ? ReadLE16(entry + 6) : 0u};
  return EntryResult::Ok;
}

int ScreenBits() {
  HDC screen = GetDC(nullptr);
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits;
}

// The nearest size first; among those the deepest colour the screen shows, else the shallowest.
bool Better(const EntryImage& a, const EntryImage& b, int cx, int cy, int screenBits) {
  auto distance = [&](const EntryImage& e) {
    return (cx ? std::abs(e.width - cx) : 0) + (cy ? std::abs(e.height - cy) : 0);
  };
  if (distance(a) != distance(b)) return distance(a) < distance(b);
  bool aFits = a.bits <= screenBits, bFits = b.bits <= screenBits;
  if (aFits != bFits) return aFits;
  return aFits ? a.bits > b.bits : a.bits < b.bits;
}

HBITMAP MakeColourImage(const EntryImage& e, std::vector<BYTE>& andMask) {
  const BYTE* table = e.data + ReadLE32(e.data);
  const BYTE* xorBits = table + 4 * e.colors;
  const std::size_t xorStride = Stride(e.width, e.bits), maskStride = Stride(e.width, 1);
  const BYTE* maskBits = xorBits + xorStride * e.height;
  const std::size_t maskAt = static_cast<std::size_t>(maskBits - e.data);
  const std::size_t maskAvailable = e.size > maskAt ? e.size - maskAt : 0;
  std::vector<BYTE> mask(maskStride * e.height, 0);
  std::memcpy(mask.data(), maskBits, std::min(mask.size(), maskAvailable));

  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), e.width, e.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* memory = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
  if (!colour) return nullptr;
  auto* out = static_cast<BYTE*>(memory);
  const std::size_t outStride = Stride(e.width, 24);

  bool hasAlpha = false;
  if (e.bits == 32)
    for (int y = 0; y < e.height && !hasAlpha; ++y)
      for (int x = 0; x < e.width && !hasAlpha; ++x) hasAlpha = xorBits[xorStride * y + 4 * x + 3] != 0;

  for (int y = 0; y < e.height; ++y) {  // bottom-up rows in both
    const BYTE* in = xorBits + xorStride * y;
    BYTE* px = out + outStride * y;
    BYTE* maskRow = &mask[maskStride * y];
    for (int x = 0; x < e.width; ++x, px += 3) {
      if (e.bits >= 24) {
        std::memcpy(px, in + (e.bits / 8) * x, 3);
        // Alpha drawn through the mask: what is mostly transparent shows the background.
        if (hasAlpha && in[4 * x + 3] < 128) maskRow[x >> 3] |= static_cast<BYTE>(0x80 >> (x & 7));
      } else {
        std::size_t index = e.bits == 8   ? in[x]
                            : e.bits == 4 ? (x & 1 ? in[x >> 1] & 15 : in[x >> 1] >> 4)
                                          : (in[x >> 3] >> (7 - (x & 7))) & 1;
        if (index < e.colors) std::memcpy(px, table + 4 * index, 3);  // beyond the table: black
      }
      // A masked pixel's XOR colour would tint the background; transparent parts keep it.
      if (maskRow[x >> 3] & (0x80 >> (x & 7)) && hasAlpha) std::memset(px, 0, 3);
    }
  }
  // The mono bitmap takes top-down rows padded to 16 bits.
  const std::size_t wordStride = static_cast<std::size_t>((e.width + 15) / 16 * 2);
  andMask.assign(wordStride * e.height, 0);
  for (int y = 0; y < e.height; ++y)
    std::memcpy(&andMask[wordStride * y], &mask[maskStride * (e.height - 1 - y)], wordStride);
  return colour;
}

}  // namespace

namespace icons {

HICON IconFromFileData(const BYTE* data, std::size_t size, UINT type, int cx, int cy, UINT flags) {
  if (type != IMAGE_ICON && type != IMAGE_CURSOR) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Whatever fails from here on is the file's fault.
  SetLastError(ERROR_INVALID_DATA);
  if (!data || size < kDirectoryHeader) return nullptr;
  const bool cursor = type == IMAGE_CURSOR;
  if (flags & LR_DEFAULTSIZE) {
    if (cx == 0) cx = 32;
    if (cy == 0) cy = 32;
  }
  const int kind = ReadLE16(data + 2), count = ReadLE16(data + 4);
  if (ReadLE16(data) != 0 || (kind != 1 && kind != 2) || count == 0 ||
      kDirectoryHeader + kDirectoryEntry * count > size)
    return nullptr;
  const int screenBits = ScreenBits();
  std::optional<EntryImage> best;
  bool sawPng = false;
  for (int i = 0; i < count; ++i) {
    EntryImage e{};
    switch (ReadEntry(data, size, data + kDirectoryHeader + kDirectoryEntry * i, cursor, e)) {
      case EntryResult::Ok:
        if (!best || Better(e, *best, cx, cy, screenBits)) best = e;
        break;
      case EntryResult::Png: sawPng = true; break;
      case EntryResult::Invalid: break;
    }
  }
  if (!best) {
    if (sawPng) SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  std::vector<BYTE> andMask;
  HBITMAP colour = MakeColourImage(*best, andMask);
  if (!colour) return nullptr;
  HBITMAP mask = CreateBitmap(best->width, best->height, 1, 1, andMask.data());
  ICONINFO info{cursor ? FALSE : TRUE, best->hotX, best->hotY, mask, colour};
  HICON icon = mask ? CreateIconIndirect(&info) : nullptr;
  DeleteObject(mask);
  DeleteObject(colour);
  if (icon) SetLastError(ERROR_SUCCESS);
  return icon;
}

}  // namespace icons

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (!(flags & LR_LOADFROMFILE) || (type != IMAGE_ICON && type != IMAGE_CURSOR) || !name) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  DWORD high = 0, low = GetFileSize(file, &high);
  // An icon file larger than this is no icon file.
  constexpr DWORD kMaxFile = 64u << 20;
  std::vector<BYTE> bytes;
  DWORD read = 0;
  const bool fits = high == 0 && low <= kMaxFile;
  if (fits) bytes.resize(low);
  const bool readOk = fits && (low == 0 || ReadFile(file, bytes.data(), low, &read, nullptr));
  CloseHandle(file);
  if (fits && !readOk) return nullptr;  // ReadFile said why
  if (!fits || read != low) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return icons::IconFromFileData(bytes.data(), bytes.size(), type, cx, cy, flags);
}
