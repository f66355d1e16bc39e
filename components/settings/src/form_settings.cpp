// TPFormSettings: a form's settings, its key, saving and loading with the window placement and
// the moments of the automatic restore and save.
#include <algorithm>

#include "settings/setorras.h"
#include "vcl/scope_exit.h"
#include "vcl/formreader.h"
#include "vcl/system.h"
#include "vcl/typinfo.h"
#include "win32/gdi.h"
#include "win32/user.h"

namespace {

bool closingMark = false;

constexpr char kRunOnceKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// The stored "State" of a form.
constexpr int kStateNormal = 0, kStateMinimized = 1, kStateMaximized = 2;

void ScreenSize(int& width, int& height) {
  HDC screen = GetDC(nullptr);
  width = GetDeviceCaps(screen, HORZRES);
  height = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
}

TSetorra* FindPlacement(const std::vector<TSetorra*>& placement, const char* name) {
  for (TSetorra* setting : placement)
    if (setting->Name() == name) return setting;
  return nullptr;
}

TSetorra* NewPlacement(std::vector<TSetorra*>& placement, const char* name) {
  auto* setting = new TSetorra(nullptr);
  setting->SetName(name);
  placement.push_back(setting);
  return setting;
}

}  // namespace

bool TPFormSettings::Closing() { return closingMark; }
void TPFormSettings::SetClosing(bool Value) { closingMark = Value; }

TPFormSettings::TPFormSettings(TComponent* AOwner)
    : TSetorras(AOwner), form_(dynamic_cast<TCustomForm*>(AOwner)), window_(form_), mruList_(nullptr) {
  if (!form_) throw EPFormSettingsException("Parent must be a TCustomForm descendent");
  mruList_ = new TStringList;
  switch (form_->BorderStyle()) {
    case bsNone:
      formSaveOpt_ = {};
      mruLength_ = 0;
      break;
    case bsSingle:
    case bsDialog:
    case bsToolWindow:
      formSaveOpt_ = {pfsLeft, pfsTop};
      mruLength_ = 0;
      break;
    default:
      if (!form_->BorderIcons().Contains(biMinimize) && !form_->BorderIcons().Contains(biMaximize))
        formSaveOpt_ = {pfsLeft, pfsTop, pfsWidth, pfsHeight};
      break;
  }
  if (form_->FormStyle() == fsMDIChild) saveLocation_ = pslStream;
  if (ComponentState().Contains(csDesigning)) return;
  if (form_->Position() == poScreenCenter) {
    form_->SetPosition(poDefaultPosOnly);
    centred_ = true;  // the placement centres the form itself when nothing is stored
  }
  previousProc_ = form_->WindowProc;
  form_->WindowProc = [this](TMessage& Message) { HookProc(Message); };
  hooked_ = true;
}

TPFormSettings::~TPFormSettings() {
  if (appSettings_) {
    const auto& alive = TPAppSettings::Instances();
    if (std::find(alive.begin(), alive.end(), appSettings_) != alive.end()) appSettings_->Unlink(this);
  }
  // A form being destroyed has no window procedure left to give back.
  if (hooked_ && !window_->ComponentState().Contains(csDestroying)) Unhook();
  delete mruList_;
}

// ---- Properties -------------------------------------------------------------------------------

void TPFormSettings::RaiseError(const std::string& Message) const { throw EPFormSettingsException(Message); }

void TPFormSettings::SetAppSettingsCtrl(TPAppSettings* Value) {
  if (Value == appSettings_) return;
  if (appSettings_) appSettings_->Unlink(this);
  appSettings_ = Value;
  if (!appSettings_) return;
  appSettings_->FreeNotification(this);
  companyName_ = appSettings_->CompanyName();
  softwareName_ = appSettings_->SoftwareName();
  softwareVersion_ = appSettings_->SoftwareVersion();
  appSettings_->Link(this);
}

// ---- The key and the settings list ------------------------------------------------------------

std::string TPFormSettings::GetKeyName() {
  std::string formKeyName = window_->Name();
  if (OnSetFormKeyName) OnSetFormKeyName(this, formKeyName);
  return KeyPrefix() + formKeyName;
}

