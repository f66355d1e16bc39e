#pragma once
// The settings components: TSetorras (a list of TSetorra), TPFormSettings (a form's settings with
// the window placement and a recently-used file list) and TPAppSettings (program-wide settings).
//
// Registry layout of a form, below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE:
//   Software\[CompanyName\][SoftwareName\][SoftwareVersion\]<form name>   the form key
//     <value of each free setting>, "Left", "Top", "Width", "Height", "MainForm", "State",
//     "ScreenRes", "MRUList" (as the placement options and MRULength keep them)
//     <component>\<property>                                             each bound setting
// A bound setting equal to its design value is deleted instead of written, and its key with it
// once that key holds neither values nor sub-keys.
//
// A form description lists the settings in its settings component:
//   object PS: TPFormSettings
//     Settings = ('' 'laJokeFile.Caption' '' False 'LogoCheck' '' '' False)
//   end
// four values per setting: Name, BoundProperty, RelAppSetting, Encrypted (TPAppSettings: Name and
// Encrypted only).
#include <functional>
#include <string>
#include <vector>

#include "settings/setorra.h"
#include "vcl/components.h"
#include "vcl/forms.h"
#include "vcl/menus.h"
#include "vcl/sets.h"
#include "vcl/strings.h"

class TPAppSettings;

class ESetorrasException : public Exception {
  using Exception::Exception;
};
class EPFormSettingsException : public Exception {
  using Exception::Exception;
};
class EPAppSettingsException : public Exception {
  using Exception::Exception;
};

enum TPRootKeyType { prkCurrentUser, prkLocalMachine };
enum TPSaveLocationType { pslRegistry, pslStream, pslStorage, pslUser };
enum TPFormSaveOpt { pfsLeft, pfsTop, pfsWidth, pfsHeight, pfsState };
using TPFormSaveOpts = TSet<TPFormSaveOpt>;
enum TPMRUDisplayType { pmdFileOnly, pmdFullPath, pmdAbbPath };
enum TPMRUPlacement { pmpDescending, pmpBefore };
extern const TTypeInfo TypeInfo_TPRootKeyType;
extern const TTypeInfo TypeInfo_TPSaveLocationType;
extern const TTypeInfo TypeInfo_TPFormSaveOpts;
extern const TTypeInfo TypeInfo_TPMRUDisplayType;
extern const TTypeInfo TypeInfo_TPMRUPlacement;

using TSetorraEvent = std::function<void(TObject* Sender, TSetorra* Setting)>;
using TContinueEvent = std::function<void(TObject* Sender, bool& Continue)>;
using TMRUClickEvent =
    std::function<void(TObject* Sender, TMenuItem* MenuItem, const std::string& FileName, int MRUIndex)>;
using TSetFormKeyNameEvent = std::function<void(TObject* Sender, std::string& FormKeyName)>;
extern const TTypeInfo TypeInfo_TSetorraEvent;
extern const TTypeInfo TypeInfo_TContinueEvent;
extern const TTypeInfo TypeInfo_TMRUClickEvent;
extern const TTypeInfo TypeInfo_TSetFormKeyNameEvent;

