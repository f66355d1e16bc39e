#pragma once
// Controls: TControl (bounds, alignment, appearance, mouse), TWinControl (a window of its own,
// children, focus, keys), TGraphicControl and TCustomControl (a canvas and Paint).
//
// Messages reach a control through WindowProc (by default its WndProc); a WndProc override
// handles what it wants and passes the rest to the inherited WndProc. Unhandled messages end in
// DefaultHandler, which for a windowed control is the window class's default procedure.
#include <functional>
#include <string>
#include <vector>

#include "vcl/components.h"
#include "vcl/dialogs.h"
#include "vcl/formreader.h"
#include "vcl/graphics.h"
#include "vcl/messages.h"
#include "vcl/sets.h"
#include "vcl/typinfo.h"
#include "win32/user.h"

class TWinControl;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
extern const TTypeInfo TypeInfo_TAlign;

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking
};
using TControlState = TSet<TControlStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

// The shift state of a mouse message's key flags, and of the keyboard for a key message.
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
extern const TTypeInfo TypeInfo_TMouseEvent;
extern const TTypeInfo TypeInfo_TMouseMoveEvent;
extern const TTypeInfo TypeInfo_TKeyEvent;
extern const TTypeInfo TypeInfo_TKeyPressEvent;

// Cursors: the stock ones are negative; programs register their own under positive numbers.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;
// Names reach form descriptions through RegisterIntegerConsts.
extern const TTypeInfo TypeInfo_TCursor;
bool IdentToCursor(const std::string& Ident, std::int64_t& Cursor);
bool CursorToIdent(std::int64_t Cursor, std::string& Ident);

// Dragging: only stored and published; nothing in the system drags controls.
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
extern const TTypeInfo TypeInfo_TDragMode;
class TDragObject : public TObject {};
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
extern const TTypeInfo TypeInfo_TDragDropEvent;
extern const TTypeInfo TypeInfo_TDragOverEvent;
extern const TTypeInfo TypeInfo_TEndDragEvent;
extern const TTypeInfo TypeInfo_TStartDragEvent;

// Border styles of forms; controls with a border (panels, edits) use bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
extern const TTypeInfo TypeInfo_TFormBorderStyle;

// TModalResult and mrNone .. mrAll come with the dialog service.

class EInvalidControlOperation : public EInvalidOperation {
  using EInvalidOperation::EInvalidOperation;
};

// ---- TControl ---------------------------------------------------------------------------------
class TControl : public TComponent, public IChildComponent {
 public:
  VCL_CLASS_INFO
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // Form descriptions nest controls in windowed controls: that one becomes the parent.
  void SetParentComponent(TComponent* ParentComponent) override;

  // Messages.
  std::function<void(TMessage&)> WindowProc;
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
  virtual void WndProc(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const { return parent_ != nullptr; }

  // Bounds in the parent's client coordinates.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
  void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
  void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
  void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  void SetBoundsRect(const TRect& R) { SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top); }
  virtual TRect ClientRect();
  int ClientWidth() { return ClientRect().right; }
  int ClientHeight() { return ClientRect().bottom; }
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  // The screen point of the client area's top-left corner; a control without a parent window
  // raises EInvalidOperation.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& Point);
  TPoint ScreenToClient(const TPoint& Point);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign Value);

  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  void Show();
  void Hide();
  // Visible together with all its parents.
  bool IsVisible() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);

  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool Value);
  TFont* Font() const { return font_; }
  void SetFont(TFont* Value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool Value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value);
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode Value) { dragMode_ = Value; }
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor Value) { dragCursor_ = Value; }

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& Value) { hint_ = Value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool Value);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* Value);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int Value) { helpContext_ = Value; }

  // Caption and Text are one value.
  virtual std::string GetText();
  virtual void SetText(const std::string& Value);
  std::string Caption() { return GetText(); }
  void SetCaption(const std::string& Value) { SetText(Value); }

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle Value) { controlStyle_ = Value; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState Value) { controlState_ = Value; }

  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  // The palette this control draws with, realised by its form; none by default.
  virtual HPALETTE GetPalette();
  void BringToFront();
  void SendToBack();

  // Window-less controls receive the mouse through their parent; capturing keeps it coming
  // while a button is held outside the control.
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;

 protected:
  friend class TWinControl;
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // Asks the parent to align its controls again after this one changed.
  void RequestAlign();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Invalidates this control's rectangle on the parent's window, erasing under it unless opaque.
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  // Sets the bounds without asking anyone; the alignment pass and windowed controls use it.
  void StoreBounds(int ALeft, int ATop, int AWidth, int AHeight);

  std::string text_;

 private:
  void HandleMouseMessage(TMessage& Message);
  void PopupAt(const TPoint& ScreenPoint);
  void HandleParentChange(TMessage& Message);
  void FontChanged(TObject* Sender);

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  TFont* font_;
  bool parentFont_ = true;
  TCursor cursor_ = crDefault;
  TDragMode dragMode_ = dmManual;
  TCursor dragCursor_ = crDrag;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TPopupMenu* popupMenu_ = nullptr;
  int helpContext_ = 0;
  TControlStyle controlStyle_;
  TControlState controlState_;
};

