// The directory of a tagged image file: the chosen IFD's tags, with counts and offsets checked
// against the stream before anything is allocated or read.
#include "tiff_directory.h"

#include <map>

#include "formats/tiff_names.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/tiff_format.h"

bool PGTIFFCountIFDs = false;
int PGTIFFMaxIFDs = 1000;

namespace {

[[noreturn]] void Refuse(const std::string& text) { throw EPGTIFFileFormatReader(kTIFFPrefix + text); }

using namespace tiff;

class TEntries {
 public:
  TEntries(TTIFFSource& source, std::int64_t start, std::int64_t ifd) : source_(source), start_(start) {
    const int count = source.U16(start + ifd);
    raw_.resize(static_cast<std::size_t>(count) * 12);
    source.Bytes(start + ifd + 2, raw_.data(), static_cast<std::int64_t>(raw_.size()));
    // A tag that occurs twice: the later entry wins.
    for (int i = 0; i < count; ++i) byTag_[source.U16Of(raw_.data() + 12 * i)] = raw_.data() + 12 * i;
  }

  std::uint32_t Single(std::uint16_t tag) {
    const std::uint8_t* e = Find(tag);
    if (!e) return 0;
    switch (source_.U16Of(e + 2)) {
      case kByte: return e[8];
      case kShort: return source_.U16Of(e + 8);
      case kLong: return source_.U32Of(e + 8);
      default: UnsupportedType(e);
    }
  }

  std::vector<std::uint32_t> Array(std::uint16_t tag) {
    std::vector<std::uint32_t> values;
    const std::uint8_t* e = Find(tag);
    if (!e) return values;
    const int type = source_.U16Of(e + 2);
    const int size = type == kByte ? 1 : type == kShort ? 2 : type == kLong ? 4 : 0;
    if (size == 0) UnsupportedType(e);
    const std::uint32_t count = source_.U32Of(e + 4);
    if (count == 0) return values;
    const std::int64_t bytes = std::int64_t{count} * size;
    std::vector<std::uint8_t> data;
    const std::uint8_t* p = e + 8;
    if (bytes > 4) {
      // Bounded by the stream before the arrays are made.
      const std::int64_t at = start_ + source_.U32Of(e + 8);
      if (at + bytes > source_.Size()) Refuse(PGLangStr(pgsUnexpectedEndOfFile));
      data.resize(static_cast<std::size_t>(bytes));
      source_.Bytes(at, data.data(), bytes);
      p = data.data();
    }
    values.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
      values[i] = size == 1 ? p[i] : size == 2 ? source_.U16Of(p + 2 * i) : source_.U32Of(p + 4 * i);
    return values;
  }

 private:
  const std::uint8_t* Find(std::uint16_t tag) const {
    auto it = byTag_.find(tag);
    return it == byTag_.end() ? nullptr : it->second;
  }
  [[noreturn]] void UnsupportedType(const std::uint8_t* e) {
    Refuse("Unsupported field Type: " + std::to_string(source_.U16Of(e + 2)));
  }

  TTIFFSource& source_;
  std::int64_t start_;
  std::vector<std::uint8_t> raw_;
  std::map<std::uint16_t, const std::uint8_t*> byTag_;
};

bool AllEqual(const std::vector<std::uint32_t>& values, std::uint32_t v) {
  for (std::uint32_t x : values)
    if (x != v) return false;
  return true;
}

}  // namespace

