#include <gtest/gtest.h>

#include <algorithm>

#include "forms_fixture.h"
#include "vcl/threads.h"
#include "vcl/timers.h"

namespace {

class FormsModalTest : public FormsTest {
 protected:
  FormsModalTest() {
    main_->SetBounds(0, 0, 200, 100);
    main_->Show();
    dialog_->SetBounds(50, 50, 100, 50);
    dialog_->OnShow = [this](TObject*) {
      mainEnabledWhileModal_ = IsWindowEnabled(main_->Handle()) != 0;
      dialog_->Post();
    };
  }
  ~FormsModalTest() override {
    delete dialog_;
    delete main_;
  }

  TScriptedForm* main_ = new TScriptedForm(nullptr);
  TScriptedForm* dialog_ = new TScriptedForm(nullptr);
  bool mainEnabledWhileModal_ = true;
};

// Sets the form's modal result from a worker thread through Synchronize.
class TModalCloser : public TThread {
 public:
  TModalCloser(TCustomForm* form) : TThread(true), form_(form) {}
  ~TModalCloser() override {
    Terminate();
    WaitFor();
  }

 protected:
  void Execute() override {
    Synchronize([this] { form_->SetModalResult(mrYes); });
  }

 private:
  TCustomForm* form_;
};

}  // namespace

TEST_F(FormsModalTest, ModalLoopEndsWithTheResultAndReenablesTheOtherWindows) {
  struct TCase {
    const char* Name;
    std::function<void(TScriptedForm*)> Act;
    TModalResult Expected;
  };
  const TCase cases[] = {
      {"modal result set", [](TScriptedForm* f) { f->SetModalResult(mrOk); }, mrOk},
      {"closed", [](TScriptedForm* f) { f->Close(); }, mrCancel},
      {"closed by the user", [](TScriptedForm* f) { PostMessageA(f->Handle(), WM_CLOSE, 0, 0); }, mrCancel},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    dialog_->OnUser = [&] { c.Act(dialog_); };
    EXPECT_EQ(dialog_->ShowModal(), c.Expected);
    EXPECT_FALSE(mainEnabledWhileModal_);
    EXPECT_FALSE(dialog_->Visible());
    EXPECT_FALSE(dialog_->Modal());
    EXPECT_TRUE(IsWindowEnabled(main_->Handle()));
  }
}

// While it shows, a modal form belongs to the window that was active, so the desktop keeps it in
// front of that window; afterwards it belongs to nobody again.
TEST_F(FormsModalTest, AModalFormIsOwnedByTheActiveWindowWhileItShows) {
  SetActiveWindow(main_->Handle());
  HWND ownerWhileModal = nullptr;
  dialog_->OnUser = [&] {
    ownerWhileModal = GetWindow(dialog_->Handle(), GW_OWNER);
    dialog_->SetModalResult(mrOk);
  };
  EXPECT_EQ(dialog_->ShowModal(), mrOk);
  EXPECT_EQ(ownerWhileModal, main_->Handle());
  EXPECT_EQ(GetWindow(dialog_->Handle(), GW_OWNER), nullptr);
}

TEST_F(FormsModalTest, CloseQueryCanRefuseAndOnCloseCanKeepTheFormOpen) {
  int queries = 0;
  dialog_->OnUser = [&] { dialog_->SetModalResult(mrOk); };
  // The first answer is "no": the result is dropped and the loop goes on until asked again.
  dialog_->OnCloseQuery = [&](TObject*, bool& canClose) {
    canClose = ++queries > 1;
    if (!canClose) dialog_->Post();
  };
  EXPECT_EQ(dialog_->ShowModal(), mrOk);
  EXPECT_EQ(queries, 2);

  // caNone keeps it open once more.
  int closes = 0;
  dialog_->OnCloseQuery = nullptr;
  dialog_->OnClose = [&](TObject*, TCloseAction& action) {
    if (++closes == 1) {
      action = caNone;
      dialog_->Post();
    }
  };
  dialog_->OnUser = [&] { dialog_->SetModalResult(mrRetry); };
  EXPECT_EQ(dialog_->ShowModal(), mrRetry);
  EXPECT_EQ(closes, 2);
}

TEST_F(FormsModalTest, TerminateEndsTheModalLoopAndTheApplication) {
  dialog_->OnUser = [] { Application->Terminate(); };
  EXPECT_EQ(dialog_->ShowModal(), mrCancel);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(IsWindowEnabled(main_->Handle()));
}

TEST_F(FormsModalTest, ShowingAVisibleFormModallyFails) {
  dialog_->Show();
  EXPECT_THROW(dialog_->ShowModal(), EInvalidOperation);
}

TEST_F(FormsModalTest, TimersRunWhileTheModalLoopWaits) {
  TTimer timer(nullptr);
  timer.SetEnabled(false);
  timer.SetInterval(20);
  timer.SetOnTimer([&](TObject*) { dialog_->SetModalResult(mrIgnore); });
  dialog_->OnUser = [&] { timer.SetEnabled(true); };
  EXPECT_EQ(dialog_->ShowModal(), mrIgnore);
}

TEST_F(FormsModalTest, SynchronizeIsServedWhileModal) {
  TModalCloser closer(dialog_);
  dialog_->OnUser = [&] { closer.Resume(); };
  EXPECT_EQ(dialog_->ShowModal(), mrYes);
}

TEST_F(FormsModalTest, TaskWindowsAreDisabledAndEnabledAgainByList) {
  main_->Show();
  dialog_->Show();
  HWND keep = dialog_->Handle();
  const TTaskWindowList list = DisableTaskWindows(keep);
  EXPECT_FALSE(IsWindowEnabled(main_->Handle()));
  EXPECT_TRUE(IsWindowEnabled(keep));
  EXPECT_NE(std::find(list.begin(), list.end(), main_->Handle()), list.end());
  EXPECT_EQ(std::find(list.begin(), list.end(), keep), list.end());
  EnableTaskWindows(list);
  EXPECT_TRUE(IsWindowEnabled(main_->Handle()));
  // A window already disabled stays so: it is not on the list.
  EnableWindow(main_->Handle(), FALSE);
  EnableTaskWindows(DisableTaskWindows(keep));
  EXPECT_FALSE(IsWindowEnabled(main_->Handle()));
  EnableWindow(main_->Handle(), TRUE);
}
