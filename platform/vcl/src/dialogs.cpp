// The dialog service.
#include "vcl/dialogs.h"

#include <errno.h>

#include <mutex>

#include "vcl/sysutils.h"
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

const char* CaptionOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
  }
  return nullptr;
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

// The message box that has the dialog's buttons. A plain message box has neither Help nor All;
// the modal message window shows those.
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

int Present(const TDialogRequest& request) {
  if (const TDialogHandler handler = CurrentHandler()) return handler(request);
  const UINT flags = request.Kind == TDialogRequest::dkMessageBox
                         ? request.Flags
                         : ButtonsOf(request.Buttons) | IconOf(request.DlgType);
  return MessageBoxA(GetActiveWindow(), request.Text.c_str(), request.Caption.c_str(), flags);
}

}  // namespace

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
  const char* caption = CaptionOf(DlgType);
  request.Caption = caption ? caption : ApplicationTitle();
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
