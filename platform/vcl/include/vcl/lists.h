#pragma once
// TList, the list of untyped pointers, and TBits, the growable bit set.
#include <functional>
#include <vector>

#include "vcl/objects.h"
#include "vcl/sysutils.h"

class EListError : public Exception {
  using Exception::Exception;
};
class EBitsError : public Exception {
  using Exception::Exception;
};

// Negative when a sorts before b, 0 when equal, positive after.
using TListSortCompare = std::function<int(void* a, void* b)>;

// Index errors raise EListError "List index out of bounds (%d)".
class TList : public TObject {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  void* Items(int Index) const;
  void SetItem(int Index, void* Item);
  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  // Removes the first occurrence; its former index, or -1.
  int Remove(void* Item);
  int IndexOf(void* Item) const;
  void Exchange(int Index1, int Index2);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  void Clear() { items_.clear(); }
  // Items that compare equal keep their order.
  void Sort(const TListSortCompare& Compare);

 private:
  void Check(int Index) const;
  std::vector<void*> items_;
};

class TBits : public TObject {
 public:
  int Size() const { return static_cast<int>(bits_.size()); }
  void SetSize(int Value);
  // Reading past Size raises EBitsError "Bits index out of range"; writing past it grows the set.
  bool Bits(int Index) const;
  void SetBit(int Index, bool Value);
  // The first clear bit, or Size when every bit is set.
  int OpenBit() const;

 private:
  std::vector<bool> bits_;
};
