// The open and save dialogs: the folder combo (mapped drives and the current folder), the list of
// the folder's subfolders ("[name]") and files matching the filter, the file-name edit, the filter
// combo, and the explorer-style hook child beside them.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common_dialog.h"
#include "template_writer.h"
#include "win32/controls.h"
#include "win32/kernel.h"
#include "win32/machine.h"

namespace comdlg {
namespace {

struct Filter {
  std::string description;
  std::vector<std::string> masks;
};

struct FileDialog {
  LPOPENFILENAMEA ofn = nullptr;
  bool save = false;
  std::vector<Filter> filters;
  int filterIndex = 0;  // from 0
  std::string folder;  // "C:\" or "C:\WINDOWS"
  HWND dialog = nullptr;
  HWND hook = nullptr;
};

std::vector<std::string> SplitMasks(const std::string& patterns) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string mask = patterns.substr(start, end - start);
    mask.erase(0, mask.find_first_not_of(' '));
    mask.erase(mask.find_last_not_of(' ') + 1);
    if (!mask.empty()) out.push_back(mask);
    start = end + 1;
  }
  return out;
}

std::vector<Filter> ReadFilters(LPCSTR text) {
  std::vector<Filter> out;
  while (text && *text) {
    Filter f{text, {}};
    text += f.description.size() + 1;
    f.masks = SplitMasks(text);
    text += std::char_traits<char>::length(text) + 1;
    out.push_back(f);
  }
  if (out.empty()) out.push_back({"", {"*.*"}});
  return out;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

bool IsFolder(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ItemText(HWND dialog, int id, UINT lengthMessage, UINT textMessage) {
  const LRESULT index = SendDlgItemMessageA(dialog, id, id == lst1 ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
  if (index < 0) return "";
  std::string text(
      static_cast<std::size_t>(SendDlgItemMessageA(dialog, id, lengthMessage, static_cast<WPARAM>(index), 0)) + 1,
      '\0');
  SendDlgItemMessageA(dialog, id, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(text.size() - 1);
  return text;
}

std::string EditText(HWND dialog) {
  char buffer[MAX_PATH] = {};
  GetDlgItemTextA(dialog, edt1, buffer, sizeof buffer);
  return buffer;
}

LRESULT Notify(FileDialog& d, UINT code) {
  if (!d.hook) return 0;
  OFNOTIFYA note{{d.dialog, 0, code}, d.ofn, nullptr};
  return SendMessageA(d.hook, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
}

void FillFolderCombo(FileDialog& d) {
  HWND combo = GetDlgItem(d.dialog, cmb2);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  int current = -1;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (machine::DriveFolder(letter).empty()) continue;
    const std::string root = std::string(1, letter) + ":\\";
    const LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(root.c_str()));
    if (d.folder.size() >= 2 && d.folder[0] == letter) {
      current = static_cast<int>(at);
      if (d.folder != root)
        current = static_cast<int>(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.folder.c_str())));
    }
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(current), 0);
}

void FillFileList(FileDialog& d) {
  std::vector<std::string> folders, files;
  WIN32_FIND_DATAA found{};
  const std::string pattern = Join(d.folder, "*");
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (name != "..") folders.push_back("[" + name + "]");
        continue;
      }
      const auto& masks = d.filters[static_cast<std::size_t>(d.filterIndex)].masks;
      if (std::any_of(masks.begin(), masks.end(), [&](const std::string& m) { return machine::MatchesMask(name, m); }))
        files.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  auto byName = [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  if (d.folder.size() > 3) folders.insert(folders.begin(), "[..]");
  HWND list = GetDlgItem(d.dialog, lst1);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const auto* group : {&folders, &files})
    for (const std::string& s : *group) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void OpenFolder(FileDialog& d, const std::string& folder) {
  d.folder = machine::FullWindowsPath(folder);
  if (d.folder.size() == 2) d.folder += "\\";
  FillFolderCombo(d);
  FillFileList(d);
  Notify(d, CDN_FOLDERCHANGE);
}

std::string PathOfEdit(const FileDialog& d) {
  const std::string name = EditText(d.dialog);
  if (name.empty()) return "";
  const bool absolute = name.find(':') != std::string::npos || name[0] == '\\';
  return machine::FullWindowsPath(absolute ? name : Join(d.folder, name));
}

// Answers a CDM_ request: the text into the buffer as far as it fits, the full length with the
// ending zero as the result.
LRESULT Answer(HWND dialog, const std::string& text, WPARAM size, LPARAM buffer) {
  if (buffer && size > 0) {
    const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size) - 1);
    std::copy_n(text.data(), n, reinterpret_cast<char*>(buffer));
    reinterpret_cast<char*>(buffer)[n] = '\0';
  }
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, static_cast<LONG_PTR>(text.size() + 1));
  return TRUE;
}

