#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "host/testing/nobody_at_display.h"
#include "vcl/dialogs.h"
#include "vcl/sysutils.h"
#include "vcl/testing/dialogs.h"
#include "win32/user.h"

namespace {

struct TCaptionCase {
  TMsgDlgType type;
  const char* caption;
};

TEST(Dialogs, MessageDlgCaptionsFollowTheType) {
  SetApplicationTitle("Tarnquill");
  const TCaptionCase cases[] = {{mtWarning, "Warning"},
                                {mtError, "Error"},
                                {mtInformation, "Information"},
                                {mtConfirmation, "Confirm"},
                                {mtCustom, "Tarnquill"}};
  TDialogRecorder recorder;
  for (const TCaptionCase& c : cases) MessageDlg("text", c.type, {mbOK}, 0);
  const auto calls = recorder.Calls();
  ASSERT_EQ(calls.size(), std::size(cases));
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].Caption, cases[i].caption);
    EXPECT_EQ(calls[i].DlgType, cases[i].type);
  }
}

TEST(Dialogs, TheRecorderAnswersAndRecordsWhatWasAsked) {
  SetApplicationTitle("Corvane");
  TDialogRecorder recorder(mrCancel);
  recorder.Answer(mrYes);
  EXPECT_EQ(MessageDlg("Backup?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0), mrYes);
  EXPECT_EQ(MessageDlgPos("done", mtInformation, {mbOK, mbHelp}, 5000, 110, 90), mrCancel);
  ShowMessage("Thank you!");
  EXPECT_EQ(MessageBox("Premature end of JPEG file", "JPG Warning", MB_ICONWARNING), mrCancel);

  const auto calls = recorder.Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].Text, "Backup?");
  EXPECT_TRUE(calls[0].Buttons == (TMsgDlgButtons{mbYes, mbNo, mbCancel}));
  EXPECT_EQ(calls[1].HelpCtx, 5000);
  EXPECT_EQ(calls[1].X, 110);
  EXPECT_EQ(calls[1].Y, 90);
  EXPECT_EQ(calls[0].X, -1);
  EXPECT_EQ(calls[2].Caption, "Corvane");
  EXPECT_TRUE(calls[2].Buttons == TMsgDlgButtons{mbOK});
  EXPECT_EQ(calls[3].Kind, TDialogRequest::dkMessageBox);
  EXPECT_EQ(calls[3].Caption, "JPG Warning");
  EXPECT_EQ(calls[3].Flags, MB_ICONWARNING);
}

TEST(DialogsDeathTest, UnattendedDialogsWriteTheirTextAndTakeTheDefaultButton) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct TCase {
    TMsgDlgButtons Buttons;
    int Result;
  };
  const TCase cases[] = {{{mbYes, mbNo}, mrYes}, {{mbOK, mbHelp}, mrOk}, {{mbAbort, mbRetry, mbIgnore}, mrAbort}};
  for (bool forced : {false, true})
    for (const TCase& c : cases) {
      SCOPED_TRACE(forced ? "forced headless" : "no desktop");
      EXPECT_EXIT(
          {
            NobodyAtTheDisplay(forced);
            std::exit(MessageDlg("Replace the logo?", mtConfirmation, c.Buttons, 0));
          },
          ::testing::ExitedWithCode(c.Result), "Confirm: Replace the logo\\?");
    }
}

TEST(Dialogs, WorkerThreadsMayAsk) {
  TDialogRecorder recorder;
  std::thread([] { MessageBox("from a worker", "TIFF-Warning", MB_ICONWARNING); }).join();
  ASSERT_EQ(recorder.Calls().size(), 1u);
  EXPECT_EQ(recorder.Calls()[0].Text, "from a worker");
}

// Without a handler, a thread other than the main one gets message boxes of the USER layer.
TEST(Dialogs, WithoutAHandlerWorkerThreadsGetMessageBoxes) {
  static std::vector<UINT> seen;
  seen.clear();
  SetMessageBoxAnswer(
      [](HWND, LPCSTR, LPCSTR caption, UINT type, void*) {
        seen.push_back(type);
        return std::string(caption) == "Confirm" ? IDNO : IDOK;
      },
      nullptr);
  const struct {
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    UINT flags;
    TModalResult result;
  } cases[] = {
      {mtConfirmation, {mbYes, mbNo, mbCancel}, MB_YESNOCANCEL | MB_ICONQUESTION, mrNo},
      {mtWarning, {mbOK}, MB_OK | MB_ICONWARNING, mrOk},
      {mtError, {mbAbort, mbRetry, mbIgnore}, MB_ABORTRETRYIGNORE | MB_ICONERROR, mrOk},
      {mtInformation, {mbOK, mbHelp}, MB_OK | MB_ICONINFORMATION, mrOk},
      {mtCustom, {mbRetry, mbCancel}, MB_RETRYCANCEL, mrOk},
  };
  std::thread([&] {
    for (const auto& c : cases) EXPECT_EQ(MessageDlg("q", c.type, c.buttons, 0), c.result);
    EXPECT_THROW(MessageDlg("q", mtWarning, {mbYes, mbOK}, 0), EInvalidOperation);
  }).join();
  ASSERT_EQ(seen.size(), std::size(cases));
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], cases[i].flags) << i;
  SetMessageBoxAnswer(nullptr, nullptr);
}

}  // namespace
