// TPAppSettings: program-wide free settings in their own key, and the form settings that follow
// them.
#include <algorithm>

#include "settings/setorras.h"
#include "vcl/formreader.h"
#include "vcl/typinfo.h"

namespace {

std::vector<TPAppSettings*>& AliveList() {
  static std::vector<TPAppSettings*> alive;
  return alive;
}

}  // namespace

const std::vector<TPAppSettings*>& TPAppSettings::Instances() { return AliveList(); }

TPAppSettings::TPAppSettings(TComponent* AOwner) : TSetorras(AOwner) { AliveList().push_back(this); }

TPAppSettings::~TPAppSettings() {
  if (loaded_ && !ComponentState().Contains(csDesigning)) {
    try {
      if (OnPreSave) OnPreSave(this);
      if (saveLocation_ == pslRegistry) {
        bool proceed = true;
        if (OnAutoSave) OnAutoSave(this, proceed);
        if (proceed) SaveSettings();
      } else if (saveLocation_ == pslStream) {
        UserSave();
      }
      if (OnPostSave) OnPostSave(this);
    } catch (...) {
      if (Application) Application->HandleException(this);
    }
  }
  for (TPFormSettings* form : linked_) form->appSettings_ = nullptr;
  auto& alive = AliveList();
  alive.erase(std::remove(alive.begin(), alive.end(), this), alive.end());
}

void TPAppSettings::CheckNameChange(const char* Property) const {
  if (!LoadingOrDesigning() && saveLocation_ == pslRegistry)
    throw EPAppSettingsException(Format("Cannot change %s property at run time", {Property}));
}

void TPAppSettings::SetSaveLocation(TPSaveLocationType Value) {
  if (Value == saveLocation_) return;
  CheckNameChange("SaveLocation");
  saveLocation_ = Value;
}

void TPAppSettings::SetCompanyName(const std::string& Value) {
  if (Value == companyName_) return;
  CheckNameChange("CompanyName");
  companyName_ = Value;
  if (ComponentState().Contains(csDesigning))
    for (TPFormSettings* form : linked_) form->companyName_ = Value;
}

void TPAppSettings::SetSoftwareName(const std::string& Value) {
  if (Value == softwareName_) return;
  CheckNameChange("SoftwareName");
  softwareName_ = Value;
  if (ComponentState().Contains(csDesigning))
    for (TPFormSettings* form : linked_) form->softwareName_ = Value;
}

void TPAppSettings::SetSoftwareVersion(const std::string& Value) {
  if (Value == softwareVersion_) return;
  CheckNameChange("SoftwareVersion");
  softwareVersion_ = Value;
  if (ComponentState().Contains(csDesigning))
    for (TPFormSettings* form : linked_) form->softwareVersion_ = Value;
}

void TPAppSettings::SetRegistryRootKey(TPRootKeyType Value) {
  if (Value == rootKey_) return;
  CheckNameChange("RegistryRootKey");
  rootKey_ = Value;
  if (ComponentState().Contains(csDesigning))
    for (TPFormSettings* form : linked_) form->rootKey_ = Value;
}

std::string TPAppSettings::GetKeyName() { return KeyPrefix() + "AppSettings"; }

void TPAppSettings::SaveSettings() {
  TPRegistry registry;
  registry.SetRootKey(RootHKey());
  const std::string key = GetKeyName();
  for (TSetorra* setting : settings_) setting->WriteToRegistry(&registry, key);
}

void TPAppSettings::LoadSettings() {
  TPRegistry registry;
  registry.SetRootKey(RootHKey());
  const std::string key = GetKeyName();
  for (TSetorra* setting : settings_) setting->ReadFromRegistry(&registry, key);
  PushToLinked();
}

void TPAppSettings::UserSave() {
  if (!OnUserSave) return;
  for (TSetorra* setting : settings_) OnUserSave(this, setting);
}

void TPAppSettings::UserRestore() {
  if (!OnUserRestore) return;
  for (TSetorra* setting : settings_) OnUserRestore(this, setting);
  PushToLinked();
}

void TPAppSettings::DefineProperties(TFiler* Filer) {
  TSetorras::DefineProperties(Filer);
  Filer->DefineProperty(
      "Settings", [this](TReader* Reader) { ReadSettingsList(Reader); }, nullptr, !settings_.empty());
}

