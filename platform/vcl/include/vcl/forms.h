#pragma once
// Forms, the screen and the application object with its message loop.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vcl/controls.h"

class TMainMenu;
class THintWindow;
class TIcon;
class TTimer;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
extern const TTypeInfo TypeInfo_TBorderIcons;
extern const TTypeInfo TypeInfo_TPosition;
extern const TTypeInfo TypeInfo_TFormStyle;
extern const TTypeInfo TypeInfo_TWindowState;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
extern const TTypeInfo TypeInfo_TCloseEvent;
extern const TTypeInfo TypeInfo_TCloseQueryEvent;

class TCustomForm : public TWinControl {
 public:
  VCL_CLASS_INFO
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Runs OnCreate, once, and shows the form when its description made it visible. The
  // application's CreateForm calls it; so does whoever builds a form from its description.
  void AfterConstruction();

  void WndProc(TMessage& Message) override;
  TRect ClientRect() override;
  // Draws on the form's window; its font measures text for the form (menu entries, for one).
  TCanvas* Canvas() const;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition Value) { position_ = Value; }
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle Value);
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState Value);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool Value) { keyPreview_ = Value; }
  // The client size as a form description stores it.
  void SetStoredClientWidth(int Value);
  void SetStoredClientHeight(int Value);
  TMainMenu* Menu() const { return menu_; }
  // The menu's bar takes a row of the window above the client area.
  void SetMenu(TMainMenu* Value);

  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* Control);
  // Called when a control of this form took the focus (or none); fires OnExit / OnEnter.
  void SetFocusedControl(TWinControl* Control);
  // Forgets Control (and, when Removing, its children) as the active control.
  void DefocusControl(TControl* Control, bool Removing);
  bool Active() const { return active_; }

  void Close();
  bool CloseQuery();
  // Shows the form modally: the other windows of the program are disabled until ModalResult is
  // set (or the application terminates, giving mrCancel); the form is hidden again.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult Value) { modalResult_ = Value; }
  bool Modal() const { return modal_; }
  // Frees the form once the messages now in the queue are handled.
  void Release();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnResize;
  TNotifyEvent OnPaint;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();

 private:
  void ShowingChanged(bool Showing);
  void PlaceOnScreen();
  void CloseModal();
  void HandleDialogKey(TMessage& Message);
  // Realises the palettes of the controls that have one; true when any entry changed.
  bool RealizeControlPalettes(bool Foreground);
  TRect FrameDelta();

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  TMainMenu* menu_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  bool active_ = false;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool created_ = false;
  bool placed_ = false;
  bool showing_ = false;
  int pendingClientWidth_ = -1;
  int pendingClientHeight_ = -1;
  TControlCanvas* canvas_;
};

class TForm : public TCustomForm {
 public:
  VCL_CLASS_INFO
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// Disables the visible, enabled top-level windows of this thread other than ActiveWindow, as a
// modal form does, and gives the list of them; EnableTaskWindows enables those that still exist.
using TTaskWindowList = std::vector<HWND>;
TTaskWindowList DisableTaskWindows(HWND ActiveWindow);
void EnableTaskWindows(const TTaskWindowList& WindowList);

// ---- Screen -----------------------------------------------------------------------------------
class TScreen : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int Width() const;
  int Height() const;
  int PixelsPerInch() const { return 96; }

  // crDefault lets each control's own cursor show.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value);
  // The stock cursors and those a program registered; an unknown index gives the arrow.
  HCURSOR Cursors(int Index) const;
  void SetCursors(int Index, HCURSOR Handle);

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int Index) const { return forms_.at(static_cast<size_t>(Index)); }
  // The form last activated, or none.
  TCustomForm* ActiveForm() const { return activeForm_; }
  TWinControl* ActiveControl() const { return activeForm_ ? activeForm_->ActiveControl() : nullptr; }

  // The small sans serif of hints, in the hint text colour.
  TFont* HintFont() const { return hintFont_; }
  void SetHintFont(TFont* Value) { hintFont_->Assign(Value); }

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form) { activeForm_ = Form; }

  TCursor cursor_ = crDefault;
  std::vector<std::pair<int, HCURSOR>> cursors_;
  std::vector<TCustomForm*> forms_;
  TCustomForm* activeForm_ = nullptr;
  TFont* hintFont_;
};

// ---- Application ------------------------------------------------------------------------------
using TExceptionEvent = std::function<void(TObject* Sender, Exception& E)>;

