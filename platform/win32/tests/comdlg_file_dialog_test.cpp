#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "user_test_support.h"
#include "win32/comdlg.h"
#include "win32/controls.h"
#include "win32/testing/dialogs.h"
#include "win32/testing/machine_root.h"

namespace {

struct HookSeen {
  std::vector<std::string> events;
  std::vector<std::string> pathsOnSelChange;
  LPARAM initParam = 0;
  HWND child = nullptr;
  LRESULT refuseFileOk = 0;
};
HookSeen* gHook = nullptr;

// A hook in the manner of a picture preview: a stc32 placeholder at the left and a panel beside it.
INT_PTR PreviewHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    gHook->initParam = lParam;
    gHook->child = child;
    gHook->events.push_back("init");
    SetWindowPos(child, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    CreateWindowExA(0, "Static", "-placeholder-", WS_CHILD | WS_CLIPSIBLINGS | WS_GROUP, 0, 0, 380, 300, child,
                    reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(stc32)), nullptr, nullptr);
    CreateWindowExA(0, "Button", "Button", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_OWNERDRAW, 390, 20, 100, 100, child,
                    nullptr, nullptr, nullptr);
    return TRUE;
  }
  if (message != WM_NOTIFY) return FALSE;
  const auto* note = reinterpret_cast<const OFNOTIFYA*>(lParam);
  switch (note->hdr.code) {
    case CDN_INITDONE: gHook->events.push_back("initdone"); break;
    case CDN_FOLDERCHANGE: gHook->events.push_back("folder"); break;
    case CDN_SELCHANGE: {
      gHook->events.push_back("selchange");
      char path[256] = {};
      const LRESULT n = SendMessageA(GetParent(child), CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
      gHook->pathsOnSelChange.push_back(std::string(path) + "|" + std::to_string(n));
      break;
    }
    case CDN_FILEOK:
      gHook->events.push_back("fileok");
      SetWindowLongPtrA(child, DWLP_MSGRESULT, gHook->refuseFileOk);
      gHook->refuseFileOk = 0;
      break;
    default: return FALSE;
  }
  return TRUE;
}

// A placeholder narrower and lower than the standard controls, a panel right of it and one below.
INT_PTR SmallPlaceholderHook(HWND child, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  gHook->child = child;
  SetWindowPos(child, nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER);
  CreateWindowExA(0, "Static", "-placeholder-", WS_CHILD | WS_CLIPSIBLINGS | WS_GROUP, 0, 0, 200, 100, child,
                  reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(stc32)), nullptr, nullptr);
  CreateWindowExA(0, "Button", "right", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 210, 10, 80, 60, child,
                  reinterpret_cast<HMENU>(1), nullptr, nullptr);
  CreateWindowExA(0, "Button", "below", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 110, 80, 30, child,
                  reinterpret_cast<HMENU>(2), nullptr, nullptr);
  CreateWindowExA(0, "Button", "inside", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 20, 20, child,
                  reinterpret_cast<HMENU>(3), nullptr, nullptr);
  return TRUE;
}

// The user drops the combo box down with the mouse and clicks its item `row`.
void ChooseFromDropDown(HWND dialog, int id, int row) {
  HWND combo = GetDlgItem(dialog, id);
  RECT field{}, list{};
  GetWindowRect(combo, &field);
  InjectMouseButton(host::InputEvent::Left, true, (field.left + field.right) / 2, (field.top + field.bottom) / 2);
  InjectMouseButton(host::InputEvent::Left, false, (field.left + field.right) / 2, (field.top + field.bottom) / 2);
  PumpMessages();
  ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
  const int h = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  const POINT at{list.left + 10, list.top + 1 + row * h + h / 2};
  InjectMouseButton(host::InputEvent::Left, true, at.x, at.y);
  InjectMouseButton(host::InputEvent::Left, false, at.x, at.y);
  PumpMessages();
}

