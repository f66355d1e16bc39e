// The file list box with shell icons.
#include "components/zev_file_list.h"

#include <algorithm>

#include "components/component_resources.h"
#include "components/zev_draw.h"
#include "vcl/findfiles.h"
#include "vcl/forms.h"
#include "win32/shellapi.h"

namespace {
constexpr int kMinItemHeight = 18;
constexpr int kGlyphTextLeft = 22;
constexpr int kPlainTextLeft = 2;
constexpr int kFirstHourglassItem = 100;
constexpr UINT kIconFlags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_SHELLICONSIZE;

std::unique_ptr<TBitmap> LoadGlyph(const char* Name) {
  auto b = std::make_unique<TBitmap>();
  b->LoadFromResourceName(nullptr, Name);
  return b;
}
}  // namespace

TZevFileListBox::TZevFileListBox(TComponent* AOwner) : TFileListBox(AOwner) {
  RegisterComponentResources();
  executable_ = LoadGlyph("ZEV_EXECUTABLE");
  closedFolder_ = LoadGlyph("ZEV_CLOSEDFOLDER");
  unknownFile_ = LoadGlyph("ZEV_UNKNOWNFILE");
  ResetItemHeight();
}

TZevFileListBox::~TZevFileListBox() { DestroyIcons(); }

void TZevFileListBox::ResetItemHeight() { SetItemHeight(std::max(kMinItemHeight, LineHeight(Font()))); }

void TZevFileListBox::SetShowGlyphs(bool Value) {
  showGlyphs_ = Value;
  if (Parent()) ApplyShowGlyphs();
}

void TZevFileListBox::ApplyShowGlyphs() {
  if (TFileListBox::ShowGlyphs() != showGlyphs_) TFileListBox::SetShowGlyphs(showGlyphs_);
  ResetItemHeight();
}

void TZevFileListBox::SetParent(TWinControl* AParent) {
  TFileListBox::SetParent(AParent);
  if (AParent) ApplyShowGlyphs();
}

void TZevFileListBox::SetShowLongNames(bool Value) {
  if (showLongNames_ == Value) return;
  showLongNames_ = Value;
  ReadFileNames();
}

const std::string& TZevFileListBox::Directory() {
  if (!HandleAllocated() && Parent()) HandleNeeded();
  return TFileListBox::Directory();
}

void TZevFileListBox::SetDirectory(const std::string& Value) {
  if (!HandleAllocated() && Parent()) HandleNeeded();
  TFileListBox::SetDirectory(Value);
}

bool TZevFileListBox::IsFolderItem(int Index) const { return Items()->Objects(Index) == closedFolder_.get(); }

HICON TZevFileListBox::ItemIcon(int Index) const {
  TObject* object = Items()->Objects(Index);
  return object && object != closedFolder_.get() ? reinterpret_cast<HICON>(object) : nullptr;
}

void TZevFileListBox::DestroyIcons() {
  for (int i = 0; i < Items()->Count(); ++i)
    if (HICON icon = ItemIcon(i)) {
      DestroyIcon(icon);
      Items()->PutObject(i, nullptr);
    }
}

std::string TZevFileListBox::ItemPath(const std::string& Item) {
  const std::string& folder = TFileListBox::Directory();
  return folder + (!folder.empty() && folder.back() == '\\' ? "" : "\\") + Item;
}

void TZevFileListBox::ReadFileNames() {
  if (!HandleAllocated()) return;
  static const int kAttributes[] = {faReadOnly, faHidden, faSysFile, faVolumeID, faDirectory, faArchive};
  const TFileType fileType = FileType();
  int attr = 0;
  for (int i = ftReadOnly; i <= ftArchive; ++i)
    if (fileType.Contains(static_cast<TFileAttr>(i))) attr |= kAttributes[i];
  ChangeFolder(TFileListBox::Directory());
  // The icons belong to the list: the old ones go with the old items.
  DestroyIcons();
  Clear();
  const TCursor saved = Screen ? Screen->Cursor() : crDefault;
  const std::string& mask = Mask();
  std::size_t from = 0;
  while (from <= mask.size()) {
    const std::size_t end = std::min(mask.find(';', from), mask.size());
    const std::string pattern = mask.substr(from, end - from);
    from = end + 1;
    if (pattern.empty()) continue;
    TSearchRec rec;
    for (int res = FindFirst(pattern, attr, rec); res == 0; res = FindNext(rec)) {
      if (!(fileType.Contains(ftNormal) || (rec.Attr & attr))) continue;
      if (rec.Name == ".") continue;
      int index = -1;
      if (rec.Attr & faDirectory) {
        index = Items()->AddObject("[" + rec.Name + "]", ShowGlyphs() ? closedFolder_.get() : nullptr);
      } else {
        SHFILEINFOA info{};
        HICON icon = nullptr;
        if (ShowGlyphs() && SHGetFileInfoA(ItemPath(rec.Name).c_str(), 0, &info, sizeof info, kIconFlags))
          icon = info.hIcon;
        index = Items()->AddObject(rec.Name, reinterpret_cast<TObject*>(icon));
      }
      if (index == kFirstHourglassItem && Screen) Screen->SetCursor(crHourGlass);
    }
    FindClose(rec);
  }
  if (Screen) Screen->SetCursor(saved);
  Change();
}

void TZevFileListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) return TFileListBox::DrawItem(Index, Rect, State);
  TCanvas* c = Canvas();
  c->FillRect(Rect);
  const int offset = (ItemHeight() - c->TextHeight("Pp")) / 2;
  const std::string text = Items()->Get(Index);
  c->TextRect(Rect, Rect.left + (ShowGlyphs() ? kGlyphTextLeft : kPlainTextLeft), Rect.top + offset, text);
  if (!ShowGlyphs()) return;
  const int x = Rect.left + 2, y = Rect.top + offset - 1;
  if (IsFolderItem(Index)) {
    TBitmap* glyph = closedFolder_.get();
    c->BrushCopy({x, y, x + glyph->Width(), y + glyph->Height()}, glyph, {0, 0, glyph->Width(), glyph->Height()},
                 clOlive);
    return;
  }
  if (State.Contains(odSelected)) {
    SHFILEINFOA info{};
    if (SHGetFileInfoA(ItemPath(text).c_str(), 0, &info, sizeof info, kIconFlags | SHGFI_SELECTED)) {
      DrawIconEx(c->Handle(), x, y, info.hIcon, 0, 0, 0, nullptr, DI_NORMAL);
      DestroyIcon(info.hIcon);
    }
  } else if (HICON icon = ItemIcon(Index)) {
    DrawIconEx(c->Handle(), x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
  }
}

void TZevFileListBox::WndProc(TMessage& Message) {
  TFileListBox::WndProc(Message);
  if (Message.Msg == CM_FONTCHANGED) {
    ResetItemHeight();
    if (HandleAllocated()) RecreateWnd();
  }
}

const TClassInfo& TZevFileListBox::StaticClassInfo() {
  using C = TZevFileListBox;
  static const TClassInfo info(
      "TZevFileListBox", &TFileListBox::StaticClassInfo(),
      {StrProperty<C>("Directory", &C::Directory, &C::SetDirectory),
       OrdProperty<C>("ShowLongNames", TypeInfo_Boolean, &C::ShowLongNames, &C::SetShowLongNames, true),
       OrdProperty<C>("ShowGlyphs", TypeInfo_Boolean, &C::ShowGlyphs, &C::SetShowGlyphs, true)},
      {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] static const bool zevFileListRegistered = (RegisterClass(TZevFileListBox::StaticClassInfo()), true);
