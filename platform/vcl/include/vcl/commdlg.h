#pragma once
// The class library's common dialogs over the system's file dialogs. The open and save dialogs
// always install their explorer-style hook; its CDN_ notifications become the dialog's events.
#include <string>

#include "vcl/components.h"
#include "vcl/forms.h"
#include "vcl/graphics.h"
#include "vcl/sets.h"
#include "vcl/strings.h"
#include "win32/comdlg.h"

class TCommonDialog : public TComponent {
 public:
  VCL_CLASS_INFO
  using TComponent::TComponent;

  virtual bool Execute() = 0;

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  virtual void DoShow();
  virtual void DoClose();
};

enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing
};
using TOpenOptions = TSet<TOpenOption>;
extern const TTypeInfo TypeInfo_TOpenOptions;

class TOpenDialog : public TCommonDialog {
 public:
  VCL_CLASS_INFO
  explicit TOpenDialog(TComponent* AOwner);

  bool Execute() override;

  // While the dialog is up, the path the user has selected there.
  std::string FileName() const;
  void SetFileName(const std::string& Value) { fileName_ = Value; }
  // "Description|patterns|Description|patterns".
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& Value) { filter_ = Value; }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int Value) { filterIndex_ = Value; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& Value) { initialDir_ = Value; }
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& Value) { defaultExt_ = Value; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Value) { title_ = Value; }
  TOpenOptions Options() const { return options_; }
  virtual void SetOptions(TOpenOptions Value) { options_ = Value; }

  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnFolderChange;
  TNotifyEvent OnTypeChange;
  TCloseQueryEvent OnCanClose;

 protected:
  // Shows the dialog described by DialogData (this object in lCustData, the hook installed).
  // A descendant may change the record before calling this.
  virtual BOOL TaskModalDialog(BOOL (*DialogFunc)(LPOPENFILENAMEA), OPENFILENAMEA& DialogData);
  bool DoExecute(BOOL (*DialogFunc)(LPOPENFILENAMEA));

  virtual void DoSelectionChange();
  virtual void DoFolderChange();
  virtual void DoTypeChange();
  virtual bool DoCanClose();
  // The hook that turns the CDN_ notifications into the events; a descendant's own hook passes
  // it what it does not handle itself.
  static INT_PTR DialogHook(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  std::string fileName_;
  std::string filter_;
  int filterIndex_ = 1;
  std::string initialDir_;
  std::string defaultExt_;
  std::string title_;
  TOpenOptions options_{ofHideReadOnly};
  HWND fileDialog_ = nullptr;  // while shown
};

class TSaveDialog : public TOpenDialog {
 public:
  VCL_CLASS_INFO
  using TOpenDialog::TOpenDialog;

  bool Execute() override;
};

// cdShowHelp, cdSolidColor and cdAnyColor are read from form descriptions but change nothing.
enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;
extern const TTypeInfo TypeInfo_TColorDialogOptions;

// The colour dialog. CustomColors holds "ColorA=RRGGBB" .. "ColorP=..." lines, each value the
// colour's hexadecimal TColor; a missing or malformed one shows as white.
class TColorDialog : public TCommonDialog {
 public:
  VCL_CLASS_INFO
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;

  bool Execute() override;

  TColor Color() const { return color_; }
  void SetColor(TColor Value) { color_ = Value; }
  TStrings* CustomColors() const { return customColors_; }
  void SetCustomColors(TStrings* Value) { customColors_->Assign(Value); }
  TColorDialogOptions Options() const { return options_; }
  void SetOptions(TColorDialogOptions Value) { options_ = Value; }

 private:
  TColor color_ = clBlack;
  TColorDialogOptions options_;
  TStringList* customColors_;
};