void PressButton(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::vector<std::string> ListItems(HWND dialog) {
  std::vector<std::string> out;
  HWND list = GetDlgItem(dialog, lst1);
  for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
    char text[MAX_PATH] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    out.push_back(text);
  }
  return out;
}

class FileDialogTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    for (const char* name : {"logo.bmp", "Wait.BMP", "notes.txt"}) std::ofstream(root_.DriveC() / name) << "x";
    std::filesystem::create_directory(root_.DriveC() / "pictures");
    std::ofstream(root_.DriveC() / "pictures" / "deep.bmp") << "x";
    gHook = &hook_;
    ofn_.lStructSize = sizeof ofn_;
    ofn_.lpstrFilter = "Bitmaps\0*.bmp; *.dib\0All files\0*.*\0";
    ofn_.nFilterIndex = 1;
    ofn_.lpstrFile = file_;
    ofn_.nMaxFile = sizeof file_;
    ofn_.lpstrInitialDir = "c:\\";
    ofn_.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  }
  void TearDown() override {
    SetCommonDialogScript(nullptr);
    SetMessageBoxAnswer(nullptr, nullptr);
    gHook = nullptr;
    UserTest::TearDown();
  }
  ScopedMachineRoot root_;
  HookSeen hook_;
  OPENFILENAMEA ofn_{};
  char file_[MAX_PATH] = {};
};

TEST_F(FileDialogTest, ScriptedUserPicksAFileThroughTheHookSequence) {
  ofn_.Flags |= OFN_ENABLEHOOK;
  ofn_.lpfnHook = PreviewHook;
  ofn_.lCustData = 42;
  std::vector<std::string> listed;
  RECT okInMain{}, childRect{}, mainClient{};
  HWND childBelowAll = nullptr;
  SetCommonDialogScript([&](HWND dialog) {
    listed = ListItems(dialog);
    GetWindowRect(GetDlgItem(dialog, IDOK), &okInMain);
    GetWindowRect(hook_.child, &childRect);
    GetClientRect(dialog, &mainClient);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) childBelowAll = c;
    ClickFileListItem(dialog, "Wait.BMP");
    ClickFileListItem(dialog, "logo.bmp");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(GetOpenFileNameA(&ofn_));
  // notes.txt is not shown by the bitmap filter.
  EXPECT_EQ(listed, (std::vector<std::string>{"[pictures]", "[windows]", "logo.bmp", "Wait.BMP"}));
  EXPECT_EQ(reinterpret_cast<OPENFILENAMEA*>(hook_.initParam), &ofn_);
  EXPECT_EQ(hook_.events, (std::vector<std::string>{"init", "initdone", "folder", "selchange", "selchange", "fileok"}));
  EXPECT_EQ(hook_.pathsOnSelChange, (std::vector<std::string>{"C:\\Wait.BMP|12", "C:\\logo.bmp|12"}));
  EXPECT_STREQ(file_, "C:\\logo.bmp");
  EXPECT_EQ(ofn_.nFileOffset, 3);
  EXPECT_EQ(ofn_.nFileExtension, 8);
  EXPECT_EQ(ofn_.nFilterIndex, 1u);
  // The standard controls sit inside the placeholder, the main window takes the child's size and
  // the child lies below the standard controls.
  EXPECT_EQ(mainClient.right, 500);
  EXPECT_EQ(mainClient.bottom, 300);
  EXPECT_LT(okInMain.right, childRect.left + 380);
  EXPECT_EQ(childBelowAll, hook_.child);
}

TEST_F(FileDialogTest, FolderOpensByDoubleClickAndMissingFileIsRefusedWithAMessage) {
  std::vector<std::string> boxes;
  SetMessageBoxAnswer(
      [](HWND, LPCSTR text, LPCSTR, UINT, void* seen) {
        static_cast<std::vector<std::string>*>(seen)->push_back(text);
        return IDOK;
      },
      &boxes);
  std::vector<std::string> inside;
  bool openAfterRefusal = false;
  SetCommonDialogScript([&](HWND dialog) {
    SetDlgItemTextA(dialog, edt1, "absent.bmp");
    PressButton(dialog, IDOK);
    openAfterRefusal = IsWindowVisible(dialog);
    SetDlgItemTextA(dialog, edt1, "");
    ClickFileListItem(dialog, "[pictures]");
    SendMessageA(GetDlgItem(dialog, lst1), WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 3));
    inside = ListItems(dialog);
    ClickFileListItem(dialog, "deep.bmp");
    SendMessageA(GetDlgItem(dialog, lst1), WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 20));
  });
  ASSERT_TRUE(GetOpenFileNameA(&ofn_));
  EXPECT_TRUE(openAfterRefusal);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("C:\\absent.bmp\nFile not found."), std::string::npos);
  EXPECT_EQ(inside, (std::vector<std::string>{"[..]", "deep.bmp"}));
  EXPECT_STREQ(file_, "C:\\pictures\\deep.bmp");
}