void TPFormSettings::ReadSettingsList(TReader* Reader) {
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) {
    const std::string name = Reader->ReadString();
    const std::string bound = Reader->ReadString();
    const std::string related = Reader->ReadString();
    const bool encrypted = Reader->ReadBoolean();
    auto* setting = new TSetorra(ComponentState().Contains(csDesigning) ? static_cast<TComponent*>(this) : Owner());
    setting->SetName(name);
    setting->SetBoundProperty(bound);
    setting->SetRelAppSetting(related);
    setting->SetEncrypted(encrypted);
    settings_.push_back(setting);
  }
  Reader->ReadListEnd();
}

void TPFormSettings::Notification(TComponent* AComponent, TOperation Operation) {
  TSetorras::Notification(AComponent, Operation);
  if (Operation != opRemove || dynamic_cast<TSetorra*>(AComponent)) return;
  if (AComponent == mruMenuItem_) mruMenuItem_ = nullptr;
  if (Closing()) return;
  if (AComponent == appSettings_) appSettings_ = nullptr;
  for (std::size_t i = settings_.size(); i-- > 0;) {
    TSetorra* setting = settings_[i];
    if (setting->BoundComponent() != AComponent) continue;
    settings_.erase(settings_.begin() + static_cast<std::ptrdiff_t>(i));
    delete setting;
  }
}

// ---- Saving and loading -----------------------------------------------------------------------

bool TPFormSettings::IsMainForm() const { return Application && Application->MainForm() == form_; }

bool TPFormSettings::ApplicationMinimised() const {
  // No application window here: the application is minimised when its main form is.
  if (!Application || !Application->MainForm()) return false;
  TWinControl* main = Application->MainForm();
  return main->HandleAllocated() && IsIconic(main->Handle());
}

std::vector<TSetorra*> TPFormSettings::MakePlacementSettings(bool FromWindow) {
  std::vector<TSetorra*> placement;
  TRect normal = window_->BoundsRect();
  int state = kStateNormal;
  if (FromWindow && window_->HandleAllocated()) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (GetWindowPlacement(window_->Handle(), &wp)) normal = wp.rcNormalPosition;
    state = IsIconic(window_->Handle())   ? kStateMinimized
            : IsZoomed(window_->Handle()) ? kStateMaximized
                                          : kStateNormal;
  } else if (FromWindow) {
    state = form_->WindowState() == wsMinimized   ? kStateMinimized
            : form_->WindowState() == wsMaximized ? kStateMaximized
                                                  : kStateNormal;
  }
  const bool mainForm = IsMainForm();
  if (mainForm && ApplicationMinimised()) state = kStateMinimized;
  auto integer = [&](const char* name, TPFormSaveOpt option, int value) {
    if (!formSaveOpt_.Contains(option)) return;
    NewPlacement(placement, name)->SetAsInteger(FromWindow ? value : -1);
  };
  integer("Left", pfsLeft, normal.left);
  integer("Top", pfsTop, normal.top);
  integer("Width", pfsWidth, normal.right - normal.left);
  integer("Height", pfsHeight, normal.bottom - normal.top);
  if (formSaveOpt_.Contains(pfsState)) {
    NewPlacement(placement, "MainForm")->SetAsBoolean(FromWindow && mainForm);
    NewPlacement(placement, "State")->SetAsInteger(FromWindow ? state : -1);
  }
  if (!formSaveOpt_.Empty()) {
    int width = 0, height = 0;
    ScreenSize(width, height);
    NewPlacement(placement, "ScreenRes")->SetAsString(FromWindow ? Format("%dx%d", {width, height}) : std::string());
  }
  if (mruLength_ > 0) {
    TSetorra* list = NewPlacement(placement, "MRUList");
    if (FromWindow) {
      TrimMRUList();
      list->SetAsStrings(mruList_);
    }
  }
  return placement;
}

void TPFormSettings::FreePlacement(std::vector<TSetorra*>& Placement) {
  for (TSetorra* setting : Placement) delete setting;
  Placement.clear();
}

