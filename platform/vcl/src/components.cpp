#include <algorithm>

#include "vcl/components.h"
#include "vcl/lists.h"
#include "vcl/typinfo.h"

namespace {

bool IsValidIdent(const std::string& s) {
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (s.empty() || !alpha(s[0])) return false;
  return std::all_of(s.begin(), s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

}  // namespace

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info(
      "TComponent", &TPersistent::StaticClassInfo(),
      {StrProperty<TComponent>("Name", &TComponent::Name, &TComponent::SetName),
       OrdProperty<TComponent>("Tag", TypeInfo_Integer, &TComponent::Tag, &TComponent::SetTag, 0)});
  return info;
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Partners may drop themselves from the list while they are told.
  while (!freeNotifies_.empty()) {
    TComponent* partner = freeNotifies_.back();
    freeNotifies_.pop_back();
    partner->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == name_) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'%s' is not a valid component name", {NewName});
  if (owner_ && !NewName.empty()) {
    const TComponent* same = owner_->FindComponent(NewName);
    if (same && same != this) throw EComponentError("A component named %s already exists", {NewName});
  }
  name_ = NewName;
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) throw EListError("List index out of bounds (%d)", {Index});
  return components_[static_cast<std::size_t>(Index)];
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, AName)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent->name_.empty() && FindComponent(AComponent->name_))
    throw EComponentError("A component named %s already exists", {AComponent->name_});
  if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
  components_.push_back(AComponent);
  AComponent->owner_ = this;
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  Notification(AComponent, opRemove);
  components_.erase(std::remove(components_.begin(), components_.end(), AComponent), components_.end());
  AComponent->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (owner_ && AComponent->owner_ == owner_) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) != freeNotifies_.end()) return;
  freeNotifies_.push_back(AComponent);
  AComponent->FreeNotification(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), AComponent), freeNotifies_.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) RemoveFreeNotification(AComponent);
  // Index loop: a handler may free or add components while it is told.
  for (std::size_t i = 0; i < components_.size(); ++i) components_[i]->Notification(AComponent, Operation);
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::SetDesigning(bool Value) {
  if (Value) state_.Include(csDesigning);
  else
    state_.Exclude(csDesigning);
  for (TComponent* c : components_) c->SetDesigning(Value);
}
