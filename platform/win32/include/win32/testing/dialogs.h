#pragma once
// Test aids for the USER layer's dialogs: message boxes answered from a queue and recorded, and
// the user's click on an entry of a file dialog's list.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "win32/comdlg.h"
#include "win32/controls.h"
#include "win32/user.h"

// Answers every message box without a screen while it lives: from `answers` in turn, recording
// each box as "caption: text" in `asked`. A box with no answer left fails the test and is
// cancelled.
class TMessageBoxRecorder {
 public:
  // onlyStyle: the style (buttons and icon) every box must have; 0 for any.
  explicit TMessageBoxRecorder(UINT onlyStyle = 0) : onlyStyle_(onlyStyle) { SetMessageBoxAnswer(&Answer, this); }
  ~TMessageBoxRecorder() { SetMessageBoxAnswer(nullptr, nullptr); }
  TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
  TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;

  std::deque<int> answers;
  std::vector<std::string> asked;

 private:
  static int Answer(HWND, LPCSTR text, LPCSTR caption, UINT type, void* context) {
    auto* self = static_cast<TMessageBoxRecorder*>(context);
    self->asked.push_back(std::string(caption) + ": " + text);
    if (self->onlyStyle_) {
      EXPECT_EQ(type, self->onlyStyle_);
    }
    if (self->answers.empty()) {
      ADD_FAILURE() << "unexpected question " << text;
      return IDCANCEL;
    }
    const int answer = self->answers.front();
    self->answers.pop_front();
    return answer;
  }

  UINT onlyStyle_;
};

// The user clicks the entry with this text in an open or save dialog's list of files and folders.
inline void ClickFileListItem(HWND dialog, const char* text) {
  HWND list = GetDlgItem(dialog, lst1);
  const LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  ASSERT_GE(index, 0) << text;
  RECT r{};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 2, r.top + 2));
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 2, r.top + 2));
}
