// Making metafile handles from memory (the records walked once and refused when one overruns the
// data) and the calls that read and play them.
#include "metafile/metafile_object.h"

#include <cmath>
#include <memory>

#include "metafile/record_reader.h"

namespace metafile {

MetafileObject* FindMetafile(HENHMETAFILE handle) {
  return gdi::Find<MetafileObject>(handle, gdi::ObjectKind::EnhMetafile);
}

namespace {

constexpr double kHundredthMmPerInch = 2540;
constexpr std::size_t kMicrometresAt = 100;  // the reference size in micrometres, in 108-byte headers
constexpr double kMicrometresPerMm = 1000;

// The reference device's size in micrometres where the header holds it, since its millimetres
// are rounded (by up to half a millimetre, which left a drawing's last columns out of the frame);
// else in millimetres. An axis without a size keeps 96 dpi.
DPoint ReferencePixelsPerMm(const ENHMETAHEADER& h, const BYTE* data) {
  double mmX = h.szlMillimeters.cx, mmY = h.szlMillimeters.cy;
  if (data && h.nSize >= kMicrometresAt + 8) {
    RecordReader r(data, h.nSize);
    const std::int32_t umX = r.S32(kMicrometresAt), umY = r.S32(kMicrometresAt + 4);
    if (umX > 0 && umY > 0) mmX = umX / kMicrometresPerMm, mmY = umY / kMicrometresPerMm;
  }
  const auto perMm = [](LONG pixels, double mm) { return pixels > 0 && mm > 0 ? pixels / mm : 96 / 25.4; };
  return {perMm(h.szlDevice.cx, mmX), perMm(h.szlDevice.cy, mmY)};
}

// Records of 8 bytes or more, 4-byte multiples, up to EMR_EOF or the end of the data.
bool WalkEnhanced(const BYTE* data, std::size_t size) {
  std::size_t at = 0;
  while (at < size) {
    RecordReader r(data + at, size - at);
    DWORD type = r.U32(0), length = r.U32(4);
    if (r.Bad() || length < 8 || length % 4 != 0 || length > size - at) return false;
    if ((at == 0) != (type == EMR_HEADER)) return false;
    if (type == EMR_EOF) return true;
    at += length;
  }
  return true;
}

// Records of 3 words or more (size in words, function) up to META_EOF or the end of the data.
bool WalkWindowsFormat(const BYTE* data, std::size_t size, std::size_t first, MetafileObject& m) {
  bool haveOrg = false, haveExt = false;
  std::size_t at = first;
  while (at < size) {
    RecordReader r(data + at, size - at);
    DWORD words = r.U32(0);
    WORD function = r.U16(4);
    if (r.Bad() || words < 3 || words > (size - at) / 2) return false;
    if (function == META_EOF) break;
    if (function == META_SETWINDOWORG && !haveOrg && words >= 5) {
      m.windowOrg = {double(r.S16(8)), double(r.S16(6))};
      haveOrg = true;
    } else if (function == META_SETWINDOWEXT && !haveExt && words >= 5) {
      m.windowExt = {double(r.S16(8)), double(r.S16(6))};
      haveExt = m.windowExt.x != 0 && m.windowExt.y != 0;
    }
    at += std::size_t{words} * 2;
  }
  return true;
}

HENHMETAFILE Add(std::unique_ptr<MetafileObject> m) { return gdi::AddObject(std::move(m)); }

}  // namespace

}  // namespace metafile

using namespace metafile;

HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE* data) {
  if (!data || size < sizeof(ENHMETAHEADER)) return nullptr;
  auto m = std::make_unique<MetafileObject>();
  std::memcpy(&m->header, data, sizeof m->header);
  const ENHMETAHEADER& h = m->header;
  if (h.iType != EMR_HEADER || h.dSignature != ENHMETA_SIGNATURE || h.nSize < sizeof(ENHMETAHEADER) || h.nSize > size)
    return nullptr;
  // nBytes may undercount in files written carelessly; what was handed over is the data.
  std::size_t length = h.nBytes >= h.nSize && h.nBytes <= size ? h.nBytes : size;
  if (!WalkEnhanced(data, length)) return nullptr;
  m->pixelsPerMm = ReferencePixelsPerMm(h, data);
  m->bytes.assign(data, data + length);
  return Add(std::move(m));
}

