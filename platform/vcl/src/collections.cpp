#include "vcl/collections.h"

#include <algorithm>

#include "vcl/lists.h"
#include "vcl/scope_exit.h"
#include "vcl/typinfo.h"

// ---- TCollectionItem --------------------------------------------------------------------------

const TClassInfo& TCollectionItem::StaticClassInfo() {
  static const TClassInfo info("TCollectionItem", &TPersistent::StaticClassInfo());
  return info;
}

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (Value == collection_) return;
  if (collection_) collection_->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  const auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  const int current = Index();
  if (current < 0 || Value == current) return;
  auto& items = collection_->items_;
  if (Value < 0 || Value >= static_cast<int>(items.size())) throw EListError("List index out of bounds (%d)", {Value});
  items.erase(items.begin() + current);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const std::string&) { Changed(false); }

void TCollectionItem::Changed(bool AllItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(AllItems ? nullptr : this);
}

// ---- TCollection ------------------------------------------------------------------------------

const TClassInfo& TCollection::StaticClassInfo() {
  static const TClassInfo info("TCollection", &TPersistent::StaticClassInfo());
  return info;
}

TCollection::TCollection(TCollectionItemClass ItemClass, TPersistent* Owner) : itemClass_(ItemClass), owner_(Owner) {}

TCollection::~TCollection() {
  // No change notices from a collection that is going.
  ++updateCount_;
  Clear();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (%d)", {Index});
  return items_[static_cast<std::size_t>(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::Add() { return itemClass_.Create(this); }

TCollectionItem* TCollection::Insert(int Index) {
  if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (%d)", {Index});
  BeginUpdate();
  TCollectionItem* item = nullptr;
  {
    ScopeExit endUpdate([&] { EndUpdate(); });
    item = Add();
    item->SetIndex(Index);
  }
  return item;
}

void TCollection::Delete(int Index) { delete Items(Index); }

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) delete items_.back();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* item : items_)
    if (item->ID() == ID) return item;
  return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TCollection*>(Source);
  if (!source) return TPersistent::Assign(Source);
  if (source == this) return;
  BeginUpdate();
  {
    ScopeExit endUpdate([&] { EndUpdate(); });
    Clear();
    for (TCollectionItem* item : source->items_) Add()->Assign(item);
  }
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (--updateCount_ == 0) Changed();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  items_.push_back(Item);
  Item->collection_ = this;
  Item->id_ = nextID_++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  std::erase(items_, Item);
  Item->collection_ = nullptr;
  Changed();
}
