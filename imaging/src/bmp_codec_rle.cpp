#include "imaging/bitmap_rows.h"
#include "imaging/bmp_codec.h"

#include <algorithm>
#include <cstring>

#include "vcl/system.h"

namespace {

constexpr int kMaxRun = 255;

void PutEntry(std::uint8_t* p, const TColorTriple& c) {
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
}

struct Rle8 {
  static std::uint8_t* Run(std::uint8_t* out, int count, std::uint8_t index) {
    *out++ = static_cast<std::uint8_t>(count);
    *out++ = index;
    return out;
  }
  static std::uint8_t* Literal(std::uint8_t* out, const std::uint8_t* p, int k) {
    if (k <= 2) {
      for (int i = 0; i < k; ++i) out = Run(out, 1, p[i]);
      return out;
    }
    *out++ = 0;
    *out++ = static_cast<std::uint8_t>(k);
    std::memcpy(out, p, static_cast<std::size_t>(k));
    out += k;
    if (k & 1) *out++ = 0;
    return out;
  }
};

struct Rle4 {
  static std::uint8_t Pair(std::uint8_t high, std::uint8_t low) {
    return static_cast<std::uint8_t>((high & 15) << 4 | (low & 15));
  }
  static std::uint8_t* Run(std::uint8_t* out, int count, std::uint8_t index) {
    *out++ = static_cast<std::uint8_t>(count);
    *out++ = Pair(index, index);
    return out;
  }
  static std::uint8_t* Literal(std::uint8_t* out, const std::uint8_t* p, int k) {
    if (k == 1) {
      *out++ = 1;
      *out++ = Pair(p[0], 0);
      return out;
    }
    if (k == 2) {
      *out++ = 2;
      *out++ = Pair(p[0], p[1]);
      return out;
    }
    *out++ = 0;
    *out++ = static_cast<std::uint8_t>(k);
    int bytes = (k + 1) / 2;
    for (int i = 0; i < bytes; ++i) *out++ = Pair(p[2 * i], 2 * i + 1 < k ? p[2 * i + 1] : 0);
    if (bytes & 1) *out++ = 0;
    return out;
  }
};

template <typename Codec>
std::size_t EncodeRow(const std::uint8_t* row, int n, std::uint8_t* out) {
  std::uint8_t* start = out;
  int literal = 0, p = 0;
  while (p < n) {
    if (p - literal == kMaxRun) {
      out = Codec::Literal(out, row + literal, p - literal);
      literal = p;
    }
    if (p == n - 1 || row[p] != row[p + 1]) {
      ++p;
      continue;
    }
    if (p > literal) out = Codec::Literal(out, row + literal, p - literal);
    int end = p + 1;
    while (end < n && end - p < kMaxRun && row[end] == row[p]) ++end;
    out = Codec::Run(out, end - p, row[p]);
    literal = p = end;
  }
  if (p > literal) out = Codec::Literal(out, row + literal, p - literal);
  *out++ = 0;
  *out++ = 0;
  return static_cast<std::size_t>(out - start);
}

// Walks run-length data from the bottom row up, handing each pixel's index to `put`. Everything
// outside the picture is dropped and nothing is read past the data.
template <bool Nibbles>
void Decode(TBitmap& bitmap, const std::uint8_t* data, std::size_t size, const TProgressRec& progress,
            const TColorTriple* table) {
  const int width = bitmap.Width(), height = bitmap.Height();
  if (bitmap.PixelFormat() != pf24bit || width < 1) return;
  const PixelRows rows = RowsOf(bitmap);
  // What a delta, an early end of line or the end of the data skips is palette entry 0.
  for (int y = 0; y < height; ++y)
    for (int i = 0; i < width; ++i) PutEntry(rows.Row(y) + 3 * i, table[0]);
  int x = 0, row = 0;  // row counts from the bottom
  auto put = [&](std::uint8_t index) {
    if (x >= width) return;
    PutEntry(rows.Row(height - 1 - row) + 3 * x, table[index]);
    ++x;
  };
  auto nibble = [](std::uint8_t byte, int i) { return static_cast<std::uint8_t>(i & 1 ? byte & 15 : byte >> 4); };
  std::size_t i = 0;
  while (i + 1 < size && row < height) {
    const int count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count && x < width; ++k)
        put(Nibbles ? nibble(static_cast<std::uint8_t>(value), k) : static_cast<std::uint8_t>(value));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
      if (progress) progress.Report(static_cast<int>(Trunc(row * 100.0L / height)));
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (i + 1 >= size) break;
      x = std::min(x + data[i], width);
      row = std::min(row + data[i + 1], height);
      i += 2;
    } else {  // absolute run
      const std::size_t bytes = Nibbles ? (static_cast<std::size_t>(value) + 1) / 2 : static_cast<std::size_t>(value);
      for (int k = 0; k < value; ++k) {
        std::size_t at = i + (Nibbles ? static_cast<std::size_t>(k) / 2 : static_cast<std::size_t>(k));
        if (at >= size) break;
        put(Nibbles ? nibble(data[at], k) : data[at]);
      }
      i += bytes + (bytes & 1);
    }
  }
}

}  // namespace

std::size_t BMPEncodeRLE8Row(const std::uint8_t* row, int count, std::uint8_t* out) {
  return EncodeRow<Rle8>(row, count, out);
}

std::size_t BMPEncodeRLE4Row(const std::uint8_t* row, int count, std::uint8_t* out) {
  return EncodeRow<Rle4>(row, count, out);
}

void BMPDecodeRLE8(TBitmap& Bitmap, const std::uint8_t* data, std::size_t size, const TProgressRec& Progress,
                   const TColorTriple* colorTable) {
  Decode<false>(Bitmap, data, size, Progress, colorTable);
}

void BMPDecodeRLE4(TBitmap& Bitmap, const std::uint8_t* data, std::size_t size, const TProgressRec& Progress,
                   const TColorTriple* colorTable) {
  Decode<true>(Bitmap, data, size, Progress, colorTable);
}
