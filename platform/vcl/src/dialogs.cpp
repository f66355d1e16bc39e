// The dialog service.
#include "vcl/dialogs.h"

#include <errno.h>

#include <cstdio>
#include <memory>
#include <mutex>

#include "dialogs_caption.h"
#include "host/display.h"
#include "vcl/forms.h"
#include "vcl/sysutils.h"
#include "vcl/threads.h"
#include "win32/user.h"

namespace {

struct TDialogState {
  std::mutex mutex;
  TDialogHandler handler;
  std::string title = ChangeFileExt(program_invocation_short_name, "");
};

TDialogState& State() {
  static TDialogState state;
  return state;
}

TDialogHandler CurrentHandler() {
  std::lock_guard lock(State().mutex);
  return State().handler;
}

UINT IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return MB_ICONWARNING;
    case mtError: return MB_ICONERROR;
    case mtInformation: return MB_ICONINFORMATION;
    case mtConfirmation: return MB_ICONQUESTION;
    case mtCustom: break;
  }
  return 0;
}

// The message box that has the dialog's buttons, for threads other than the main one: the message
// form belongs to the main thread. A plain message box has neither Help nor All.
UINT ButtonsOf(TMsgDlgButtons buttons) {
  buttons = buttons - TMsgDlgButtons{mbHelp, mbAll};
  struct TChoice {
    TMsgDlgButtons buttons;
    UINT type;
  };
  const TChoice choices[] = {
      {{mbOK}, MB_OK},
      {{mbOK, mbCancel}, MB_OKCANCEL},
      {{mbYes, mbNo}, MB_YESNO},
      {{mbYes, mbNo, mbCancel}, MB_YESNOCANCEL},
      {{mbRetry, mbCancel}, MB_RETRYCANCEL},
      {{mbAbort, mbRetry, mbIgnore}, MB_ABORTRETRYIGNORE},
  };
  for (const TChoice& choice : choices)
    if (choice.buttons == buttons) return choice.type;
  throw EInvalidOperation("No message box has the buttons of this dialog");
}

TModalResult ShowMessageForm(const TDialogRequest& request) {
  std::unique_ptr<TForm> form(CreateMessageDialog(request.Text, request.DlgType, request.Buttons));
  form->SetHelpContext(request.HelpCtx);
  form->SetLeft(request.X >= 0 ? request.X : (Screen->Width() - form->Width()) / 2);
  form->SetTop(request.Y >= 0 ? request.Y : (Screen->Height() - form->Height()) / 2);
  return form->ShowModal();
}

int Present(const TDialogRequest& request) {
  if (const TDialogHandler handler = CurrentHandler()) return handler(request);
  const bool dialog = request.Kind == TDialogRequest::dkMessageDlg;
  // Nobody could answer (no desktop): say it on standard error and take the default button. A
  // box leaves that to MessageBoxA.
  if (dialog && host::Unattended()) {
    std::fprintf(stderr, "%s: %s\n", request.Caption.c_str(), request.Text.c_str());
    return DefaultResultOf(request.Buttons);
  }
  if (dialog && GetCurrentThreadId() == MainThreadID()) return ShowMessageForm(request);
  const UINT flags = dialog ? ButtonsOf(request.Buttons) | IconOf(request.DlgType) : request.Flags;
  return MessageBoxA(GetActiveWindow(), request.Text.c_str(), request.Caption.c_str(), flags);
}

}  // namespace

std::string MessageDlgCaption(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
  }
  return ApplicationTitle();
}

TDialogHandler SetDialogHandler(TDialogHandler Handler) {
  std::lock_guard lock(State().mutex);
  std::swap(State().handler, Handler);
  return Handler;
}

void SetApplicationTitle(const std::string& Title) {
  std::lock_guard lock(State().mutex);
  State().title = Title;
}

std::string ApplicationTitle() {
  std::lock_guard lock(State().mutex);
  return State().title;
}

TModalResult MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                           int Y) {
  TDialogRequest request;
  request.Text = Msg;
  request.Caption = MessageDlgCaption(DlgType);
  request.DlgType = DlgType;
  request.Buttons = Buttons;
  request.HelpCtx = HelpCtx;
  request.X = X;
  request.Y = Y;
  return Present(request);
}

TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

void ShowMessage(const std::string& Msg) { MessageDlg(Msg, mtCustom, {mbOK}, 0); }

int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  TDialogRequest request;
  request.Kind = TDialogRequest::dkMessageBox;
  request.Text = Text;
  request.Caption = Caption;
  request.Flags = Flags;
  return Present(request);
}