void TPAppSettings::ReadSettingsList(TReader* Reader) {
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) {
    const std::string name = Reader->ReadString();
    const bool encrypted = Reader->ReadBoolean();
    // Owned here, so that they are still there for the save as this component goes.
    auto* setting = new TSetorra(this);
    setting->SetName(name);
    setting->SetEncrypted(encrypted);
    setting->OnChange = [this](TObject* Sender) { PushSetting(static_cast<TSetorra*>(Sender)); };
    settings_.push_back(setting);
  }
  Reader->ReadListEnd();
}

void TPAppSettings::Loaded() {
  TSetorras::Loaded();
  if (!ComponentState().Contains(csDesigning)) {
    if (OnPreRestore) OnPreRestore(this);
    if (saveLocation_ == pslRegistry) {
      bool proceed = true;
      if (OnAutoRestore) OnAutoRestore(this, proceed);
      if (proceed) LoadSettings();
    } else if (saveLocation_ == pslStream) {
      UserRestore();
    }
    if (OnPostRestore) OnPostRestore(this);
  }
  loaded_ = true;
  PushToLinked();
}

void TPAppSettings::Link(TPFormSettings* FormSettings) {
  if (std::find(linked_.begin(), linked_.end(), FormSettings) == linked_.end()) linked_.push_back(FormSettings);
  PushTo(FormSettings);
}

void TPAppSettings::Unlink(TPFormSettings* FormSettings) {
  linked_.erase(std::remove(linked_.begin(), linked_.end(), FormSettings), linked_.end());
}

void TPAppSettings::PushToLinked() {
  for (TPFormSettings* form : linked_) PushTo(form);
}

void TPAppSettings::PushTo(TPFormSettings* FormSettings) {
  for (TSetorra* setting : settings_) PushSetting(setting, FormSettings);
}

void TPAppSettings::PushSetting(TSetorra* Setting) {
  for (TPFormSettings* form : linked_) PushSetting(Setting, form);
}

void TPAppSettings::PushSetting(TSetorra* Setting, TPFormSettings* FormSettings) {
  for (int i = 0; i < FormSettings->Count(); ++i) {
    TSetorra* formSetting = FormSettings->Settings(i);
    if (formSetting->RelAppSetting().empty() || formSetting->RelAppSetting() != Setting->Name()) continue;
    try {
      formSetting->AssignValue(Setting->Value());
    } catch (const Exception&) {
      // a value the bound property cannot take leaves it as it was
    }
  }
}

const TClassInfo& TPAppSettings::StaticClassInfo() {
  using C = TPAppSettings;
  static const TClassInfo info(
      "TPAppSettings", &TSetorras::StaticClassInfo(),
      {StrProperty<C>("CompanyName", &C::CompanyName, &C::SetCompanyName),
       StrProperty<C>("SoftwareName", &C::SoftwareName, &C::SetSoftwareName),
       StrProperty<C>("SoftwareVersion", &C::SoftwareVersion, &C::SetSoftwareVersion),
       OrdProperty<C>("RegistryRootKey", TypeInfo_TPRootKeyType, &C::RegistryRootKey, &C::SetRegistryRootKey,
                      prkCurrentUser),
       OrdProperty<C>("SaveLocation", TypeInfo_TPSaveLocationType, &C::SaveLocation, &C::SetSaveLocation),
       EventProperty<C>("OnUserSave", TypeInfo_TSetorraEvent, &C::OnUserSave),
       EventProperty<C>("OnUserRestore", TypeInfo_TSetorraEvent, &C::OnUserRestore),
       EventProperty<C>("OnPreSave", TypeInfo_TNotifyEvent, &C::OnPreSave),
       EventProperty<C>("OnPostSave", TypeInfo_TNotifyEvent, &C::OnPostSave),
       EventProperty<C>("OnPreRestore", TypeInfo_TNotifyEvent, &C::OnPreRestore),
       EventProperty<C>("OnPostRestore", TypeInfo_TNotifyEvent, &C::OnPostRestore),
       EventProperty<C>("OnAutoSave", TypeInfo_TContinueEvent, &C::OnAutoSave),
       EventProperty<C>("OnAutoRestore", TypeInfo_TContinueEvent, &C::OnAutoRestore)},
      {}, CreateComponent<TPAppSettings>);
  return info;
}

[[maybe_unused]] static const bool appSettingsRegistered = (RegisterClass(TPAppSettings::StaticClassInfo()), true);
