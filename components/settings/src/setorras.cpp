// The common base of the settings components (where the settings are stored, the order of the
// automatic save and restore), and where a stored window goes.
#include "settings/setorras.h"

#include <algorithm>

#include "vcl/formreader.h"
#include "vcl/typinfo.h"

const TTypeInfo TypeInfo_TPRootKeyType{"TPRootKeyType", tkEnumeration, {"prkCurrentUser", "prkLocalMachine"}};
const TTypeInfo TypeInfo_TPSaveLocationType{
    "TPSaveLocationType", tkEnumeration, {"pslRegistry", "pslStream", "pslStorage", "pslUser"}};
const TTypeInfo TypeInfo_TPFormSaveOpts{
    "TPFormSaveOpts", tkSet, {"pfsLeft", "pfsTop", "pfsWidth", "pfsHeight", "pfsState"}};
const TTypeInfo TypeInfo_TPMRUDisplayType{
    "TPMRUDisplayType", tkEnumeration, {"pmdFileOnly", "pmdFullPath", "pmdAbbPath"}};
const TTypeInfo TypeInfo_TPMRUPlacement{"TPMRUPlacement", tkEnumeration, {"pmpDescending", "pmpBefore"}};
const TTypeInfo TypeInfo_TSetorraEvent{"TSetorraEvent", tkMethod};
const TTypeInfo TypeInfo_TContinueEvent{"TContinueEvent", tkMethod};
const TTypeInfo TypeInfo_TMRUClickEvent{"TMRUClickEvent", tkMethod};
const TTypeInfo TypeInfo_TSetFormKeyNameEvent{"TSetFormKeyNameEvent", tkMethod};

namespace {

constexpr char kVersionKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

}  // namespace

TSetorras::TSetorras(TComponent* AOwner) : TComponent(AOwner) {
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (registry.OpenKey(kVersionKey, false)) {
    try {
      if (registry.ValueExists("RegisteredOrganization")) companyName_ = registry.ReadString("RegisteredOrganization");
    } catch (const ERegistryException&) {
      // not a text: no company
    }
    registry.CloseKey();
  }
}

TSetorras::~TSetorras() = default;

void TSetorras::RemoveSetting(TSetorra* Setting) {
  settings_.erase(std::remove(settings_.begin(), settings_.end(), Setting), settings_.end());
}

TSetorra* TSetorras::SettingByName(const std::string& Name) const {
  for (TSetorra* setting : settings_)
    if (setting->Name() == Name) return setting;
  throw ESetorrasException("No such setting: \"%s\"", {Name});
}

std::string TSetorras::KeyPrefix() const {
  std::string key = "Software\\";
  for (const std::string* part : {&companyName_, &softwareName_, &softwareVersion_})
    if (!part->empty()) key += *part + "\\";
  return key;
}

HKEY TSetorras::RootHKey() const { return rootKey_ == prkLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

bool TSetorras::LoadingOrDesigning() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
}

void TSetorras::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      "Settings", [this](TReader* Reader) { ReadSettingsList(Reader); }, nullptr, !settings_.empty());
}

// ---- Where the settings are stored ------------------------------------------------------------

void TSetorras::CheckStorePlaceChange(const char* Property, bool FreeOutsideRegistry) const {
  if (LoadingOrDesigning() || (FreeOutsideRegistry && saveLocation_ != pslRegistry)) return;
  RaiseError(Format("Cannot change %s property at run time", {Property}));
}

template <class T>
void TSetorras::SetStorePlace(T TSetorras::*Part, const T& Value, const char* Property) {
  if (Value == this->*Part) return;
  CheckStorePlaceChange(Property, true);
  this->*Part = Value;
  if (ComponentState().Contains(csDesigning))
    for (TSetorras* follower : KeyFollowers()) follower->*Part = Value;
}

void TSetorras::SetCompanyName(const std::string& Value) {
  SetStorePlace(&TSetorras::companyName_, Value, "CompanyName");
}