HENHMETAFILE SetWinMetaFileBits(UINT size, const BYTE* data, HDC referenceDC, const METAFILEPICT* picture) {
  if (!data || size < sizeof(METAHEADER)) return nullptr;
  RecordReader r(data, size);
  WORD type = r.U16(0), headerWords = r.U16(2), version = r.U16(4);
  if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) return nullptr;
  auto m = std::make_unique<MetafileObject>();
  m->enhanced = false;
  m->objectSlots = r.U16(10);
  if (!WalkWindowsFormat(data, size, sizeof(METAHEADER), *m)) return nullptr;

  HDC screen = referenceDC ? nullptr : GetDC(nullptr);
  HDC ref = referenceDC ? referenceDC : screen;
  int dpiX = GetDeviceCaps(ref, LOGPIXELSX), dpiY = GetDeviceCaps(ref, LOGPIXELSY);
  int horzRes = GetDeviceCaps(ref, HORZRES), vertRes = GetDeviceCaps(ref, VERTRES);
  if (screen) ReleaseDC(nullptr, screen);
  if (dpiX <= 0 || dpiY <= 0) dpiX = dpiY = 96;

  LONG frameX, frameY;
  if (picture && (picture->mm == MM_ISOTROPIC || picture->mm == MM_ANISOTROPIC) && picture->xExt > 0 &&
      picture->yExt > 0) {
    frameX = picture->xExt, frameY = picture->yExt;
  } else {
    // Without a size of its own the picture is its window extent in reference pixels.
    if (m->windowExt.x == 0 || m->windowExt.y == 0) return nullptr;
    frameX = static_cast<LONG>(std::lround(std::fabs(m->windowExt.x) * kHundredthMmPerInch / dpiX));
    frameY = static_cast<LONG>(std::lround(std::fabs(m->windowExt.y) * kHundredthMmPerInch / dpiY));
  }
  ENHMETAHEADER& h = m->header;
  h.iType = EMR_HEADER;
  h.nSize = sizeof h;
  h.dSignature = ENHMETA_SIGNATURE;
  h.nVersion = 0x10000;
  h.nBytes = size;
  h.rclFrame = {0, 0, frameX, frameY};
  h.rclBounds = {0, 0, static_cast<LONG>(std::lround(frameX * dpiX / kHundredthMmPerInch)),
                 static_cast<LONG>(std::lround(frameY * dpiY / kHundredthMmPerInch))};
  h.nHandles = static_cast<WORD>(m->objectSlots + 1);
  h.szlDevice = {horzRes, vertRes};
  h.szlMillimeters = {static_cast<LONG>(std::lround(horzRes * 25.4 / dpiX)),
                      static_cast<LONG>(std::lround(vertRes * 25.4 / dpiY))};
  m->pixelsPerMm = ReferencePixelsPerMm(h, nullptr);
  m->bytes.assign(data, data + size);
  return Add(std::move(m));
}

UINT GetEnhMetaFileHeader(HENHMETAFILE handle, UINT size, ENHMETAHEADER* header) {
  MetafileObject* m = FindMetafile(handle);
  if (!m) return 0;
  if (!header) return sizeof(ENHMETAHEADER);
  UINT n = std::min<UINT>(size, sizeof(ENHMETAHEADER));
  std::memcpy(header, &m->header, n);
  return n;
}

BOOL PlayEnhMetaFile(HDC dc, HENHMETAFILE handle, const RECT* rect) {
  MetafileObject* m = FindMetafile(handle);
  if (!m || !rect || GetObjectType(dc) == 0) return FALSE;
  POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
  LPtoDP(dc, corners, 2);
  const ENHMETAHEADER& h = m->header;
  // The frame (0.01 mm) in reference pixels, stretched onto the rectangle.
  const double pxPerMmX = m->pixelsPerMm.x, pxPerMmY = m->pixelsPerMm.y;
  double fx0 = h.rclFrame.left * pxPerMmX / 100, fy0 = h.rclFrame.top * pxPerMmY / 100;
  double fw = (double(h.rclFrame.right) - h.rclFrame.left) * pxPerMmX / 100;
  double fh = (double(h.rclFrame.bottom) - h.rclFrame.top) * pxPerMmY / 100;
  double sx = fw != 0 ? (corners[1].x - corners[0].x) / fw : 1, sy = fh != 0 ? (corners[1].y - corners[0].y) / fh : 1;
  Matrix fit = Translation(-fx0, -fy0).Then(Scaling(sx, sy)).Then(Translation(corners[0].x, corners[0].y));
  bool ok = m->enhanced ? PlayEnhanced(dc, *m, fit) : PlayWindowsFormat(dc, *m, fit);
  return ok ? TRUE : FALSE;
}

BOOL DeleteEnhMetaFile(HENHMETAFILE handle) {
  if (!FindMetafile(handle)) return FALSE;
  return gdi::RemoveObject(handle) ? TRUE : FALSE;
}
