// SHGetFileInfoA: the file kinds' icons, drawn from small pictures in the 16 VGA colours.
#include <array>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "win32/kernel.h"
#include "win32/shellapi.h"
#include "win32/syscolor.h"

namespace {

constexpr int kSmall = 16;
using Art = std::array<const char*, kSmall>;

// One character a pixel: '.' lets the screen through.
COLORREF ArtColor(char c) {
  switch (c) {
    case 'k': return RGB(0, 0, 0);
    case 'w': return RGB(255, 255, 255);
    case 'y': return RGB(255, 255, 0);
    case 'o': return RGB(128, 128, 0);
    case 'n': return RGB(0, 0, 128);
    case 'b': return RGB(0, 0, 255);
    case 'g': return RGB(128, 128, 128);
    case 's': return RGB(192, 192, 192);
    case 'r': return RGB(255, 0, 0);
    case 'l': return RGB(0, 128, 0);
    case 'c': return RGB(0, 255, 255);
    default: return RGB(255, 0, 255);
  }
}

constexpr Art kFolder = {"................", "................",  "..kkkkk.........", ".kyyyyyk........",
                         "kyyyyyyykkkkkk..", "kwwwwwwwwwwwwok.",  "kwyyyyyyyyyyyok.", "kwyyyyyyyyyyyok.",
                         "kwyyyyyyyyyyyok.", "kwyyyyyyyyyyyok.",  "kwyyyyyyyyyyyok.", "kwyyyyyyyyyyyok.",
                         "kwyyyyyyyyyyyok.", "kooooooooooooook.", "kkkkkkkkkkkkkkk.", "................"};
constexpr Art kProgram = {"................", "................", "kkkkkkkkkkkkkkkk", "knnnnnnnnnnnnnnk",
                          "knnnnnnnnnnwswsk", "kkkkkkkkkkkkkkkk", "kwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwk",
                          "kwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwk",
                          "kwwwwwwwwwwwwwwk", "kkkkkkkkkkkkkkkk", "................", "................"};
constexpr Art kText = {"..kkkkkkkkk.....", "..kwwwwwwwkk....", "..kwwwwwwwkwk...", "..kwkkkkwwkkkk..",
                       "..kwwwwwwwwwwk..", "..kwkkkkkkkwwk..", "..kwwwwwwwwwwk..", "..kwkkkkkkkwwk..",
                       "..kwwwwwwwwwwk..", "..kwkkkkkkkwwk..", "..kwwwwwwwwwwk..", "..kwkkkkkwwwwk..",
                       "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..", "................"};
constexpr Art kPicture = {"................", "kkkkkkkkkkkkkkkk", "kccccccccccccccs", "kccccccccyyccccs",
                          "kcccccccyyyyccck", "kcccccccyyyyccck", "kccccccccyyccccs", "kccccclcccccccck",
                          "kcccclllcccccccs", "kccclllllccrrccs", "kccllllllrrrrrck", "kcllllllrrrrrrrs",
                          "kllllllrrrrrrrrs", "kkkkkkkkkkkkkkkk", "................", "................"};
constexpr Art kOther = {"..kkkkkkkkk.....", "..kwwwwwwwkk....", "..kwwwwwwwkwk...", "..kwwwwwwwkkkk..",
                        "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
                        "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
                        "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..", "................"};

const Art& ArtOf(ShellFileKind kind) {
  switch (kind) {
    case ShellFileKind::Folder: return kFolder;
    case ShellFileKind::Program: return kProgram;
    case ShellFileKind::Text: return kText;
    case ShellFileKind::Picture: return kPicture;
    case ShellFileKind::Other: break;
  }
  return kOther;
}

// Scale 1 or 2 (the large icon doubles every pixel). A selected icon shows every other pixel in
// the highlight colour, as the shell blends its selected icons.
HICON MakeIcon(const Art& art, int scale, bool selected) {
  const int size = kSmall * scale;
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const int maskStride = ((size + 15) / 16) * 2;
  std::vector<BYTE> mask(static_cast<size_t>(maskStride) * size, 0);
  std::vector<BYTE> colour(static_cast<size_t>(size) * size * 4, 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const char c = art[static_cast<size_t>(y / scale)][x / scale];
      if (c == '.') {
        mask[static_cast<size_t>(y) * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        continue;
      }
      const COLORREF rgb = selected && (x + y) % 2 == 1 ? highlight : ArtColor(c);
      BYTE* p = &colour[(static_cast<size_t>(y) * size + x) * 4];
      p[0] = GetBValue(rgb);
      p[1] = GetGValue(rgb);
      p[2] = GetRValue(rgb);
    }
  HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, mask.data());
  HBITMAP colourBitmap = CreateBitmap(size, size, 1, 32, colour.data());
  HICON icon = nullptr;
  if (maskBitmap && colourBitmap) {
    ICONINFO info{TRUE, 0, 0, maskBitmap, colourBitmap};
    icon = CreateIconIndirect(&info);
  }
  DeleteObject(maskBitmap);
  DeleteObject(colourBitmap);
  return icon;
}

std::string LowerExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("\\/:");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace

ShellFileKind ShellFileKindOf(LPCSTR path, DWORD attributes) {
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return ShellFileKind::Folder;
  const std::string ext = LowerExtension(path ? path : "");
  if (ext == "exe" || ext == "com" || ext == "bat" || ext == "pif") return ShellFileKind::Program;
  if (ext == "txt" || ext == "ini" || ext == "log" || ext == "doc") return ShellFileKind::Text;
  if (ext == "bmp" || ext == "sys" || ext == "jpg" || ext == "jpeg" || ext == "gif" || ext == "png" || ext == "pcx" ||
      ext == "tga" || ext == "tif" || ext == "tiff" || ext == "ico")
    return ShellFileKind::Picture;
  return ShellFileKind::Other;
}

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD fileAttributes, SHFILEINFOA* info, UINT infoSize, UINT flags) {
  if (!path || (flags & SHGFI_PIDL)) return 0;
  const bool fills = (flags & (SHGFI_ICON | SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME)) != 0;
  if (fills && (!info || infoSize < sizeof(SHFILEINFOA))) return 0;
  DWORD attributes = fileAttributes;
  if (!(flags & SHGFI_USEFILEATTRIBUTES)) {
    attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  }
  const ShellFileKind kind = ShellFileKindOf(path, attributes);
  if (info) {
    if (flags & SHGFI_ICON) {
      info->hIcon = MakeIcon(ArtOf(kind), (flags & SHGFI_SMALLICON) ? 1 : 2, (flags & SHGFI_SELECTED) != 0);
      if (!info->hIcon) return 0;
    }
    if (flags & SHGFI_SYSICONINDEX) info->iIcon = static_cast<int>(kind);
    if (flags & SHGFI_DISPLAYNAME) {
      const std::string p = path;
      const size_t slash = p.find_last_of("\\/");
      const std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
      std::strncpy(info->szDisplayName, name.c_str(), sizeof(info->szDisplayName) - 1);
      info->szDisplayName[sizeof(info->szDisplayName) - 1] = '\0';
    }
  }
  return 1;
}