class TSetorras : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TSetorras(TComponent* AOwner);
  // Frees the list; the settings belong to the form.
  ~TSetorras() override;

  // The key's parts and SaveLocation decide where the settings are stored: at run time they are
  // fixed while the settings are in the registry ("Cannot change <name> property at run time").
  const std::string& CompanyName() const { return companyName_; }
  const std::string& SoftwareName() const { return softwareName_; }
  const std::string& SoftwareVersion() const { return softwareVersion_; }
  TPRootKeyType RegistryRootKey() const { return rootKey_; }
  void SetCompanyName(const std::string& Value);
  void SetSoftwareName(const std::string& Value);
  void SetSoftwareVersion(const std::string& Value);
  void SetRegistryRootKey(TPRootKeyType Value);
  TPSaveLocationType SaveLocation() const { return saveLocation_; }
  void SetSaveLocation(TPSaveLocationType Value);

  virtual void UserSave() = 0;
  virtual void UserRestore() = 0;
  virtual std::string GetKeyName() = 0;
  virtual void SaveSettings() = 0;
  virtual void LoadSettings() = 0;

  int Count() const { return static_cast<int>(settings_.size()); }
  TSetorra* Settings(int Index) const { return settings_.at(static_cast<std::size_t>(Index)); }
  void AddSetting(TSetorra* Setting) { settings_.push_back(Setting); }
  // Takes the setting out of the list (without freeing it).
  void RemoveSetting(TSetorra* Setting);
  // The first setting whose Name is Name exactly; ESetorrasException "No such setting: "Name"".
  TSetorra* SettingByName(const std::string& Name) const;

  TSetorraEvent OnUserSave;
  TSetorraEvent OnUserRestore;
  TNotifyEvent OnPreSave;
  TNotifyEvent OnPostSave;
  TNotifyEvent OnPreRestore;
  TNotifyEvent OnPostRestore;
  TContinueEvent OnAutoSave;
  TContinueEvent OnAutoRestore;

 protected:
  // "Software\" with the non-empty CompanyName, SoftwareName and SoftwareVersion, each with "\".
  std::string KeyPrefix() const;
  HKEY RootHKey() const;
  bool LoadingOrDesigning() const;

  // The stored list "Settings", read by the component's own ReadSettingsList.
  void DefineProperties(TFiler* Filer) override;
  virtual void ReadSettingsList(TReader* Reader) = 0;
  // OnPreSave; for pslRegistry OnAutoSave, then SaveSettings unless it said no; at UserLocation
  // (where the program stores each setting itself) UserSave; OnPostSave.
  void SaveInSequence(TPSaveLocationType UserLocation);
  // The same with OnPreRestore, OnAutoRestore, LoadSettings, UserRestore and OnPostRestore.
  void RestoreInSequence(TPSaveLocationType UserLocation);
  // Raises the component's own exception with Message.
  [[noreturn]] virtual void RaiseError(const std::string& Message) const = 0;
  // A form's settings keep their SaveLocation at run time even outside the registry.
  virtual bool SaveLocationFixed() const { return false; }
  // Who takes over a change of the key's parts made in the designer.
  virtual std::vector<TSetorras*> KeyFollowers() const { return {}; }

  std::string companyName_;
  std::string softwareName_;
  std::string softwareVersion_;
  TPRootKeyType rootKey_ = prkCurrentUser;
  TPSaveLocationType saveLocation_ = pslRegistry;
  std::vector<TSetorra*> settings_;
  // Set once Loaded has restored: only a restored component saves.
  bool loaded_ = false;

 private:
  // Outside loading and the designer, a change of what decides where the settings are stored
  // raises "Cannot change <Property> property at run time", unless FreeOutsideRegistry and the
  // settings are not in the registry.
  void CheckStorePlaceChange(const char* Property, bool FreeOutsideRegistry) const;
  template <class T>
  void SetStorePlace(T TSetorras::*Part, const T& Value, const char* Property);
  void RunSequence(const TNotifyEvent& Pre, const TContinueEvent& Automatic, void (TSetorras::*FromRegistry)(),
                   void (TSetorras::*PerSetting)(), const TNotifyEvent& Post, TPSaveLocationType UserLocation);
};

// The placement values as stored; -1 is absent.
struct TPPlacement {
  int Left = -1;
  int Top = -1;
  int Width = -1;
  int Height = -1;
};

// Where a form goes (-1: left as it is) for the stored placement on a screen ScreenWidth by
// ScreenHeight. With nothing stored a centred form is centred and any other held on the screen;
// with the same stored screen size the window is pulled back inside it (an absent width or height
// counts as the form's own); after a change of resolution left and top are at most 20 pixels
// short of the screen's edges. Negative positions become 0.
TPPlacement PlaceStoredWindow(const TPPlacement& Stored, const std::string& StoredScreen, int ScreenWidth,
                              int ScreenHeight, bool Centred, const TPPlacement& Form);

class TPFormSettings : public TSetorras {
 public:
  VCL_CLASS_INFO
  // AOwner must be a form: else EPFormSettingsException "Parent must be a TCustomForm descendent".
  explicit TPFormSettings(TComponent* AOwner);
  ~TPFormSettings() override;

  TCustomForm* Form() const { return form_; }

  void UserSave() override;
  void UserRestore() override;
  std::string GetKeyName() override;
  void SaveSettings() override;
  void LoadSettings() override;

