#pragma once
// Menus: TMenuItem trees over the USER layer's menu handles, the form's main menu and pop-up
// menus, and shortcuts (a key with Shift, Ctrl and Alt in one word).
//
// Each item with children owns a pop-up handle; any change to an item rebuilds the entries of its
// parent's handle in place, so handles stay valid while a menu is open. Items get a command id
// unique in the process, which WM_COMMAND carries back to the item's OnClick.
#include <string>
#include <vector>

#include "vcl/components.h"
#include "vcl/controls.h"
#include "vcl/formreader.h"
#include "vcl/messages.h"
#include "win32/menus.h"

using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
extern const TTypeInfo TypeInfo_TShortCut;

TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Ctrl+O", "Shift+Del", "F5"; "" for none.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse, without regard to case; 0 for text it does not know.
TShortCut TextToShortCut(const std::string& Text);

class TMenu;

class TMenuItem : public TComponent, public IChildComponent {
 public:
  VCL_CLASS_INFO
  explicit TMenuItem(TComponent* AOwner);
  // Frees the children and leaves the parent.
  ~TMenuItem() override;

  // A form description nests items in items and in menus.
  void SetParentComponent(TComponent* ParentComponent) override;

  // "-" makes a separator.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& Value);
  TShortCut GetShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut Value);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other radio items of its group among its siblings.
  void SetChecked(bool Value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  bool Default() const { return default_; }
  void SetDefault(bool Value);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool Value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int Value);
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  // Shown as the application's hint while the item is highlighted in a menu.
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& Value) { hint_ = Value; }
  // The help topic that F1 on the highlighted item asks for.
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int Value) { helpContext_ = Value; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int Index) const;
  TMenuItem* Parent() const { return parent_; }
  int IndexOf(const TMenuItem* Item) const;
  void Add(TMenuItem* Item);
  // EMenuError when Item already has a parent or Index is out of range.
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out (without freeing it).
  void Delete(int Index);
  void Remove(TMenuItem* Item);

  // The command id of WM_COMMAND, and the pop-up handle for an item with children.
  WORD Command() const { return command_; }
  HMENU Handle();
  bool IsLine() const { return caption_ == "-"; }

  // Fires OnClick (for a parent item: as its pop-up opens).
  virtual void Click();
  TNotifyEvent OnClick;

 private:
  friend class TMenu;
  void Changed();
  void RebuildHandle();
  TMenuItem* FindByShortCut(TShortCut Key);
  TMenuItem* FindByHandle(HMENU Menu);
  TMenuItem* FindByCommand(WORD Command);

  std::string caption_;
  TShortCut shortCut_ = scNone;
  bool checked_ = false;
  bool enabled_ = true;
  bool default_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool visible_ = true;
  std::string hint_;
  int helpContext_ = 0;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  WORD command_;
  HMENU handle_ = nullptr;
  bool isBar_ = false;
  TMenu* menu_ = nullptr;  // set on the root item
};

class EMenuError : public Exception {
  using Exception::Exception;
};

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenu : public TComponent {
 public:
  VCL_CLASS_INFO
  ~TMenu() override;
  // The root item; its children are the menu's entries.
  TMenuItem* Items() const { return items_; }
  HMENU Handle() { return items_->Handle(); }
  // The item of this menu (at any depth) with the command id, the pop-up handle or the shortcut
  // Value; none when it has none. A window that tracks the menu itself answers its messages so.
  TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind);

  // The item with that command id anywhere in the process fires OnClick; false when none has it.
  static bool DispatchCommand(WORD Command);
  // The item whose pop-up is opening fires OnClick; false when no menu knows the handle.
  static bool DispatchPopup(HMENU Menu);
  // A key message (WM_KEYDOWN / WM_SYSKEYDOWN) that is the shortcut of an enabled item clicks it.
  bool IsShortCut(TMessage& Message);

 protected:
  TMenu(TComponent* AOwner, bool IsBar);
  // The menu's handle changed its entries (the main menu redraws its bar).
  virtual void MenuChanged() {}

 private:
  friend class TMenuItem;
  TMenuItem* items_;
};

class TMainMenu : public TMenu {
 public:
  VCL_CLASS_INFO
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;
  // The form shows the menu on its window (none to forget it).
  void SetWindow(HWND Window) { window_ = Window; }

 protected:
  void MenuChanged() override;

 private:
  HWND window_ = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  VCL_CLASS_INFO
  explicit TPopupMenu(TComponent* AOwner);

  // Fires OnPopup and tracks the menu at the screen point; the chosen item fires OnClick.
  virtual void Popup(int X, int Y);
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool Value) { autoPopup_ = Value; }
  // The control that was right-clicked for the last automatic pop-up.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* Value) { popupComponent_ = Value; }
  TNotifyEvent OnPopup;

 private:
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
};

// The key message is the shortcut of an item of a pop-up menu of Control or its parents, or of
// its form's main menu: that item was clicked.
bool IsMenuKey(TControl* Control, TMessage& Message);