bool Confirm(FileDialog& d, const std::string& path) {
  const DWORD flags = d.ofn->Flags;
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  if ((flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !IsFolder(folder)) {
    MessageBoxA(d.dialog, (path + "\nThe path does not exist.").c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  const bool exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  if ((flags & OFN_FILEMUSTEXIST) && !exists) {
    MessageBoxA(d.dialog, (path + "\nFile not found.\nPlease verify the correct file name was given.").c_str(), nullptr,
                MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (d.save && (flags & OFN_OVERWRITEPROMPT) && exists &&
      MessageBoxA(d.dialog, (path + " already exists.\nDo you want to replace it?").c_str(), nullptr,
                  MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    return false;
  return Notify(d, CDN_FILEOK) == 0;
}

void Finish(FileDialog& d, const std::string& path) {
  OPENFILENAMEA& ofn = *d.ofn;
  if (!ofn.lpstrFile || path.size() + 1 > ofn.nMaxFile) {
    if (ofn.lpstrFile && ofn.nMaxFile >= 2) {
      const auto needed = static_cast<WORD>(std::min<std::size_t>(path.size() + 1, 0xFFFF));
      std::memcpy(ofn.lpstrFile, &needed, sizeof needed);
    }
    SetExtendedError(FNERR_BUFFERTOOSMALL);
    EndDialog(d.dialog, IDCANCEL);
    return;
  }
  std::copy(path.begin(), path.end(), ofn.lpstrFile);
  ofn.lpstrFile[path.size()] = '\0';
  const std::size_t nameAt = path.find_last_of('\\') + 1;
  const std::size_t dot = path.find_last_of('.');
  ofn.nFileOffset = static_cast<WORD>(nameAt);
  ofn.nFileExtension = static_cast<WORD>(dot != std::string::npos && dot >= nameAt ? dot + 1 : 0);
  ofn.nFilterIndex = static_cast<DWORD>(d.filterIndex + 1);
  if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
    const std::string title = path.substr(nameAt).substr(0, ofn.nMaxFileTitle - 1);
    std::copy(title.begin(), title.end(), ofn.lpstrFileTitle);
    ofn.lpstrFileTitle[title.size()] = '\0';
  }
  EndDialog(d.dialog, IDOK);
}

void Ok(FileDialog& d) {
  std::string name = EditText(d.dialog);
  if (name.empty()) {
    const std::string item = ItemText(d.dialog, lst1, LB_GETTEXTLEN, LB_GETTEXT);
    if (item.size() > 2 && item.front() == '[') OpenFolder(d, Join(d.folder, item.substr(1, item.size() - 2)));
    return;
  }
  std::string path = PathOfEdit(d);
  if (path.empty()) return;
  if (IsFolder(path)) {
    SetDlgItemTextA(d.dialog, edt1, "");
    OpenFolder(d, path);
    return;
  }
  if (name.find_first_of("*?") != std::string::npos) {
    d.filters[static_cast<std::size_t>(d.filterIndex)].masks = SplitMasks(name);
    FillFileList(d);
    return;
  }
  const std::size_t nameAt = path.find_last_of('\\') + 1;
  if (d.ofn->lpstrDefExt && *d.ofn->lpstrDefExt && path.find('.', nameAt) == std::string::npos)
    path += std::string(".") + d.ofn->lpstrDefExt;
  if (Confirm(d, path)) Finish(d, path);
}

void SelectionChanged(FileDialog& d) {
  const std::string item = ItemText(d.dialog, lst1, LB_GETTEXTLEN, LB_GETTEXT);
  if (!item.empty() && item.front() != '[') SetDlgItemTextA(d.dialog, edt1, item.c_str());
  Notify(d, CDN_SELCHANGE);
}

void Command(FileDialog& d, WORD id, WORD code) {
  if (id == IDOK) Ok(d);
  else if (id == IDCANCEL)
    EndDialog(d.dialog, IDCANCEL);
  else if (id == lst1 && code == LBN_SELCHANGE)
    SelectionChanged(d);
  else if (id == lst1 && code == LBN_DBLCLK) {
    const std::string item = ItemText(d.dialog, lst1, LB_GETTEXTLEN, LB_GETTEXT);
    if (item.size() > 2 && item.front() == '[') {
      OpenFolder(d, Join(d.folder, item.substr(1, item.size() - 2)));
    } else {
      Ok(d);
    }
  } else if (id == cmb1 && code == CBN_SELCHANGE) {
    d.filterIndex = static_cast<int>(SendDlgItemMessageA(d.dialog, cmb1, CB_GETCURSEL, 0, 0));
    FillFileList(d);
    Notify(d, CDN_TYPECHANGE);
  } else if (id == cmb2 && code == CBN_SELCHANGE) {
    OpenFolder(d, ItemText(d.dialog, cmb2, CB_GETLBTEXTLEN, CB_GETLBTEXT));
  }
}

// Moves every standard control by the offset; the child dialog goes below them in Z order so
// that the tab order runs through the standard controls first.
void PlaceBesideChild(FileDialog& d) {
  RECT own{};
  GetClientRect(d.dialog, &own);
  RECT child{};
  GetClientRect(d.hook, &child);
  POINT offset{0, 0};
  SIZE total{std::max<LONG>(own.right, child.right), own.bottom + child.bottom};
  POINT childAt{0, own.bottom};
  if (HWND place = GetDlgItem(d.hook, stc32)) {
    RECT r{};
    GetWindowRect(place, &r);
    POINT p{r.left, r.top};
    ScreenToClient(d.hook, &p);
    offset = p;
    childAt = {0, 0};
    // A placeholder smaller than the standard controls: the hook's controls right of or below
    // it make room by the difference, so they do not lie under the standard controls.
    const LONG dx = std::max<LONG>(0, own.right - (r.right - r.left));
    const LONG dy = std::max<LONG>(0, own.bottom - (r.bottom - r.top));
    if (dx > 0 || dy > 0) {
      const POINT placeEnd{p.x + (r.right - r.left), p.y + (r.bottom - r.top)};
      for (HWND c = GetWindow(d.hook, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c == place) continue;
        RECT cr{};
        GetWindowRect(c, &cr);
        POINT at{cr.left, cr.top};
        ScreenToClient(d.hook, &at);
        const POINT moved{at.x >= placeEnd.x ? at.x + dx : at.x, at.y >= placeEnd.y ? at.y + dy : at.y};
        if (moved.x != at.x || moved.y != at.y)
          SetWindowPos(c, nullptr, moved.x, moved.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      child.right += dx;
      child.bottom += dy;
      SetWindowPos(d.hook, nullptr, 0, 0, child.right, child.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    total = {std::max<LONG>(child.right, p.x + own.right), std::max<LONG>(child.bottom, p.y + own.bottom)};
  }
  for (HWND c = GetWindow(d.dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c == d.hook) continue;
    RECT r{};
    GetWindowRect(c, &r);
    POINT p{r.left, r.top};
    ScreenToClient(d.dialog, &p);
    SetWindowPos(c, nullptr, p.x + offset.x, p.y + offset.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(d.hook, HWND_BOTTOM, childAt.x, childAt.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  RECT frame{0, 0, total.cx, total.cy};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(d.dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(d.dialog, GWL_EXSTYLE)));
  SetWindowPos(d.dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MakeHookChild(FileDialog& d) {
  const OPENFILENAMEA& ofn = *d.ofn;
  TemplateWriter empty(WS_CHILD | WS_VISIBLE | DS_CONTROL | WS_CLIPSIBLINGS, 0, 0, "");
  LPCDLGTEMPLATEA childTemplate = empty.Get();
  if (ofn.Flags & OFN_ENABLETEMPLATEHANDLE) {
    childTemplate = static_cast<LPCDLGTEMPLATEA>(ofn.hInstance);
  } else if (ofn.Flags & OFN_ENABLETEMPLATE) {
    SetExtendedError(CDERR_FINDRESFAILURE);  // there are no resource templates here
    return false;
  }
  if (!childTemplate) {
    SetExtendedError(CDERR_FINDRESFAILURE);
    return false;
  }
  d.hook = CreateDialogIndirectParamA(nullptr, childTemplate, d.dialog, ofn.lpfnHook, reinterpret_cast<LPARAM>(d.ofn));
  if (!d.hook) {
    SetExtendedError(CDERR_DIALOGFAILURE);
    return false;
  }
  PlaceBesideChild(d);
  return true;
}

void Init(FileDialog& d) {
  const OPENFILENAMEA& ofn = *d.ofn;
  for (const Filter& f : d.filters)
    SendDlgItemMessageA(d.dialog, cmb1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.description.c_str()));
  SendDlgItemMessageA(d.dialog, cmb1, CB_SETCURSEL, static_cast<WPARAM>(d.filterIndex), 0);
  std::string file = ofn.lpstrFile ? std::string(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile)) : "";
  std::string folder = ofn.lpstrInitialDir && *ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "";
  const std::size_t slash = file.find_last_of('\\');
  if (slash != std::string::npos) {
    if (folder.empty()) folder = file.substr(0, slash + 1);
    file = file.substr(slash + 1);
  }
  if (folder.empty() || !IsFolder(folder)) folder = machine::CurrentDirectory();
  SetDlgItemTextA(d.dialog, edt1, file.c_str());
  d.folder = machine::FullWindowsPath(folder);
  if (d.folder.size() == 2) d.folder += "\\";
  FillFolderCombo(d);
  FillFileList(d);
}

INT_PTR FileDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* d = reinterpret_cast<FileDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    d = reinterpret_cast<FileDialog*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    d->dialog = dialog;
    Init(*d);
    if ((d->ofn->Flags & OFN_ENABLEHOOK) && !MakeHookChild(*d)) {
      EndDialog(dialog, -1);
      return TRUE;
    }
    Notify(*d, CDN_INITDONE);
    Notify(*d, CDN_FOLDERCHANGE);
    PostMessageA(dialog, kRunScript, 0, 0);
    return TRUE;
  }
  if (!d) return FALSE;
  switch (message) {
    case WM_COMMAND: Command(*d, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case CDM_GETSPEC: return Answer(dialog, EditText(dialog), wParam, lParam);
    case CDM_GETFILEPATH: return Answer(dialog, PathOfEdit(*d), wParam, lParam);
    case CDM_GETFOLDERPATH: return Answer(dialog, d->folder, wParam, lParam);
    case kRunScript: RunScript(dialog); return TRUE;
    default: return FALSE;
  }
}

LPCDLGTEMPLATEA MainTemplate(TemplateWriter& t, bool save) {
  t.Item(kStatic, stc4, SS_LEFT, 7, 8, 42, 8, "Look &in:");
  t.Item(kComboBox, cmb2, CBS_DROPDOWNLIST | WS_TABSTOP, 52, 6, 150, 13);
  t.Item(kListBox, lst1, LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 24, 195, 80);
  t.Item(kStatic, stc3, SS_LEFT, 7, 112, 42, 8, "File &name:");
  t.Item(kEdit, edt1, ES_AUTOHSCROLL | WS_TABSTOP, 52, 110, 100, 12);
  t.Item(kStatic, stc2, SS_LEFT, 7, 128, 42, 8, "Files of &type:");
  t.Item(kComboBox, cmb1, CBS_DROPDOWNLIST | WS_TABSTOP, 52, 126, 100, 13);
  t.Item(kButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 156, 110, 46, 14, save ? "&Save" : "&Open");
  t.Item(kButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 156, 126, 46, 14, "Cancel");
  return t.Get();
}

BOOL Run(LPOPENFILENAMEA ofn, bool save) {
  SetExtendedError(0);
  if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEA)) {
    SetExtendedError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  if ((ofn->Flags & OFN_ENABLEHOOK) && (!ofn->lpfnHook || !(ofn->Flags & OFN_EXPLORER))) {
    SetExtendedError(CDERR_INITIALIZATION);  // only explorer-style hooks are kept
    return FALSE;
  }
  FileDialog d;
  d.ofn = ofn;
  d.save = save;
  d.filters = ReadFilters(ofn->lpstrFilter);
  d.filterIndex = std::clamp<int>(static_cast<int>(ofn->nFilterIndex) - 1, 0, static_cast<int>(d.filters.size()) - 1);
  const std::string title = ofn->lpstrTitle ? ofn->lpstrTitle : (save ? "Save As" : "Open");
  TemplateWriter t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_3DLOOK, 209, 146, title);
  const INT_PTR result = DialogBoxIndirectParamA(nullptr, MainTemplate(t, save), ofn->hwndOwner, FileDialogProcedure,
                                                 reinterpret_cast<LPARAM>(&d));
  if (result == -1 && CommDlgExtendedError() == 0) SetExtendedError(CDERR_DIALOGFAILURE);
  return result == IDOK ? TRUE : FALSE;
}

}  // namespace
}  // namespace comdlg

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) { return comdlg::Run(ofn, false); }
BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) { return comdlg::Run(ofn, true); }