// The window-less control the mouse is held on (messages go to it), or none.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

// ---- TWinControl ------------------------------------------------------------------------------
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSA WindowClass{};
  std::string WinClassName;
};

class TWinControl : public TControl {
 public:
  VCL_CLASS_INFO
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // Made on first use, with the parent's window (and the windows of the children).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // The control whose window this is, or none.
  static TWinControl* FindControl(HWND Window);
  // Destroys the window and makes it again with fresh creation parameters.
  void RecreateWnd();

  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect ClientRect() override;
  // The window's own client origin, so a form (which has no parent) answers too.
  TPoint ClientOrigin() override;
  std::string GetText() override;
  void SetText(const std::string& Value) override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;

  // Children: the window-less ones first, then the windowed ones, each in insertion order
  // (later ones paint on top).
  int ControlCount() const { return static_cast<int>(controls_.size() + winControls_.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  // The visible window-less child at Pos (client coordinates), the top one first; one that
  // answers CM_HITTEST with 0 lets the point through to the one beneath.
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled);
  // Sends the message to each child until one gives a non-zero Result.
  void Broadcast(TMessage& Message);
  // Sends the message to each child, whatever they answer.
  void NotifyControls(UINT Msg);

  // Alignment pass over the children in the order top, bottom, left, right, client.
  void Realign();
  void DisableAlign();
  void EnableAlign();

  TBrush* Brush() const { return brush_; }
  // Sunken 3D edges instead of flat lines; controls that draw a border read it.
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool Value);

  // Focus and tab order.
  bool CanFocus();
  virtual void SetFocus();
  bool Focused();
  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool Value);
  // Tab order among this control's windowed descendants.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  // Takes the default procedure and class style of a window class the USER layer provides
  // (standard controls build on "BUTTON", "EDIT" ...).
  void CreateSubClass(TCreateParams& Params, LPCSTR ControlClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void CreateHandle();
  void DestroyHandle();
  void Loaded() override;

  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void PaintWindow(HDC DC);
  void PaintControls(HDC DC, TControl* First);
  void PaintHandler(TMessage& Message);

  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // Key events go to the form first when its KeyPreview is set; true when the key was eaten.
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);

  WNDPROC DefWndProc = nullptr;

 private:
  friend class TControl;
  static LRESULT InitWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  void MainWndProc(TMessage& Message);
  void UpdateBounds();
  void AlignControl(TControl* AControl);
  void HandleKeyMessage(TMessage& Message);
  void RouteMouseMessage(TMessage& Message);
  void HandleMouseTracking(TMessage& Message);
  bool ForwardMouseToChild(TMessage& Message);
  bool ReflectToChild(TMessage& Message);
  void EraseBackground(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void CMColorChanged();
  void CMFontChanged();
  void CMEnabledChanged();
  void CMVisibleChanged();
  void CNCtlColor(TMessage& Message);
  void MoveToFront(TControl* AControl);
  void MoveToBack(TControl* AControl);

  HWND handle_ = nullptr;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> winControls_;
  std::vector<TWinControl*> tabList_;
  TBrush* brush_;
  bool tabStop_ = false;
  bool ctl3D_ = true;
  int alignLevel_ = 0;
};

// The form a control lies on (its top-level parent when that is a form), or none.
class TCustomForm;
TCustomForm* GetParentForm(TControl* Control);

// ---- Controls with a canvas ---------------------------------------------------------------------
// A canvas on a control: outside painting it draws through a device context of the control's
// window (the parent's, offset and clipped, for a window-less control), made on first use and
// given back when the message loop goes idle.
class TControlCanvas : public TCanvas {
 public:
  VCL_CLASS_INFO
  ~TControlCanvas() override;
  TControl* Control() const { return control_; }
  void SetControl(TControl* AControl);
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* control_ = nullptr;
  HDC deviceContext_ = nullptr;
  HWND window_ = nullptr;
};

// Gives back every device context that control canvases hold.
void FreeDeviceContexts();

class TGraphicControl : public TControl {
 public:
  VCL_CLASS_INFO
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  void WndProc(TMessage& Message) override;
  TCanvas* Canvas() const { return canvas_; }

 protected:
  virtual void Paint() {}

 private:
  TControlCanvas* canvas_;
};

class TCustomControl : public TWinControl {
 public:
  VCL_CLASS_INFO
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return canvas_; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

 private:
  TControlCanvas* canvas_;
};