TEST_F(FileDialogTest, ChoosingAFileTypeFromTheDropDownChangesTheList) {
  std::vector<std::string> allFiles;
  bool closed = false;
  SetCommonDialogScript([&](HWND dialog) {
    ChooseFromDropDown(dialog, cmb1, 1);
    closed = !SendDlgItemMessageA(dialog, cmb1, CB_GETDROPPEDSTATE, 0, 0);
    allFiles = ListItems(dialog);
    ClickFileListItem(dialog, "notes.txt");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(GetOpenFileNameA(&ofn_));
  EXPECT_TRUE(closed);
  EXPECT_EQ(allFiles, (std::vector<std::string>{"[pictures]", "[windows]", "logo.bmp", "notes.txt", "Wait.BMP"}));
  EXPECT_STREQ(file_, "C:\\notes.txt");
  EXPECT_EQ(ofn_.nFilterIndex, 2u);
}

TEST_F(FileDialogTest, CancelAndTooSmallBufferAreToldApart) {
  SetCommonDialogScript([](HWND dialog) { PressButton(dialog, IDCANCEL); });
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), 0u);

  ofn_.nMaxFile = 6;
  SetCommonDialogScript([](HWND dialog) {
    ClickFileListItem(dialog, "logo.bmp");
    PressButton(dialog, IDOK);
  });
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  WORD needed = 0;
  std::memcpy(&needed, file_, sizeof needed);
  EXPECT_EQ(needed, 12);
}

