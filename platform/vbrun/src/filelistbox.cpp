// FileListBox: the matching files of a folder, painted by the run time.
#include <algorithm>

#include "vbrun/controls.h"
#include "win32/kernel.h"

namespace vb {
namespace {

std::string WithoutClosingBackslash(std::string path) {
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

std::string Joined(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

}  // namespace

FileListBox::FileListBox(TComponent* owner) : TCustomControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void FileListBox::SetPath(const std::string& value) {
  const std::string path = WithoutClosingBackslash(value);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) Raise(vbErrPathNotFound);
  Fill(path);
}

void FileListBox::SetPattern(const std::string& value) {
  pattern_ = value;
  if (!path_.empty()) Refresh();
}

void FileListBox::SetHidden(bool value) {
  hidden_ = value;
  if (!path_.empty()) Refresh();
}

void FileListBox::SetSystem(bool value) {
  system_ = value;
  if (!path_.empty()) Refresh();
}

void FileListBox::Refresh() { Fill(path_); }

void FileListBox::Fill(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(Joined(path, pattern_).c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const DWORD a = data.dwFileAttributes;
      if ((a & FILE_ATTRIBUTE_DIRECTORY) || ((a & FILE_ATTRIBUTE_HIDDEN) && !hidden_) ||
          ((a & FILE_ATTRIBUTE_SYSTEM) && !system_))
        continue;
      names.emplace_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  path_ = path;
  names_ = std::move(names);
  listIndex_ = -1;
  topIndex_ = 0;
  Invalidate();
}

std::string FileListBox::List(int index) const {
  if (index < 0 || index >= ListCount()) return "";
  return names_[static_cast<size_t>(index)];
}

void FileListBox::SetListIndex(int value) {
  if (value < -1 || value >= ListCount()) Raise(vbErrInvalidProperty);
  if (value == listIndex_) return;
  listIndex_ = value;
  if (value >= 0 && HandleAllocated()) {  // keep the selection in view
    const int visible = std::max(1, ClientHeight() / ItemHeight());
    if (value < topIndex_) topIndex_ = value;
    if (value >= topIndex_ + visible) topIndex_ = value - visible + 1;
  }
  Invalidate();
  Click();
}

std::string FileListBox::FileName() const { return List(listIndex_); }

int FileListBox::ItemHeight() {
  Canvas()->SetFont(Font());
  return Canvas()->TextHeight("Wg") + 1;
}

void FileListBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONDOWN) {
    if (CanFocus()) SetFocus();
    const int y = static_cast<short>(HIWORD(static_cast<DWORD_PTR>(Message.LParam)));
    const int index = topIndex_ + (y - 2) / ItemHeight();
    if (y >= 2 && index < ListCount()) SetListIndex(index);
    Message.Result = 0;
    return;
  }
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTARROWS;
    return;
  }
  TCustomControl::WndProc(Message);
}

void FileListBox::Paint() {
  const TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  const int h = ItemHeight();
  for (int i = topIndex_, y = 2; i < ListCount() && y < r.bottom; ++i, y += h) {
    const bool selected = i == listIndex_;
    // The text is drawn over the brush's colour, so each row sets its own.
    Canvas()->Brush()->SetColor(selected ? clHighlight : Color());
    if (selected) Canvas()->FillRect({2, y, r.right - 2, y + h});
    Canvas()->Font()->SetColor(selected ? clHighlightText : Font()->Color());
    Canvas()->TextOut(4, y, names_[static_cast<size_t>(i)]);
  }
  RECT edge = r;
  DrawEdge(Canvas()->Handle(), &edge, EDGE_SUNKEN, BF_RECT);
}

}  // namespace vb
