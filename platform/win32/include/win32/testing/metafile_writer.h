#pragma once
// Tiny writers of metafiles record by record, for tests and fuzz seeds: what they emit is exactly
// what the caller lists, malformed records included.
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "win32/metafile.h"

namespace metafile_test {

inline void Put16(std::vector<BYTE>& out, int v) {
  out.push_back(static_cast<BYTE>(v & 0xFF));
  out.push_back(static_cast<BYTE>((v >> 8) & 0xFF));
}
inline void Put32(std::vector<BYTE>& out, DWORD v) {
  Put16(out, static_cast<int>(v & 0xFFFF));
  Put16(out, static_cast<int>(v >> 16));
}

// Windows format: parameters are 16-bit words in the order the record stores them.
class WmfWriter {
 public:
  explicit WmfWriter(WORD objects = 8) : objects_(objects) {}

  void Record(WORD function, std::initializer_list<int> words) { Record(function, std::vector<int>(words)); }
  void Record(WORD function, const std::vector<int>& words, const std::vector<BYTE>& tail = {}) {
    std::size_t size = 3 + words.size() + (tail.size() + 1) / 2;
    Put32(records_, static_cast<DWORD>(size));
    Put16(records_, function);
    for (int w : words) Put16(records_, w);
    records_.insert(records_.end(), tail.begin(), tail.end());
    if (tail.size() % 2) records_.push_back(0);
    maxRecord_ = std::max<DWORD>(maxRecord_, static_cast<DWORD>(size));
  }
  // Bytes appended as they are, for records that lie about their size.
  void Raw(const std::vector<BYTE>& bytes) { records_.insert(records_.end(), bytes.begin(), bytes.end()); }

  // The words of a DWORD, low word first.
  static std::vector<int> Dword(DWORD v) { return {static_cast<int>(v & 0xFFFF), static_cast<int>(v >> 16)}; }

  std::vector<BYTE> Finish() const {
    std::vector<BYTE> out;
    Put16(out, 1);
    Put16(out, 9);
    Put16(out, 0x0300);
    Put32(out, static_cast<DWORD>(9 + records_.size() / 2 + 3));
    Put16(out, objects_);
    Put32(out, maxRecord_);
    Put16(out, 0);
    out.insert(out.end(), records_.begin(), records_.end());
    Put32(out, 3);
    Put16(out, META_EOF);
    return out;
  }
  // With the placeable header in front: bounding box and units per inch.
  std::vector<BYTE> FinishPlaceable(RECT box, WORD unitsPerInch) const {
    std::vector<BYTE> out;
    Put32(out, 0x9AC6CDD7);
    Put16(out, 0);
    Put16(out, box.left);
    Put16(out, box.top);
    Put16(out, box.right);
    Put16(out, box.bottom);
    Put16(out, unitsPerInch);
    Put32(out, 0);
    WORD sum = 0;
    for (std::size_t i = 0; i < out.size(); i += 2) sum ^= static_cast<WORD>(out[i] | out[i + 1] << 8);
    Put16(out, sum);
    std::vector<BYTE> body = Finish();
    out.insert(out.end(), body.begin(), body.end());
    return out;
  }

 private:
  WORD objects_;
  DWORD maxRecord_ = 3;
  std::vector<BYTE> records_;
};

// The device an enhanced file's records were made for, and the pixels they cover.
struct EmfReference {
  RECTL bounds{0, 0, 960, 960};
  SIZEL pixels{960, 960};
  SIZEL millimetres{254, 254};
  SIZEL micrometres{0, 0};  // when given, the header takes its 108-byte form that holds them
};

// Enhanced format: parameters are 32-bit values after the type and size.
class EmfWriter {
 public:
  explicit EmfWriter(WORD handles = 8) : handles_(handles) {}

