#pragma once
// TComponent: ownership, names and notification.
#include <string>
#include <vector>

#include "vcl/objects.h"
#include "vcl/sets.h"
#include "vcl/sysutils.h"

class TReader;

enum TOperation { opInsert, opRemove };
enum TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;

class EComponentError : public Exception {
  using Exception::Exception;
};

class TComponent : public TPersistent {
 public:
  VCL_CLASS_INFO

  // Owner (may be none) takes ownership: it frees this component when it is freed.
  explicit TComponent(TComponent* AOwner);
  // Frees the owned components, last inserted first, after telling the free-notification
  // partners that this component goes.
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // A valid identifier, unique among the owner's components (without regard to case), or "".
  void SetName(const std::string& NewName);
  int Tag() const { return tag_; }
  void SetTag(int Value) { tag_ = Value; }
  TComponentState ComponentState() const { return state_; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int Index) const;
  // The owned component of that name, without regard to case; none for "".
  TComponent* FindComponent(const std::string& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  // Marks this component and its owned components as being destroyed.
  void Destroying();

  // Asks that AComponent be told (Notification with opRemove) when this component is freed; the
  // request is mutual. Components with the same owner hear of each other through the owner.
  void FreeNotification(TComponent* AComponent);

 protected:
  friend class TReader;
  // Every component told of an insertion or removal passes it on to the components it owns.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Called once the component's stored properties have been read; ends csLoading.
  virtual void Loaded();
  void SetDesigning(bool Value);

 private:
  void RemoveFreeNotification(TComponent* AComponent);

  TComponent* owner_ = nullptr;
  std::string name_;
  int tag_ = 0;
  TComponentState state_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};
