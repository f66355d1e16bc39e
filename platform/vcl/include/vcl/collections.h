#pragma once
// TCollection and TCollectionItem: an owned, ordered list of items of one class, as a component
// publishes it ("Panels", a settings list) and a form description stores it:
//   Panels = <item Width = 50 end item Text = 'x' end>
// A component publishes the collection as an object property (ObjectProperty<C, TMyItems>) whose
// setter copies with Assign; the reader fills it through the getter. Items publish their own
// properties and are made through the collection's item class.
#include <string>
#include <vector>

#include "vcl/objects.h"
#include "vcl/sysutils.h"

class TCollection;
class TCollectionItem;

// An item class as a value (what a class reference is in the class library).
struct TCollectionItemClass {
  const TClassInfo* Info = nullptr;
  TCollectionItem* (*Create)(TCollection* Collection) = nullptr;

  template <class T>
  static TCollectionItemClass Of() {
    return {&T::StaticClassInfo(), [](TCollection* c) -> TCollectionItem* { return new T(c); }};
  }
};

class TCollectionItem : public TPersistent {
 public:
  VCL_CLASS_INFO
  // Adds the item to Collection (when given), which then owns it.
  explicit TCollectionItem(TCollection* Collection);
  // Leaves its collection.
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  // Moves the item to the end of Value, or out of any collection (the caller then owns it).
  void SetCollection(TCollection* Value);
  // The position in the collection; -1 outside one. Setting it moves the item.
  int Index() const;
  void SetIndex(int Value);
  // Unique in the collection and never reused there, given as the item is added.
  int ID() const { return id_; }
  // The name shown for the item; the class name unless a descendant names it.
  virtual std::string DisplayName() const;
  virtual void SetDisplayName(const std::string& Value);

 protected:
  // Tells the collection of a change to this item, or to all items.
  void Changed(bool AllItems);

 private:
  friend class TCollection;

  TCollection* collection_ = nullptr;
  int id_ = 0;
};

// Index errors raise EListError "List index out of bounds (%d)".
class TCollection : public TPersistent {
 public:
  VCL_CLASS_INFO
  // Owner is the object that publishes the collection (none for a free-standing one).
  explicit TCollection(TCollectionItemClass ItemClass, TPersistent* Owner = nullptr);
  // Frees the items.
  ~TCollection() override;

  TCollectionItemClass ItemClass() const { return itemClass_; }
  TPersistent* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int Index) const;
  // Copies Value into the item at Index.
  void SetItem(int Index, TCollectionItem* Value);
  // A new item of the item class at the end, or at Index.
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  // Frees the item at Index.
  void Delete(int Index);
  void Clear();
  // The item with that ID; none when there is none.
  TCollectionItem* FindItemID(int ID) const;

  // Replaces the items with copies of Source's (each new item Assigns its source item).
  void Assign(TPersistent* Source) override;
  // Changes between them are told once, at the end, as a change to all items.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

 protected:
  friend class TCollectionItem;
  // Called after a change to Item, or with none when items came, went, moved or all changed.
  // Not called while updating.
  virtual void Update(TCollectionItem* Item);
  // Update(none) unless updating.
  void Changed();

 private:
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TCollectionItemClass itemClass_;
  TPersistent* owner_ = nullptr;
  std::vector<TCollectionItem*> items_;
  int nextID_ = 0;
  int updateCount_ = 0;
};
