#pragma once
// The dialog service: message dialogs and message boxes. Each request goes to the installed
// dialog handler (a test's answers, or the class library's modal message window once the
// application object installs it); with none, to the USER layer's MessageBoxA. Any thread may ask.
#include <functional>
#include <string>

#include "vcl/sets.h"
#include "win32/types.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// The modal results; the first seven equal the message box results IDOK .. IDNO.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

// What a dialog asks. MessageDlg fills the dialog fields, MessageBox the box fields.
struct TDialogRequest {
  enum TKind { dkMessageDlg, dkMessageBox };
  TKind Kind = dkMessageDlg;
  std::string Text;
  std::string Caption;
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons Buttons;
  int HelpCtx = 0;
  int X = -1;  // MessageDlgPos's screen position; -1 centres
  int Y = -1;
  UINT Flags = 0;  // MessageBox's MB_ flags
};

// Answers a request: a modal result for a dialog, an ID result for a box. An empty handler
// restores the default. Returns the handler that was installed.
using TDialogHandler = std::function<int(const TDialogRequest& Request)>;
TDialogHandler SetDialogHandler(TDialogHandler Handler);

// The title of ShowMessage and mtCustom dialogs; the application object sets it from its Title.
// Until then it is the program's file name without extension.
void SetApplicationTitle(const std::string& Title);
std::string ApplicationTitle();

// The caption follows the type: "Warning", "Error", "Information", "Confirm", or the
// application's title for mtCustom.
TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
TModalResult MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                           int Y);
// An OK dialog with the application's title.
void ShowMessage(const std::string& Msg);
// What the application object's MessageBox forwards to: the text, caption and MB_ flags as given.
int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags);
