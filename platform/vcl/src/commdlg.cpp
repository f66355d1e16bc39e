// The open and save dialogs: the record built from the properties, the hook's notifications
// turned into events, and the results read back.
#include "vcl/commdlg.h"

#include <vector>

namespace {

constexpr const char* kDialogProp = "TOpenDialog";

// The OFN_ flag of each option, in the order of TOpenOption; ofOldStyleDialog has none (it
// leaves out OFN_EXPLORER).
constexpr DWORD kOptionFlags[] = {0x00000001, 0x00000002, 0x00000004, 0x00000008, 0x00000010, 0x00000100, 0x00000200,
                                  0x00000400, 0x00000800, 0x00001000, 0x00002000, 0x00004000, 0x00008000, 0x00010000,
                                  0x00020000, 0x00040000, 0,          0x00100000, 0x00400000, 0x00800000};

DWORD FlagsOf(TOpenOptions options) {
  DWORD flags = 0;
  for (int i = 0; i <= ofEnableSizing; ++i)
    if (options.Contains(static_cast<TOpenOption>(i))) flags |= kOptionFlags[i];
  return flags;
}

// "A|*.a|B|*.b" as zero-ended pairs ended by a further zero.
std::vector<char> FilterPairs(const std::string& filter) {
  std::vector<char> out;
  for (char c : filter) out.push_back(c == '|' ? '\0' : c);
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

}  // namespace

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

std::string TOpenDialog::FileName() const {
  if (!fileDialog_) return fileName_;
  char path[MAX_PATH] = {};
  const LRESULT length = SendMessageA(fileDialog_, CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
  return length > 0 ? std::string(path) : std::string();
}

bool TOpenDialog::Execute() { return DoExecute(GetOpenFileNameA); }

bool TSaveDialog::Execute() { return DoExecute(GetSaveFileNameA); }

bool TOpenDialog::DoExecute(BOOL (*DialogFunc)(LPOPENFILENAMEA)) {
  const std::vector<char> filter = FilterPairs(filter_);
  char file[MAX_PATH] = {};
  fileName_.copy(file, sizeof file - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter_.empty() ? nullptr : filter.data();
  ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
  ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
  ofn.Flags = FlagsOf(options_) | OFN_ENABLEHOOK;
  if (!options_.Contains(ofOldStyleDialog)) ofn.Flags |= OFN_EXPLORER;
  ofn.lpfnHook = DialogHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(this);
  const bool chosen = TaskModalDialog(DialogFunc, ofn) != FALSE;
  fileDialog_ = nullptr;
  DoClose();
  if (!chosen) return false;
  fileName_ = file;
  filterIndex_ = static_cast<int>(ofn.nFilterIndex);
  options_ = (ofn.Flags & OFN_READONLY) ? options_ + TOpenOptions{ofReadOnly} : options_ - TOpenOptions{ofReadOnly};
  return true;
}

BOOL TOpenDialog::TaskModalDialog(BOOL (*DialogFunc)(LPOPENFILENAMEA), OPENFILENAMEA& DialogData) {
  return DialogFunc(&DialogData);
}

void TOpenDialog::DoSelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TOpenDialog::DoFolderChange() {
  if (OnFolderChange) OnFolderChange(this);
}

void TOpenDialog::DoTypeChange() {
  if (OnTypeChange) OnTypeChange(this);
}

bool TOpenDialog::DoCanClose() {
  bool canClose = true;
  if (OnCanClose) OnCanClose(this, canClose);
  return canClose;
}

INT_PTR TOpenDialog::DialogHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TOpenDialog*>(reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData);
    SetPropA(child, kDialogProp, self);
    self->fileDialog_ = GetParent(child);
    return TRUE;
  }
  auto* self = static_cast<TOpenDialog*>(GetPropA(child, kDialogProp));
  if (!self) return FALSE;
  if (message == WM_DESTROY) {
    RemovePropA(child, kDialogProp);
    return FALSE;
  }
  if (message != WM_NOTIFY) return FALSE;
  switch (reinterpret_cast<const OFNOTIFYA*>(lParam)->hdr.code) {
    case CDN_INITDONE: self->DoShow(); return TRUE;
    case CDN_SELCHANGE: self->DoSelectionChange(); return TRUE;
    case CDN_FOLDERCHANGE: self->DoFolderChange(); return TRUE;
    case CDN_TYPECHANGE: self->DoTypeChange(); return TRUE;
    case CDN_FILEOK: SetWindowLongPtrA(child, DWLP_MSGRESULT, self->DoCanClose() ? 0 : 1); return TRUE;
    default: return FALSE;
  }
}
