// The directory list box: the tree of the current path, changing folders, and its links.
#include <algorithm>

#include "filectrl_glyphs.h"
#include "vcl/filectrl.h"
#include "vcl/graphics_images.h"
#include "vcl/findfiles.h"
#include "vcl/sysutils.h"

namespace {

using filectrl::kGlyphSize;

// The glyphs' background: a colour the folders do not use, drawn transparent.
constexpr TColor kGlyphBackground = clFuchsia;
constexpr int kIndent = 4;

std::string DriveOf(const std::string& Path) { return Path.size() >= 2 && Path[1] == ':' ? Path.substr(0, 2) : ""; }

std::string JoinPath(const std::string& Folder, const std::string& Name) {
  return Folder + (!Folder.empty() && Folder.back() == '\\' ? "" : "\\") + Name;
}

// "\first\" of Folder becomes "\...\", one folder after the other ("\a\b\" -> "\...\b\").
void CutFirstFolder(std::string& Folder) {
  if (Folder == "\\") {
    Folder.clear();
    return;
  }
  const bool root = !Folder.empty() && Folder[0] == '\\';
  if (root) Folder.erase(0, 1);
  if (Folder.starts_with("...\\")) Folder.erase(0, 4);
  const std::size_t slash = Folder.find('\\');
  Folder = slash == std::string::npos ? "" : "...\\" + Folder.substr(slash + 1);
  if (root) Folder = "\\" + Folder;
}

// Path shortened by leaving out its first folders (then the drive) until it fits MaxWidth.
std::string MinimizeName(const std::string& Path, TCanvas* Canvas, int MaxWidth) {
  std::string result = Path;
  const std::size_t slash = Path.rfind('\\');
  std::string folder = slash == std::string::npos ? "" : Path.substr(0, slash + 1);
  const std::string name = Path.substr(folder.size());
  std::string drive = DriveOf(folder);
  folder.erase(0, drive.size());
  while ((!folder.empty() || !drive.empty()) && Canvas->TextWidth(result) > MaxWidth) {
    if (folder == "\\...\\") {
      drive.clear();
      folder = "...\\";
    } else if (folder.empty()) {
      drive.clear();
    } else {
      CutFirstFolder(folder);
    }
    result = drive + folder + name;
  }
  return result;
}

}  // namespace

TDirectoryListBox::TDirectoryListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetWidth(145);
  SetStyle(lbOwnerDrawFixed);
  SetItemHeight(kGlyphSize);
  char cwd[MAX_PATH];
  directory_ = GetCurrentDirectoryA(MAX_PATH, cwd) < MAX_PATH ? cwd : "";
  BuildList();
}

TDirectoryListBox::~TDirectoryListBox() = default;

void TDirectoryListBox::SetDirectory(const std::string& Value) {
  if (Value.empty() || SameText(Value, directory_)) return;
  // A relative name is taken from the folder the list shows.
  if (!directory_.empty()) ChangeFolder(directory_);
  ChangeFolder(Value);
  char cwd[MAX_PATH];
  if (GetCurrentDirectoryA(MAX_PATH, cwd) < MAX_PATH) directory_ = cwd;
  BuildList();
  Change();
}

void TDirectoryListBox::SetDrive(char Value) {
  if (std::toupper(static_cast<unsigned char>(Value)) == std::toupper(static_cast<unsigned char>(Drive()))) return;
  SetDirectory(std::string{Value, ':'});
}

void TDirectoryListBox::SetDirLabel(TLabel* Value) {
  dirLabel_ = Value;
  if (Value) Value->FreeNotification(this);
  ShowDirLabel();
}

void TDirectoryListBox::SetFileList(TFileListBox* Value) {
  fileList_ = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetDirectory(directory_);
}

void TDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == dirLabel_) dirLabel_ = nullptr;
  if (AComponent == fileList_) fileList_ = nullptr;
}

void TDirectoryListBox::ShowDirLabel() {
  if (!dirLabel_) return;
  TBitmap measure;
  measure.Canvas()->SetFont(dirLabel_->Font());
  const int width = dirLabel_->AutoSize() ? Width() : dirLabel_->Width();
  dirLabel_->SetCaption(MinimizeName(directory_, measure.Canvas(), width));
}