void TTIFFSource::Bytes(std::int64_t Position, void* Out, std::int64_t Count) {
  if (Position < 0 || Count < 0 || Position + Count > size_) Refuse(PGLangStr(pgsUnexpectedEndOfFile));
  stream_->SetPosition(Position);
  if (stream_->Read(Out, Count) != Count) Refuse(PGLangStr(pgsUnexpectedEndOfFile));
}
std::uint16_t TTIFFSource::U16(std::int64_t Position) {
  std::uint8_t b[2];
  Bytes(Position, b, 2);
  return U16Of(b);
}
std::uint32_t TTIFFSource::U32(std::int64_t Position) {
  std::uint8_t b[4];
  Bytes(Position, b, 4);
  return U32Of(b);
}
std::uint16_t TTIFFSource::U16Of(const std::uint8_t* p) const {
  return static_cast<std::uint16_t>(big_ ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
}
std::uint32_t TTIFFSource::U32Of(const std::uint8_t* p) const {
  return big_ ? std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3]
              : std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

namespace {

// The byte order and the header's mark; returns the first directory's offset.
std::uint32_t ReadHeader(TStream* Stream, TTIFFSource& source, TTIFFDirectory& d) {
  std::uint8_t order[2] = {};
  if (Stream->Read(order, 2) != 2) Refuse(PGLangStrS1(pgsNotAFile, "TIF"));
  if (order[0] == 'M' && order[1] == 'M') d.BigEndian = true;
  else if (order[0] != 'I' || order[1] != 'I')
    Refuse(PGLangStrS1(pgsNotAFile, "TIF"));
  source.SetBigEndian(d.BigEndian);
  if (d.Start + 8 > source.Size() || source.U16(d.Start + 2) != 42) Refuse(PGLangStrS1(pgsNotAFile, "TIF"));
  return source.U32(d.Start + 4);
}

// Walks the chain of directories to count them and returns directory Index's offset; a chain
// that leaves the stream or passes the limit counts as one image, the first.
std::uint32_t CountDirectories(TTIFFSource& source, TTIFFDirectory& d, std::uint32_t first, int Index) {
  const auto broken = [&] {
    d.ImageCount = 1;
    return first;
  };
  std::uint32_t chosen = first;
  int count = 0;
  for (std::uint32_t offset = first; offset != 0;) {
    if (count == Index) chosen = offset;
    const std::int64_t at = d.Start + offset;
    if (at + 2 > source.Size()) return broken();
    const std::int64_t next = at + 2 + std::int64_t{source.U16(at)} * 12;
    if (next + 4 > source.Size()) return broken();
    offset = source.U32(next);
    if (++count > PGTIFFMaxIFDs) return broken();
  }
  d.ImageCount = count;
  return chosen;
}

// Every tag is read, the unused ones too, so that their counts and places are checked.
void ReadTags(TEntries& entries, TTIFFDirectory& d) {
  entries.Single(kNewSubfileType);
  d.Width = entries.Single(kImageWidth);
  d.Height = entries.Single(kImageLength);
  d.BitsPerSample = entries.Array(kBitsPerSample);
  d.Compression = entries.Single(kCompression);
  d.Photometric = entries.Single(kPhotometric);
  d.StripOffsets = entries.Array(kStripOffsets);
  d.SamplesPerPixel = entries.Single(kSamplesPerPixel);
  d.RowsPerStrip = entries.Single(kRowsPerStrip);
  entries.Array(kStripByteCounts);
  d.PlanarConfiguration = entries.Single(kPlanarConfiguration);
  d.ColorMap = entries.Array(kColorMap);
}

void CheckSamples(const TTIFFDirectory& d) {
  if (d.PlanarConfiguration > 1) Refuse(PGLangStrS1(pgsInvalid, "PlanarConfiguration"));
  const std::uint32_t spp = d.SamplesPerPixel;
  if (spp != 1 && spp != 3 && spp != 4) Refuse("Invalid SamplesPerPixel");
  if (d.BitsPerSample.size() != spp) Refuse("Invalid count of SamplesPerPixel");
  const std::uint32_t bits = d.BitsPerSample[0];
  const std::uint32_t p = d.Photometric;
  const bool accepted = (spp == 1 && (p == 0 || p == 1 || p == 3) && (bits == 1 || bits == 4 || bits == 8)) ||
                        (p == 2 && spp == 3 && bits == 8) || ((p == 2 || p == 5) && spp == 4 && bits == 8);
  if (!accepted || !AllEqual(d.BitsPerSample, bits)) Refuse("Invalid SamplesPerPixel");
}

// Rows per strip and the length divide the rows into strips.
void CheckExtent(TTIFFDirectory& d) {
  if (d.Width == 0) Refuse(PGLangStrS1(pgsInvalid, "ImageWidth"));
  if (d.Height == 0) Refuse(PGLangStrS1(pgsInvalid, "ImageLength"));
  if (d.RowsPerStrip == 0) {
    if (d.StripOffsets.size() != 1) Refuse("Invalid RowsPerStrip");
    d.RowsPerStrip = d.Height;
  }
}

}  // namespace

TTIFFDirectory ReadTIFFDirectory(TStream* Stream, int Index) {
  TTIFFDirectory d;
  d.Start = Stream->Position();
  TTIFFSource source(Stream, false);
  const std::uint32_t first = ReadHeader(Stream, source, d);
  const std::uint32_t chosen = PGTIFFCountIFDs ? CountDirectories(source, d, first, Index) : first;
  if (Index < 0 || Index > d.ImageCount - 1) Refuse(PGLangStrS1(pgsInvalid, "Index"));
  TEntries entries(source, d.Start, chosen);
  ReadTags(entries, d);
  CheckSamples(d);
  CheckExtent(d);
  return d;
}
