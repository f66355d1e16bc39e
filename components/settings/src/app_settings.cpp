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
      SaveInSequence(pslStream);
    } catch (...) {
      if (Application) Application->HandleException(this);
    }
  }
  for (TPFormSettings* form : linked_) form->appSettings_ = nullptr;
  auto& alive = AliveList();
  alive.erase(std::remove(alive.begin(), alive.end(), this), alive.end());
}

void TPAppSettings::RaiseError(const std::string& Message) const { throw EPAppSettingsException(Message); }

std::vector<TSetorras*> TPAppSettings::KeyFollowers() const { return {linked_.begin(), linked_.end()}; }

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
  if (!ComponentState().Contains(csDesigning)) RestoreInSequence(pslStream);
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
  static const TClassInfo info("TPAppSettings", &TSetorras::StaticClassInfo(), {}, {}, CreateComponent<TPAppSettings>);
  return info;
}

[[maybe_unused]] static const bool appSettingsRegistered = (RegisterClass(TPAppSettings::StaticClassInfo()), true);