void TDirectoryListBox::BuildList() {
  if (!openedGlyph_) {
    openedGlyph_ = filectrl::MakeGlyph(filectrl::TGlyph::OpenedFolder, kGlyphBackground);
    closedGlyph_ = filectrl::MakeGlyph(filectrl::TGlyph::ClosedFolder, kGlyphBackground);
  }
  TStrings* items = Items();
  items->BeginUpdate();
  items->Clear();
  // "C:\a\b": the root "C:\" and "a" lie on the way, "b" is current; "C:\" alone is current.
  std::string rest = directory_;
  std::size_t slash = rest.find('\\');
  while (slash != std::string::npos && slash + 1 < rest.size()) {
    const bool first = items->Count() == 0;
    items->AddObject(rest.substr(0, slash) + (first ? "\\" : ""), openedGlyph_.get());
    rest.erase(0, slash + 1);
    slash = rest.find('\\');
  }
  currentIndex_ = items->Count();
  items->AddObject(rest, openedGlyph_.get());
  TStringList children;
  children.SetSorted(true);
  TSearchRec rec;
  for (int res = FindFirst(JoinPath(directory_, "*.*"), faDirectory, rec); res == 0; res = FindNext(rec))
    if ((rec.Attr & faDirectory) && !rec.Name.starts_with(".")) children.Add(rec.Name);
  FindClose(rec);
  for (int i = 0; i < children.Count(); ++i) items->AddObject(children.Get(i), closedGlyph_.get());
  items->EndUpdate();
  SetItemIndex(currentIndex_);
}

std::string TDirectoryListBox::GetItemPath(int Index) {
  if (Index < 0 || Index >= Items()->Count()) return "";
  if (Index == 0) return DriveOf(directory_) + "\\";
  if (Index > currentIndex_) return JoinPath(directory_, Items()->Get(Index));
  if (Index == currentIndex_) return directory_;
  // A folder on the way: the path up to its name.
  std::size_t end = 2;
  for (int level = 0; level < Index; ++level) end = directory_.find('\\', end + 1);
  return directory_.substr(0, end);
}

void TDirectoryListBox::OpenCurrent() { SetDirectory(GetItemPath(ItemIndex())); }

void TDirectoryListBox::DblClick() {
  TCustomListBox::DblClick();
  // The list box still follows the mouse until the button is released; the new list waits.
  openOnRelease_ = true;
}

void TDirectoryListBox::WndProc(TMessage& Message) {
  const UINT msg = Message.Msg;
  // Return opens the selected folder, ahead of the form's default and cancel buttons.
  if (msg == CM_WANTSPECIALKEY && Message.WParam == VK_RETURN) {
    Message.Result = 1;
    return;
  }
  TCustomListBox::WndProc(Message);
  if (msg == WM_LBUTTONUP && openOnRelease_) {
    openOnRelease_ = false;
    OpenCurrent();
  }
}

void TDirectoryListBox::KeyPress(char& Key) {
  TCustomListBox::KeyPress(Key);
  if (Key == VK_RETURN) OpenCurrent();
}

void TDirectoryListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) return TCustomListBox::DrawItem(Index, Rect, State);
  Canvas()->FillRect(Rect);
  const int level = std::min(Index, currentIndex_ + 1);
  const int left = Rect.left + level * kIndent + 2;
  auto* glyph = static_cast<TBitmap*>(Items()->Objects(Index));
  if (glyph) filectrl::DrawGlyph(Canvas(), glyph, left, Rect);
  const int top = Rect.top + (Rect.bottom - Rect.top - Canvas()->TextHeight("Pp")) / 2;
  Canvas()->TextOut(left + kGlyphSize + 4, top, Items()->Get(Index));
}

void TDirectoryListBox::Change() {
  if (fileList_) fileList_->SetDirectory(directory_);
  ShowDirLabel();
  if (OnChange) OnChange(this);
}