  void Record(DWORD type, std::initializer_list<DWORD> values) { Record(type, std::vector<DWORD>(values)); }
  void Record(DWORD type, const std::vector<DWORD>& values, const std::vector<BYTE>& tail = {}) {
    std::size_t size = 8 + 4 * values.size() + ((tail.size() + 3) & ~std::size_t{3});
    Put32(records_, type);
    Put32(records_, static_cast<DWORD>(size));
    for (DWORD v : values) Put32(records_, v);
    records_.insert(records_.end(), tail.begin(), tail.end());
    while (records_.size() % 4) records_.push_back(0);
    ++count_;
  }
  void Raw(const std::vector<BYTE>& bytes) { records_.insert(records_.end(), bytes.begin(), bytes.end()); }

  static DWORD I(int v) { return static_cast<DWORD>(v); }
  static DWORD F(float v) {
    DWORD d;
    std::memcpy(&d, &v, 4);
    return d;
  }
  // Two 16-bit values in one DWORD (the point form of the 16-bit records).
  static DWORD Pt16(int x, int y) { return static_cast<DWORD>(x & 0xFFFF) | static_cast<DWORD>(y & 0xFFFF) << 16; }

  using Reference = EmfReference;

  // The frame in 0.01 mm; the reference device is 96 dpi (960 pixels in 254 mm) unless given.
  std::vector<BYTE> Finish(RECTL frame, const Reference& device = {}) const {
    const bool extended = device.micrometres.cx != 0 || device.micrometres.cy != 0;
    const DWORD headerSize = extended ? 108 : 88;
    std::vector<BYTE> out;
    std::size_t total = headerSize + records_.size() + 20;
    Put32(out, EMR_HEADER);
    Put32(out, headerSize);
    for (LONG v : {device.bounds.left, device.bounds.top, device.bounds.right, device.bounds.bottom})
      Put32(out, static_cast<DWORD>(v));
    for (LONG v : {frame.left, frame.top, frame.right, frame.bottom}) Put32(out, static_cast<DWORD>(v));
    Put32(out, ENHMETA_SIGNATURE);
    Put32(out, 0x10000);
    Put32(out, static_cast<DWORD>(total));
    Put32(out, count_ + 2);
    Put16(out, handles_);
    Put16(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (LONG v : {device.pixels.cx, device.pixels.cy, device.millimetres.cx, device.millimetres.cy})
      Put32(out, static_cast<DWORD>(v));
    if (extended) {
      for (int i = 0; i < 3; ++i) Put32(out, 0);  // no pixel format, no OpenGL
      Put32(out, static_cast<DWORD>(device.micrometres.cx));
      Put32(out, static_cast<DWORD>(device.micrometres.cy));
    }
    out.insert(out.end(), records_.begin(), records_.end());
    for (DWORD v : {EMR_EOF, DWORD{20}, DWORD{0}, DWORD{16}, DWORD{20}}) Put32(out, v);
    return out;
  }

 private:
  WORD handles_;
  DWORD count_ = 0;
  std::vector<BYTE> records_;
};

// A packed bottom-up 24-bit DIB (header and rows) from rows of colours, top row first.
inline std::vector<BYTE> Dib24(const std::vector<std::vector<COLORREF>>& rows) {
  std::vector<BYTE> out;
  int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
  for (DWORD v : {DWORD{40}, static_cast<DWORD>(w), static_cast<DWORD>(h)}) Put32(out, v);
  Put16(out, 1);
  Put16(out, 24);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    std::size_t start = out.size();
    for (COLORREF c : rows[static_cast<std::size_t>(y)]) {
      out.push_back(GetBValue(c));
      out.push_back(GetGValue(c));
      out.push_back(GetRValue(c));
    }
    while ((out.size() - start) % 4) out.push_back(0);
  }
  return out;
}

// UTF-16 code units as bytes.
inline std::vector<BYTE> Utf16(const std::u16string& text) {
  std::vector<BYTE> out;
  for (char16_t c : text) Put16(out, c);
  return out;
}

}  // namespace metafile_test
