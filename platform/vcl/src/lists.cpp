#include <algorithm>

#include "vcl/lists.h"

void TList::Check(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (%d)", {Index});
}

void* TList::Items(int Index) const {
  Check(Index);
  return items_[static_cast<std::size_t>(Index)];
}

void TList::SetItem(int Index, void* Item) {
  Check(Index);
  items_[static_cast<std::size_t>(Index)] = Item;
}

int TList::Add(void* Item) {
  items_.push_back(Item);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (%d)", {Index});
  items_.insert(items_.begin() + Index, Item);
}

void TList::Delete(int Index) {
  Check(Index);
  items_.erase(items_.begin() + Index);
}

int TList::Remove(void* Item) {
  const int index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

int TList::IndexOf(void* Item) const {
  const auto found = std::find(items_.begin(), items_.end(), Item);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TList::Exchange(int Index1, int Index2) {
  Check(Index1);
  Check(Index2);
  std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
}

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

namespace {

[[noreturn]] void BitsError() { throw EBitsError("Bits index out of range"); }

}  // namespace

void TBits::SetSize(int Value) {
  if (Value < 0) BitsError();
  bits_.resize(static_cast<std::size_t>(Value), false);
}

bool TBits::Bits(int Index) const {
  if (Index < 0 || Index >= Size()) BitsError();
  return bits_[static_cast<std::size_t>(Index)];
}

void TBits::SetBit(int Index, bool Value) {
  if (Index < 0) BitsError();
  if (Index >= Size()) SetSize(Index + 1);
  bits_[static_cast<std::size_t>(Index)] = Value;
}

int TBits::OpenBit() const {
  const auto found = std::find(bits_.begin(), bits_.end(), false);
  return static_cast<int>(found - bits_.begin());
}