void TPFormSettings::ApplyPlacement(const std::vector<TSetorra*>& Placement) {
  auto integer = [&](const char* name) {
    TSetorra* setting = FindPlacement(Placement, name);
    return setting ? setting->AsInteger() : -1;
  };
  const TPPlacement stored{integer("Left"), integer("Top"), integer("Width"), integer("Height")};
  TSetorra* screen = FindPlacement(Placement, "ScreenRes");
  const std::string storedScreen = screen ? screen->AsString() : std::string();
  TSetorra* mainFlag = FindPlacement(Placement, "MainForm");
  const bool storedMain = mainFlag && mainFlag->AsBoolean();
  const int state = integer("State");
  if (TSetorra* list = FindPlacement(Placement, "MRUList"); list && list->Kind() == skStrings) {
    mruList_->SetText(list->AsString());
    ClearMRUItems();
    TrimMRUList();
    RebuildMRU();
  }

  int width = 0, height = 0;
  ScreenSize(width, height);
  const TPPlacement current{form_->Left(), form_->Top(), form_->Width(), form_->Height()};
  const TPPlacement place = PlaceStoredWindow(stored, storedScreen, width, height, centred_, current);
  form_->SetBounds(place.Left != -1 ? place.Left : current.Left, place.Top != -1 ? place.Top : current.Top,
                   place.Width != -1 ? place.Width : current.Width, place.Height != -1 ? place.Height : current.Height);
  // The state after the bounds, so that the stored rectangle is the one a restore returns to.
  if (state == kStateMinimized) {
    TCustomForm* target = storedMain && Application && Application->MainForm() ? Application->MainForm() : form_;
    target->SetWindowState(wsMinimized);
  } else if (state == kStateMaximized) {
    form_->SetWindowState(wsMaximized);
  }
}

void TPFormSettings::SaveSettings() {
  TPRegistry registry;
  registry.SetRootKey(RootHKey());
  const std::string key = GetKeyName();
  for (TSetorra* setting : settings_) setting->WriteToRegistry(&registry, key);
  std::vector<TSetorra*> placement = MakePlacementSettings(true);
  ScopeExit freePlacement([&] { FreePlacement(placement); });
  for (TSetorra* setting : placement) setting->WriteToRegistry(&registry, key);
}

void TPFormSettings::LoadSettings() {
  TPRegistry registry;
  registry.SetRootKey(RootHKey());
  const std::string key = GetKeyName();
  for (TSetorra* setting : settings_) setting->ReadFromRegistry(&registry, key);
  std::vector<TSetorra*> placement = MakePlacementSettings(false);
  ScopeExit freePlacement([&] { FreePlacement(placement); });
  for (TSetorra* setting : placement) setting->ReadFromRegistry(&registry, key);
  ApplyPlacement(placement);
}

void TPFormSettings::UserSave() {
  if (!OnUserSave) return;
  for (TSetorra* setting : settings_) OnUserSave(this, setting);
  std::vector<TSetorra*> placement = MakePlacementSettings(true);
  ScopeExit freePlacement([&] { FreePlacement(placement); });
  for (TSetorra* setting : placement) OnUserSave(this, setting);
}

void TPFormSettings::UserRestore() {
  if (!OnUserRestore) return;
  for (TSetorra* setting : settings_) OnUserRestore(this, setting);
  std::vector<TSetorra*> placement = MakePlacementSettings(false);
  ScopeExit freePlacement([&] { FreePlacement(placement); });
  for (TSetorra* setting : placement) OnUserRestore(this, setting);
  ApplyPlacement(placement);
}

// ---- Lifecycle --------------------------------------------------------------------------------

void TPFormSettings::Loaded() {
  TSetorras::Loaded();
  if (ComponentState().Contains(csDesigning)) {
    for (TSetorra* setting : settings_) {
      const std::string first = setting->BoundProperty().substr(0, setting->BoundProperty().find('.'));
      setting->SetBoundComponent(form_->FindComponent(first));
    }
    return;
  }
  for (TSetorra* setting : settings_) setting->CaptureDefault();
  RestoreInSequence(pslUser);
  loaded_ = true;
}