class TApplication : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize() {}
  // The program's name by default (ExeName without folder and extension).
  std::string Title() const;
  void SetTitle(const std::string& Value);
  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(const std::string& Value) { helpFile_ = Value; }
  // The program's Windows path.
  std::string ExeName() const;
  // The program's icon, which its forms give the desktop (with the file's 16 x 16 entry as the
  // small icon when it has one); changing it gives it anew to the forms already made.
  TIcon* Icon() const { return icon_.get(); }

  // Makes a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    T* form = new T(this);
    Reference = form;
    if (!mainForm_) mainForm_ = form;
    form->AfterConstruction();
  }
  TCustomForm* MainForm() const { return mainForm_; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool Value) { showMainForm_ = Value; }

  // Shows the main form (unless Terminate came first) and handles messages until Terminate.
  void Run();
  // Ends Run and every modal loop.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every message waiting, then returns.
  void ProcessMessages();
  // Handles one message, or goes idle and waits for one.
  void HandleMessage();

  // A message box through the dialog service.
  int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags);
  // The exception being handled goes to OnException, or is shown with the title.
  void HandleException(TObject* Sender);
  void ShowException(const std::exception& E);
  TExceptionEvent OnException;

  // Show the context's topic of HelpFile (vcl/help.h; a name without folder lies beside the
  // program) in the help window, a form named "HelpWindow"; HELP_CONTEXTPOPUP does the same,
  // HELP_CONTENTS and HELP_FINDER show topic 0, HELP_QUIT closes the window. Without the file or
  // the topic the user is told that help is not available, and the result is false.
  bool HelpContext(int Context);
  bool HelpCommand(int Command, long Data);

  // The long part of the hint of the control under the mouse.
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& Value);
  TNotifyEvent OnHint;
  // Hint windows: the short part of the hint of a control whose ShowHint is set shows under the
  // mouse after it rested HintPause ms on the control, for HintHidePause ms; moving on to another
  // such control while one shows takes HintShortPause ms. False hides them all.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool Value);
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor Value) { hintColor_ = Value; }
  int HintPause() const { return hintPause_; }
  void SetHintPause(int Value) { hintPause_ = Value; }
  int HintShortPause() const { return hintShortPause_; }
  void SetHintShortPause(int Value) { hintShortPause_ = Value; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int Value) { hintHidePause_ = Value; }
  // Hides the hint; it shows again only when the mouse comes to a control anew.
  void CancelHint();

  // The control the mouse is over, tracked from mouse moves and while idle.
  TControl* MouseControl() const { return mouseControl_; }
  void SetMouseControl(TControl* Control);

 private:
  bool ProcessMessage();
  void Idle();
  void TrackMouseIdle();
  // Hint windows follow the control under the mouse.
  bool HintWanted();
  void HintControlChanged();
  void MouseControlGone();
  void HintTimerExpired();
  void StartHintTimer(int Milliseconds);
  void ShowHintWindow();
  void HideHintWindow();

  // Sends the icon (big and small) to a form's window.
  void GiveIcon(HWND Window);

  std::string title_;
  std::string helpFile_;
  std::unique_ptr<TIcon> icon_;
  HICON smallIcon_ = nullptr;  // made from the icon's file
  bool smallIconStale_ = true;
  TCustomForm* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
  std::string hint_;
  bool showHint_ = true;
  TColor hintColor_ = clInfoBk;
  int hintPause_ = 500;
  int hintShortPause_ = 50;
  int hintHidePause_ = 2500;
  TControl* mouseControl_ = nullptr;
  // Nothing happens to the hint until the mouse moves on, the hint is waiting to show, or it shows.
  enum class THintState { Idle, Waiting, Showing };
  THintState hintState_ = THintState::Idle;
  THintWindow* hintWindow_ = nullptr;
  TTimer* hintTimer_ = nullptr;

  friend class TCustomForm;
  friend void ForgetControl(TControl* Control);
  void FormDestroyed(TCustomForm* Form);
};

// The hint before and after the first "|".
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

// A program whose window waits for a user, started where nobody can see or answer it
// (host::Unattended), says so on standard error with the display it looked for and the runs that
// need nobody, and is to end with kNoDesktopExitCode: true then.
constexpr int kNoDesktopExitCode = 2;
bool RefuseStartWithoutDesktop(const std::string& Program);

extern TApplication* Application;
extern TScreen* Screen;
