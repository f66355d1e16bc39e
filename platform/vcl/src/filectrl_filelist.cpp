// The file list box: reading a folder by mask and attributes, the glyphs, and the file edit.
#include "vcl/filectrl.h"

#include "filectrl_glyphs.h"
#include "vcl/findfiles.h"
#include "vcl/forms.h"
#include "vcl/graphics_images.h"
#include "vcl/sysutils.h"

using filectrl::kGlyphSize;
using filectrl::MakeGlyph;
using filectrl::TGlyph;

TFileListBox::TFileListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetWidth(145);
  SetSorted(true);
  char cwd[MAX_PATH];
  directory_ = GetCurrentDirectoryA(MAX_PATH, cwd) < MAX_PATH ? cwd : "";
}

TFileListBox::~TFileListBox() = default;

void TFileListBox::SetDirectory(const std::string& Value) {
  ChangeFolder(Value);
  char cwd[MAX_PATH];
  if (GetCurrentDirectoryA(MAX_PATH, cwd) < MAX_PATH) directory_ = cwd;
  ReadFileNames();
}

void TFileListBox::SetMask(const std::string& Value) {
  mask_ = Value;
  ReadFileNames();
}

void TFileListBox::SetFileType(TFileType Value) {
  fileType_ = Value;
  ReadFileNames();
}

void TFileListBox::SetShowGlyphs(bool Value) {
  showGlyphs_ = Value;
  SetStyle(Value ? lbOwnerDrawFixed : lbStandard);
  ResetItemHeight();
  ReadFileNames();
}

void TFileListBox::ResetItemHeight() {
  if (showGlyphs_) SetItemHeight(std::max(Canvas()->TextHeight("Pp"), kGlyphSize + 2));
}

void TFileListBox::SetFileEdit(TEdit* Value) {
  fileEdit_ = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetText(GetFileName().empty() ? mask_ : GetFileName());
}

void TFileListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == fileEdit_) fileEdit_ = nullptr;
}

std::string TFileListBox::GetFileName() {
  const int index = ItemIndex();
  return index >= 0 && index < Items()->Count() ? Items()->Get(index) : "";
}

std::string TFileListBox::FileName() {
  const std::string name = GetFileName();
  if (name.empty()) return "";
  return directory_ + (!directory_.empty() && directory_.back() == '\\' ? "" : "\\") + name;
}

void TFileListBox::SetFileName(const std::string& Value) {
  const std::string folder = ExtractFilePath(Value);
  if (!folder.empty() && !SameText(folder, directory_)) SetDirectory(folder);
  const std::string name = ExtractFileName(Value);
  for (int i = 0; i < Items()->Count(); ++i)
    if (SameText(Items()->Get(i), name)) {
      SetItemIndex(i);
      break;
    }
  Change();
}

void TFileListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  ReadFileNames();
}

TBitmap* TFileListBox::GlyphFor(const std::string& Item) {
  if (!exeGlyph_) {
    exeGlyph_ = MakeGlyph(TGlyph::Program, clWhite);
    dirGlyph_ = MakeGlyph(TGlyph::ClosedFolder, clWhite);
    unknownGlyph_ = MakeGlyph(TGlyph::Page, clWhite);
  }
  if (!Item.empty() && Item.front() == '[') return dirGlyph_.get();
  const std::string ext = LowerCase(ExtractFileExt(Item));
  if (ext == ".exe" || ext == ".com" || ext == ".bat" || ext == ".pif") return exeGlyph_.get();
  return unknownGlyph_.get();
}

void TFileListBox::ReadFileNames() {
  if (!HandleAllocated()) return;
  static const int kAttributes[] = {faReadOnly, faHidden, faSysFile, faVolumeID, faDirectory, faArchive};
  int attr = 0;
  for (int i = ftReadOnly; i <= ftArchive; ++i)
    if (fileType_.Contains(static_cast<TFileAttr>(i))) attr |= kAttributes[i];
  ChangeFolder(directory_);
  Clear();
  const TCursor saved = Screen ? Screen->Cursor() : crDefault;
  std::size_t from = 0;
  while (from <= mask_.size()) {
    const std::size_t end = std::min(mask_.find(';', from), mask_.size());
    const std::string pattern = mask_.substr(from, end - from);
    from = end + 1;
    if (pattern.empty()) continue;
    TSearchRec rec;
    for (int res = FindFirst(pattern, attr, rec); res == 0; res = FindNext(rec)) {
      if (!(fileType_.Contains(ftNormal) || (rec.Attr & attr))) continue;
      // "." names the folder itself; ".." stays to go up.
      if (rec.Name == ".") continue;
      const std::string item = (rec.Attr & faDirectory) ? "[" + rec.Name + "]" : rec.Name;
      const int index = Items()->AddObject(item, showGlyphs_ ? GlyphFor(item) : nullptr);
      if (index == 100 && Screen) Screen->SetCursor(crHourGlass);
    }
    FindClose(rec);
  }
  if (Screen) Screen->SetCursor(saved);
  Change();
}

void TFileListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) return TCustomListBox::DrawItem(Index, Rect, State);
  Canvas()->FillRect(Rect);
  int left = Rect.left + 2;
  const int offset = (Rect.bottom - Rect.top - Canvas()->TextHeight("Pp")) / 2;
  if (showGlyphs_) {
    TBitmap* glyph = GlyphFor(Items()->Get(Index));
    Canvas()->Draw(left, Rect.top + (Rect.bottom - Rect.top - glyph->Height()) / 2, glyph);
    left += glyph->Width() + 4;
  }
  Canvas()->TextOut(left, Rect.top + offset, Items()->Get(Index));
}

void TFileListBox::SelectionChanged() {
  if (lastSel_ != ItemIndex()) Change();
  TCustomListBox::SelectionChanged();
}

void TFileListBox::Change() {
  if (fileEdit_) {
    const std::string name = GetFileName();
    fileEdit_->SetText(name.empty() ? mask_ : name);
    fileEdit_->SelectAll();
  }
  lastSel_ = ItemIndex();
  if (OnChange) OnChange(this);
}
