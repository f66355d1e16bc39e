#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "forms_fixture.h"
#include "vcl/commdlg.h"
#include "win32/controls.h"
#include "win32/testing/dialogs.h"
#include "win32/testing/machine_root.h"

namespace {

void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Records what the override was handed, then shows the dialog as usual.
class TRecordingOpenDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;
  OPENFILENAMEA seen{};
  std::vector<std::string> filterPairs;

 protected:
  BOOL TaskModalDialog(BOOL (*DialogFunc)(LPOPENFILENAMEA), OPENFILENAMEA& DialogData) override {
    seen = DialogData;
    for (const char* p = DialogData.lpstrFilter; p && *p; p += std::strlen(p) + 1) filterPairs.push_back(p);
    DialogData.nFilterIndex = 2;
    return TOpenDialog::TaskModalDialog(DialogFunc, DialogData);
  }
};

class OpenDialogTest : public FormsTest {
 protected:
  OpenDialogTest() {
    for (const char* name : {"logo.bmp", "Wait.BMP", "notes.txt"}) std::ofstream(root_.DriveC() / name) << "x";
  }
  ~OpenDialogTest() override { SetCommonDialogScript(nullptr); }

  template <class T>
  T* MakeDialog() {
    auto* dialog = new T(&owner_);
    dialog->SetFilter("Bitmaps|*.bmp|All files|*.*");
    dialog->SetInitialDir("c:\\");
    dialog->SetOptions({ofHideReadOnly, ofFileMustExist});
    dialog->OnShow = [this](TObject*) { events_.push_back("show"); };
    dialog->OnClose = [this](TObject*) { events_.push_back("close"); };
    dialog->OnFolderChange = [this](TObject*) { events_.push_back("folder"); };
    dialog->OnTypeChange = [this](TObject*) { events_.push_back("type"); };
    dialog->OnSelectionChange = [this, dialog](TObject*) { events_.push_back("sel " + dialog->FileName()); };
    dialog->OnCanClose = [this, dialog](TObject*, bool& canClose) {
      events_.push_back("canclose " + dialog->FileName());
      canClose = refusals_-- <= 0;
    };
    return dialog;
  }

  ScopedMachineRoot root_;
  TComponent owner_{nullptr};
  std::vector<std::string> events_;
  int refusals_ = 0;
};

TEST_F(OpenDialogTest, ExecuteReturnsTheChosenFileWithTheEventsInOrder) {
  TOpenDialog* dialog = MakeDialog<TOpenDialog>();
  SetCommonDialogScript([](HWND window) {
    ClickFileListItem(window, "Wait.BMP");
    ClickFileListItem(window, "logo.bmp");
    Press(window, IDOK);
  });
  ASSERT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->FileName(), "C:\\logo.bmp");
  EXPECT_EQ(dialog->FilterIndex(), 1);
  EXPECT_EQ(events_, (std::vector<std::string>{"show", "folder", "sel C:\\Wait.BMP", "sel C:\\logo.bmp",
                                               "canclose C:\\logo.bmp", "close"}));
}

TEST_F(OpenDialogTest, RefusedCloseKeepsTheDialogAndCancelReturnsFalse) {
  TSaveDialog* dialog = MakeDialog<TSaveDialog>();
  dialog->SetFileName("kept.bmp");
  refusals_ = 1;
  SetCommonDialogScript([](HWND window) {
    ClickFileListItem(window, "logo.bmp");
    Press(window, IDOK);
    EXPECT_TRUE(IsWindow(window)) << "a refused close must keep the dialog";
    Press(window, IDCANCEL);
  });
  EXPECT_FALSE(dialog->Execute());
  EXPECT_EQ(dialog->FileName(), "kept.bmp");
  ASSERT_FALSE(events_.empty());
  EXPECT_EQ(events_.back(), "close");
  EXPECT_EQ(std::count(events_.begin(), events_.end(), "canclose C:\\logo.bmp"), 1);
}

TEST_F(OpenDialogTest, DescendantOverrideSeesAndChangesTheRecord) {
  auto* dialog = MakeDialog<TRecordingOpenDialog>();
  dialog->SetTitle("Select a bitmap");
  dialog->SetDefaultExt("bmp");
  std::vector<std::string> listed;
  SetCommonDialogScript([&](HWND window) {
    HWND list = GetDlgItem(window, lst1);
    for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
      char text[MAX_PATH] = {};
      SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      listed.push_back(text);
    }
    ClickFileListItem(window, "notes.txt");
    Press(window, IDOK);
  });
  ASSERT_TRUE(dialog->Execute());
  const OPENFILENAMEA& seen = dialog->seen;
  EXPECT_EQ(seen.lStructSize, sizeof(OPENFILENAMEA));
  EXPECT_EQ(reinterpret_cast<TOpenDialog*>(seen.lCustData), dialog);
  EXPECT_NE(seen.lpfnHook, nullptr);
  const DWORD wanted = OFN_ENABLEHOOK | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
  EXPECT_EQ(seen.Flags & wanted, wanted);
  EXPECT_EQ(seen.Flags & (OFN_READONLY | OFN_OVERWRITEPROMPT), 0u);
  EXPECT_STREQ(seen.lpstrTitle, "Select a bitmap");
  EXPECT_STREQ(seen.lpstrDefExt, "bmp");
  EXPECT_STREQ(seen.lpstrInitialDir, "c:\\");
  EXPECT_EQ(dialog->filterPairs, (std::vector<std::string>{"Bitmaps", "*.bmp", "All files", "*.*"}));
  // The override chose the second filter, so the text file is listed and can be taken.
  EXPECT_NE(std::find(listed.begin(), listed.end(), "notes.txt"), listed.end());
  EXPECT_EQ(dialog->FileName(), "C:\\notes.txt");
  EXPECT_EQ(dialog->FilterIndex(), 2);
}

TEST_F(OpenDialogTest, FormDescriptionsCreateTheDialogsAndSetTheirOptions) {
  for (const char* name : {"TOpenDialog", "TSaveDialog"}) {
    const TClassInfo* info = GetClass(name);
    ASSERT_NE(info, nullptr) << name;
    TComponent* made = info->Create()(&owner_);
    auto* dialog = dynamic_cast<TOpenDialog*>(made);
    ASSERT_NE(dialog, nullptr) << name;
    const TPropInfo* options = GetPropInfo(*dialog, "Options");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(GetSetProp(*dialog, *options), "ofHideReadOnly");
    SetSetProp(*dialog, *options, "ofOverwritePrompt, ofEnableSizing");
    EXPECT_EQ(dialog->Options(), (TOpenOptions{ofOverwritePrompt, ofEnableSizing}));
    SetStrProp(*dialog, *GetPropInfo(*dialog, "Filter"), "All|*.*");
    EXPECT_EQ(dialog->Filter(), "All|*.*");
  }
}

}  // namespace