  TPFormSaveOpts FormSaveOpt() const { return formSaveOpt_; }
  void SetFormSaveOpt(TPFormSaveOpts Value) { formSaveOpt_ = Value; }
  TMenuItem* MRUMenuItem() const { return mruMenuItem_; }
  void SetMRUMenuItem(TMenuItem* Value);
  int MRULength() const { return mruLength_; }
  void SetMRULength(int Value);
  TPMRUDisplayType MRUDisplay() const { return mruDisplay_; }
  void SetMRUDisplay(TPMRUDisplayType Value);
  int MRUMaxItemWidth() const { return mruMaxItemWidth_; }
  void SetMRUMaxItemWidth(int Value);
  TPMRUPlacement MRUPlacement() const { return mruPlacement_; }
  void SetMRUPlacement(TPMRUPlacement Value);
  bool MRUValidate() const { return mruValidate_; }
  void SetMRUValidate(bool Value);
  TPAppSettings* AppSettingsCtrl() const { return appSettings_; }
  void SetAppSettingsCtrl(TPAppSettings* Value);
  bool AddToRecentDocs() const { return addToRecentDocs_; }
  void SetAddToRecentDocs(bool Value) { addToRecentDocs_ = Value; }
  bool AutoRestartApp() const { return autoRestartApp_; }
  void SetAutoRestartApp(bool Value) { autoRestartApp_ = Value; }

  // The recently used files, newest first; the program edits it and calls RebuildMRU.
  TStrings* MRUList() const { return mruList_; }
  void RebuildMRU();
  void ClearMRUItems();

  TMRUClickEvent OnMRUClick;
  TSetFormKeyNameEvent OnSetFormKeyName;

  // The program's closing mark: once its main form has saved, removals delete no settings.
  static bool Closing();
  static void SetClosing(bool Value);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadSettingsList(TReader* Reader) override;
  [[noreturn]] void RaiseError(const std::string& Message) const override;
  bool SaveLocationFixed() const override { return true; }

 private:
  friend class TPAppSettings;
  void HookProc(TMessage& Message);
  void Unhook();
  void AutoSave();
  void WriteRunOnce();
  bool ApplicationMinimised() const;
  bool IsMainForm() const;
  // The placement settings kept by FormSaveOpt and MRULength, filled from the window.
  std::vector<TSetorra*> MakePlacementSettings(bool FromWindow);
  void ApplyPlacement(const std::vector<TSetorra*>& Placement);
  void FreePlacement(std::vector<TSetorra*>& Placement);
  std::string DisplayText(const std::string& FileName);
  void MRUItemClick(TObject* Sender);
  void TrimMRUList();

  TCustomForm* form_;
  // The form as a windowed control: what the save at WM_DESTROY may still use while the form is
  // being destroyed.
  TWinControl* window_;
  TPFormSaveOpts formSaveOpt_{pfsLeft, pfsTop, pfsWidth, pfsHeight, pfsState};
  TMenuItem* mruMenuItem_ = nullptr;
  int mruLength_ = 4;
  TPMRUDisplayType mruDisplay_ = pmdFullPath;
  int mruMaxItemWidth_ = 200;
  TPMRUPlacement mruPlacement_ = pmpDescending;
  bool mruValidate_ = true;
  TPAppSettings* appSettings_ = nullptr;
  bool addToRecentDocs_ = true;
  bool autoRestartApp_ = false;
  TStringList* mruList_;
  std::function<void(TMessage&)> previousProc_;
  bool hooked_ = false;
  bool centred_ = false;
  bool saved_ = false;
  bool savedMinimised_ = false;
};

class TPAppSettings : public TSetorras {
 public:
  VCL_CLASS_INFO
  explicit TPAppSettings(TComponent* AOwner);
  // Saves automatically (pslRegistry; per setting for pslStream), unlinks its form settings.
  ~TPAppSettings() override;

  void UserSave() override;
  void UserRestore() override;
  // KeyPrefix + "AppSettings".
  std::string GetKeyName() override;
  void SaveSettings() override;
  void LoadSettings() override;

  // The form settings that follow this one.
  int LinkedCount() const { return static_cast<int>(linked_.size()); }
  // Copies each setting into the linked form settings whose RelAppSetting names it; a change of
  // a setting's value is copied by itself.
  void PushToLinked();
  // Every application settings component alive.
  static const std::vector<TPAppSettings*>& Instances();

 protected:
  void Loaded() override;
  void ReadSettingsList(TReader* Reader) override;
  [[noreturn]] void RaiseError(const std::string& Message) const override;
  std::vector<TSetorras*> KeyFollowers() const override;

 private:
  friend class TPFormSettings;
  void Link(TPFormSettings* FormSettings);
  void Unlink(TPFormSettings* FormSettings);
  void PushTo(TPFormSettings* FormSettings);
  // Into the linked form settings that follow this setting.
  void PushSetting(TSetorra* Setting);
  void PushSetting(TSetorra* Setting, TPFormSettings* FormSettings);

  std::vector<TPFormSettings*> linked_;
};