void TPFormSettings::AutoSave() {
  if (!loaded_ || saved_) return;
  SaveInSequence(pslUser);
  saved_ = true;
  savedMinimised_ = ApplicationMinimised();
  if (IsMainForm()) SetClosing(true);
}

void TPFormSettings::WriteRunOnce() {
  std::string name = "RV";
  for (char c : softwareName_ + companyName_)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) name += c;
  name = UpperCase(name).substr(0, 20);
  TPRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  if (!registry.OpenKey(kRunOnceKey, true)) return;
  registry.WriteString(name, "\"" + ParamStr(0) + "\"");
  registry.CloseKey();
}

void TPFormSettings::Unhook() {
  if (!hooked_) return;
  hooked_ = false;
  form_->WindowProc = previousProc_;
}

void TPFormSettings::HookProc(TMessage& Message) {
  // Kept here: putting the form's procedure back replaces the hook that is running.
  const std::function<void(TMessage&)> previous = previousProc_;
  switch (Message.Msg) {
    case WM_ENDSESSION:
      if (Message.WParam && autoRestartApp_) WriteRunOnce();
      break;
    case WM_SHOWWINDOW:
      if (Message.WParam) saved_ = false;
      break;
    case WM_WINDOWPOSCHANGED:
      if (ApplicationMinimised() && !savedMinimised_) saved_ = false;
      break;
    default: break;
  }
  const bool hiding = Message.Msg == WM_WINDOWPOSCHANGED && Message.LParam &&
                      (reinterpret_cast<const WINDOWPOS*>(Message.LParam)->flags & SWP_HIDEWINDOW);
  if (Message.Msg == WM_DESTROY || Message.Msg == WM_CLOSE || Message.Msg == WM_QUIT || hiding) AutoSave();
  if (Message.Msg == WM_DESTROY) Unhook();
  previous(Message);
}

// ---- Class description ------------------------------------------------------------------------

const TClassInfo& TPFormSettings::StaticClassInfo() {
  using C = TPFormSettings;
  static const TClassInfo info(
      "TPFormSettings", &TSetorras::StaticClassInfo(),
      {OrdProperty<C>("FormSaveOpt", TypeInfo_TPFormSaveOpts, &C::FormSaveOpt, &C::SetFormSaveOpt),
       ObjectProperty<C, TMenuItem>("MRUMenuItem", &C::MRUMenuItem, &C::SetMRUMenuItem),
       OrdProperty<C>("MRULength", TypeInfo_Integer, &C::MRULength, &C::SetMRULength),
       OrdProperty<C>("MRUDisplay", TypeInfo_TPMRUDisplayType, &C::MRUDisplay, &C::SetMRUDisplay, pmdFullPath),
       OrdProperty<C>("MRUMaxItemWidth", TypeInfo_Integer, &C::MRUMaxItemWidth, &C::SetMRUMaxItemWidth, 200),
       OrdProperty<C>("MRUPlacement", TypeInfo_TPMRUPlacement, &C::MRUPlacement, &C::SetMRUPlacement, pmpDescending),
       OrdProperty<C>("MRUValidate", TypeInfo_Boolean, &C::MRUValidate, &C::SetMRUValidate, true),
       ObjectProperty<C, TPAppSettings>("AppSettingsCtrl", &C::AppSettingsCtrl, &C::SetAppSettingsCtrl),
       OrdProperty<C>("AddToRecentDocs", TypeInfo_Boolean, &C::AddToRecentDocs, &C::SetAddToRecentDocs, true),
       OrdProperty<C>("AutoRestartApp", TypeInfo_Boolean, &C::AutoRestartApp, &C::SetAutoRestartApp, false),
       EventProperty<C>("OnMRUClick", TypeInfo_TMRUClickEvent, &C::OnMRUClick),
       EventProperty<C>("OnSetFormKeyName", TypeInfo_TSetFormKeyNameEvent, &C::OnSetFormKeyName)},
      {}, CreateComponent<TPFormSettings>);
  return info;
}

[[maybe_unused]] static const bool formSettingsRegistered = (RegisterClass(TPFormSettings::StaticClassInfo()), true);
