#pragma once
// The dialog service: message dialogs and message boxes. Each request goes to the installed
// dialog handler (a test's answers) when there is one. Without, a message dialog on the main
// thread is the class library's message form, shown modally; a message box, or a message dialog
// on another thread, is the USER layer's MessageBoxA (which has neither Help nor All, and refuses
// button sets no box has with EInvalidOperation). Any thread may ask. Unattended (no desktop), a
// dialog or box writes its caption and text to standard error and takes its default button.
#include <functional>
#include <string>

#include "vcl/sets.h"
#include "win32/types.h"

class TForm;

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

// The message form: captioned after the type (as MessageDlg), the type's icon (none for mtCustom)
// in a TImage "Image", the message word-wrapped in a TLabel "Message", and one TButton per button
// in the order of TMsgDlgBtn, named after it ("Yes", "No", "OK", "Cancel", "Abort", "Retry",
// "Ignore", "All", "Help") with its modal result. Return presses OK, else Yes, else the first
// button; Escape presses Cancel, else No, else OK. Help calls the application's HelpContext with
// the form's HelpContext and leaves the dialog open. No buttons at all give an OK button. The
// caller shows the form and frees it.
TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);

// The caption follows the type: "Warning", "Error", "Information", "Confirm", or the
// application's title for mtCustom. The form is centred on the screen, or MessageDlgPos puts it
// at X, Y (either -1 centres along that axis). The result is the button's modal result; mrCancel
// when the dialog is closed otherwise.
TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
TModalResult MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                           int Y);
// An OK dialog with the application's title.
void ShowMessage(const std::string& Msg);
// What the application object's MessageBox forwards to: the text, caption and MB_ flags as given.
int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags);
