// The family's bitmap resources, drawn from character pictures: one character a pixel.
#include "components/component_resources.h"

#include <memory>
#include <mutex>
#include <vector>

#include "vcl/graphics_images.h"
#include "vcl/streams.h"

namespace {

TColor ArtColor(char c) {
  switch (c) {
    case 'k': return clBlack;
    case 'w': return clWhite;
    case 'g': return clGray;
    case 's': return clSilver;
    case 'n': return clNavy;
    case 'b': return clBlue;
    case 'y': return clYellow;
    case 'r': return clMaroon;
    case 'l': return clGreen;
    default: return clOlive;  // '.': the transparent colour
  }
}

struct TResourceArt {
  const char* Name;
  std::vector<const char*> Rows;
};

const std::vector<TResourceArt>& Pictures() {
  static const std::vector<TResourceArt> pictures = {
      {"BM_CLRBTNDOWN", {".....", "kkkkk", ".kkk.", "..k..", "....."}},
      {"ZEV_TRUETYPE",
       {"............", "ggggggg.....", "g..g..g.....", "...g........", "...g.kkkkkkk", "...g.k..k..k", "..ggg...k...",
        "........k...", "........k...", "........k...", ".......kkk..", "............"}},
      {"ZEV_FIXEDPITCH",
       {"............", ".kkkkkkkk...", ".k......k...", ".k.kkkk.k...", ".k.k....k...", ".k.kkk..k...", ".k.k....k...",
        ".k.k....k...", ".k......k...", ".kkkkkkkk...", "............", "............"}},
      {"ZEV_TRUETYPEFIXED",
       {"............", "bbbbbbb.....", "b..b..b.....", "...b........", "...b.kkkkkkk", "...b.k..k..k", "..bbb...k...",
        "........k...", "........k...", "........k...", ".......kkk..", "............"}},
      {"ZEV_PRINTER",
       {"............", "...wwwwww...", "...w....w...", "...wwwwww...", ".kkkkkkkkkk.", ".kssssssssk.", ".kssssssllk.",
        ".kssssssssk.", ".kkkkkkkkkk.", "...w....w...", "...wwwwww...", "............"}},
      {"ZEV_DEVICE",
       {"............", "............", ".kkkkkkkkkk.", ".kwwwwwwwwk.", ".kw......wk.", ".kw......wk.", ".kw......wk.",
        ".kwwwwwwwwk.", ".kkkkkkkkkk.", "....kkkk....", "..kkkkkkkk..", "............"}},
      {"ZEV_UPARROW", {"........", "...kk...", "..kkkk..", ".kkkkkk.", "kkkkkkkk", "........"}},
      {"ZEV_DOWNARROW", {"........", "kkkkkkkk", ".kkkkkk.", "..kkkk..", "...kk...", "........"}},
      {"ZEV_EXECUTABLE",
       {"................", "................", "kkkkkkkkkkkkkkkk", "knnnnnnnnnnnnnnk", "knnnnnnnnnnwswsk",
        "kkkkkkkkkkkkkkkk", "kwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwk",
        "kwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwk", "kkkkkkkkkkkkkkkk", "................",
        "................"}},
      {"ZEV_CLOSEDFOLDER",
       {"................", "................", "..kkkkk.........", ".kyyyyyk........", "kyyyyyyykkkkkk..",
        "kwwwwwwwwwwwwgk.", "kwyyyyyyyyyyygk.", "kwyyyyyyyyyyygk.", "kwyyyyyyyyyyygk.", "kwyyyyyyyyyyygk.",
        "kwyyyyyyyyyyygk.", "kwyyyyyyyyyyygk.", "kwyyyyyyyyyyygk.", "kggggggggggggggk", "kkkkkkkkkkkkkkk.",
        "................"}},
      {"ZEV_UNKNOWNFILE",
       {"..kkkkkkkkk.....", "..kwwwwwwwkk....", "..kwwwwwwwkwk...", "..kwwwwwwwkkkk..", "..kwwwwwwwwwwk..",
        "..kwwwkkkwwwwk..", "..kwwkwwwkwwwk..", "..kwwwwwkwwwwk..", "..kwwwwkwwwwwk..", "..kwwwwkwwwwwk..",
        "..kwwwwwwwwwwk..", "..kwwwwkwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..",
        "................"}},
  };
  return pictures;
}

std::string BitmapFile(const TResourceArt& Art) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetWidth(static_cast<int>(std::string(Art.Rows[0]).size()));
  bitmap.SetHeight(static_cast<int>(Art.Rows.size()));
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      bitmap.Canvas()->SetPixels(x, y, ArtColor(Art.Rows[static_cast<size_t>(y)][x]));
  TMemoryStream stream;
  bitmap.SaveToStream(&stream);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

}  // namespace

void RegisterComponentResources() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Resource bytes must outlive every load.
    static std::vector<std::string> files;
    files.reserve(Pictures().size());
    for (const TResourceArt& art : Pictures()) {
      files.push_back(BitmapFile(art));
      RegisterBitmapResource(art.Name, files.back().data(), files.back().size());
    }
  });
}

namespace {
TBitmap* LoadShared(const char* Name) {
  RegisterComponentResources();
  auto* b = new TBitmap;
  b->LoadFromResourceName(nullptr, Name);
  return b;
}
}  // namespace

// Loaded once for the whole program, as the family's unit does at start-up, and kept to its end.
TBitmap* ZevUpArrow() {
  static std::unique_ptr<TBitmap> arrow(LoadShared("ZEV_UPARROW"));
  return arrow.get();
}

TBitmap* ZevDownArrow() {
  static std::unique_ptr<TBitmap> arrow(LoadShared("ZEV_DOWNARROW"));
  return arrow.get();
}