void TSetorras::SetSoftwareName(const std::string& Value) {
  SetStorePlace(&TSetorras::softwareName_, Value, "SoftwareName");
}

void TSetorras::SetSoftwareVersion(const std::string& Value) {
  SetStorePlace(&TSetorras::softwareVersion_, Value, "SoftwareVersion");
}

void TSetorras::SetRegistryRootKey(TPRootKeyType Value) {
  SetStorePlace(&TSetorras::rootKey_, Value, "RegistryRootKey");
}

void TSetorras::SetSaveLocation(TPSaveLocationType Value) {
  if (Value == saveLocation_) return;
  CheckStorePlaceChange("SaveLocation", !SaveLocationFixed());
  saveLocation_ = Value;
}

// ---- The automatic save and restore -----------------------------------------------------------

void TSetorras::RunSequence(const TNotifyEvent& Pre, const TContinueEvent& Automatic, void (TSetorras::*FromRegistry)(),
                            void (TSetorras::*PerSetting)(), const TNotifyEvent& Post,
                            TPSaveLocationType UserLocation) {
  if (Pre) Pre(this);
  if (saveLocation_ == pslRegistry) {
    bool proceed = true;
    if (Automatic) Automatic(this, proceed);
    if (proceed) (this->*FromRegistry)();
  } else if (saveLocation_ == UserLocation) {
    (this->*PerSetting)();
  }
  if (Post) Post(this);
}

void TSetorras::SaveInSequence(TPSaveLocationType UserLocation) {
  RunSequence(OnPreSave, OnAutoSave, &TSetorras::SaveSettings, &TSetorras::UserSave, OnPostSave, UserLocation);
}

void TSetorras::RestoreInSequence(TPSaveLocationType UserLocation) {
  RunSequence(OnPreRestore, OnAutoRestore, &TSetorras::LoadSettings, &TSetorras::UserRestore, OnPostRestore,
              UserLocation);
}

const TClassInfo& TSetorras::StaticClassInfo() {
  using C = TSetorras;
  static const TClassInfo info(
      "TSetorras", &TComponent::StaticClassInfo(),
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
       EventProperty<C>("OnAutoRestore", TypeInfo_TContinueEvent, &C::OnAutoRestore)});
  return info;
}

TPPlacement PlaceStoredWindow(const TPPlacement& Stored, const std::string& StoredScreen, int ScreenWidth,
                              int ScreenHeight, bool Centred, const TPPlacement& Form) {
  TPPlacement place;
  if (Stored.Left == -1 && Stored.Top == -1 && Stored.Width == -1 && Stored.Height == -1) {
    if (Centred) {
      place.Left = (ScreenWidth - Form.Width) / 2;
      place.Top = (ScreenHeight - Form.Height) / 2;
      return place;
    }
    place.Left = Form.Left;
    place.Top = Form.Top;
    if (place.Left + Form.Width > ScreenWidth) place.Left = ScreenWidth - Form.Width;
    if (place.Top + Form.Height > ScreenHeight) place.Top = ScreenHeight - Form.Height;
    place.Left = std::max(place.Left, 0);
    place.Top = std::max(place.Top, 0);
    return place;
  }
  place = Stored;
  if (StoredScreen == Format("%dx%d", {ScreenWidth, ScreenHeight})) {
    // Only Left and Top kept: the window's own size decides whether it sticks out.
    const int width = Stored.Width != -1 ? Stored.Width : Form.Width;
    const int height = Stored.Height != -1 ? Stored.Height : Form.Height;
    if (place.Left != -1 && place.Left + width > ScreenWidth) place.Left = ScreenWidth - width;
    if (place.Top != -1 && place.Top + height > ScreenHeight) place.Top = ScreenHeight - height;
  } else {
    place.Left = std::min(place.Left, ScreenWidth - 20);
    place.Top = std::min(place.Top, ScreenHeight - 20);
  }
  if (place.Left < 0 && place.Left != -1) place.Left = 0;
  if (place.Top < 0 && place.Top != -1) place.Top = 0;
  return place;
}