TEST_F(FileDialogTest, SaveAddsTheDefaultExtensionAndAsksBeforeReplacing) {
  ofn_.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  ofn_.lpstrDefExt = "bmp";
  int asked = 0;
  SetMessageBoxAnswer(
      [](HWND, LPCSTR, LPCSTR, UINT type, void* count) {
        ++*static_cast<int*>(count);
        return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
      },
      &asked);
  SetCommonDialogScript([](HWND dialog) {
    SetDlgItemTextA(dialog, edt1, "logo");  // exists as logo.bmp: the answer No keeps the dialog
    PressButton(dialog, IDOK);
    SetDlgItemTextA(dialog, edt1, "fresh");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(GetSaveFileNameA(&ofn_));
  EXPECT_EQ(asked, 1);
  EXPECT_STREQ(file_, "C:\\fresh.bmp");
}

TEST_F(FileDialogTest, ControlsBesideASmallPlaceholderMoveClearOfTheStandardControls) {
  ofn_.Flags |= OFN_ENABLEHOOK;
  ofn_.lpfnHook = SmallPlaceholderHook;
  RECT standard{}, right{}, below{}, inside{}, hookRect{};
  POINT insideAt{};
  SetCommonDialogScript([&](HWND dialog) {
    // The union of the standard controls.
    standard = {100000, 100000, -100000, -100000};
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (c == hook_.child) continue;
      RECT r{};
      GetWindowRect(c, &r);
      standard = {std::min(standard.left, r.left), std::min(standard.top, r.top), std::max(standard.right, r.right),
                  std::max(standard.bottom, r.bottom)};
    }
    GetWindowRect(GetDlgItem(hook_.child, 1), &right);
    GetWindowRect(GetDlgItem(hook_.child, 2), &below);
    GetWindowRect(GetDlgItem(hook_.child, 3), &inside);
    GetWindowRect(hook_.child, &hookRect);
    insideAt = {inside.left - hookRect.left, inside.top - hookRect.top};
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_GE(right.left, standard.right);  // moved right by what the placeholder lacked
  EXPECT_GE(below.top, standard.bottom);  // and down likewise
  EXPECT_EQ(insideAt.x, 10);  // a control inside the placeholder stays
  EXPECT_EQ(insideAt.y, 10);
  EXPECT_EQ(right.right - right.left, 80);  // moved, not resized
  EXPECT_GE(hookRect.right, right.right);  // the child grew to hold them
  EXPECT_GE(hookRect.bottom, below.bottom);
}

TEST_F(FileDialogTest, HookThatRefusesTheFileKeepsTheDialogOpen) {
  ofn_.Flags |= OFN_ENABLEHOOK;
  ofn_.lpfnHook = PreviewHook;
  hook_.refuseFileOk = 1;
  int presses = 0;
  SetCommonDialogScript([&](HWND dialog) {
    ClickFileListItem(dialog, "logo.bmp");
    while (IsWindowVisible(dialog) && presses < 3) {
      ++presses;
      PressButton(dialog, IDOK);
    }
  });
  ASSERT_TRUE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(presses, 2);
}

}  // namespace

namespace {

struct ListScrolling {
  bool barShown = false;
  int topBefore = 0, topAfterArrow = 0;
};

// The file list of a folder of `files` pictures: whether its scroll bar shows, and where a click on
// the bar's down arrow (at the list's bottom right corner, inside the edge) leaves the top row.
ListScrolling ScrollingOfAFolderOf(int files, const std::filesystem::path& folder, OPENFILENAMEA& ofn) {
  std::filesystem::create_directory(folder);
  for (int i = 0; i < files; ++i) std::ofstream(folder / ("picture" + std::to_string(i) + ".bmp")) << "x";
  ListScrolling seen;
  SetCommonDialogScript([&](HWND dialog) {
    HWND list = GetDlgItem(dialog, lst1);
    seen.barShown = (GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) != 0;
    seen.topBefore = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    RECT r{};
    GetWindowRect(list, &r);
    const int edge = GetSystemMetrics(SM_CXEDGE), arrow = GetSystemMetrics(SM_CYVSCROLL);
    const POINT down{r.right - edge - arrow / 2, r.bottom - edge - arrow / 2};
    InjectMouseButton(host::InputEvent::Left, true, down.x, down.y);
    InjectMouseButton(host::InputEvent::Left, false, down.x, down.y);
    PumpMessages();
    seen.topAfterArrow = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    PressButton(dialog, IDCANCEL);
  });
  ofn.lpstrInitialDir = "c:\\many";
  GetOpenFileNameA(&ofn);
  return seen;
}

}  // namespace

TEST_F(FileDialogTest, AListWithMoreFilesThanFitShowsItsScrollBarWhichScrollsIt) {
  const ListScrolling few = ScrollingOfAFolderOf(3, root_.DriveC() / "many", ofn_);
  EXPECT_FALSE(few.barShown);
  EXPECT_EQ(few.topAfterArrow, 0);
  const ListScrolling many = ScrollingOfAFolderOf(30, root_.DriveC() / "many", ofn_);
  EXPECT_TRUE(many.barShown);
  EXPECT_EQ(many.topBefore, 0);
  EXPECT_EQ(many.topAfterArrow, 1);
}
