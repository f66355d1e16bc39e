#include <gtest/gtest.h>

#include "vcl/lists.h"

TEST(TList, EditsAndIndexErrors) {
  int a = 1, b = 2, c = 3;
  TList list;
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(&c), 1);
  list.Insert(1, &b);
  EXPECT_EQ(list.IndexOf(&c), 2);
  EXPECT_EQ(list.Remove(&a), 0);
  EXPECT_EQ(list.Remove(&a), -1);
  list.Exchange(0, 1);
  EXPECT_EQ(list.First(), &c);
  EXPECT_EQ(list.Last(), &b);
  try {
    list.Items(2);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (2)");
  }
  EXPECT_THROW(list.Insert(3, &a), EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
  list.Clear();
  EXPECT_THROW(list.First(), EListError);
}

TEST(TList, SortKeepsEqualItemsInOrder) {
  int v[] = {3, 1, 2, 1};
  TList list;
  for (int& x : v) list.Add(&x);
  list.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
  EXPECT_EQ(list.Items(0), &v[1]);
  EXPECT_EQ(list.Items(1), &v[3]);
  EXPECT_EQ(list.Items(2), &v[2]);
  EXPECT_EQ(list.Items(3), &v[0]);
}

TEST(TBits, GrowsOnWriteAndFindsTheFirstOpenBit) {
  TBits bits;
  EXPECT_EQ(bits.OpenBit(), 0);
  bits.SetBit(0, true);
  bits.SetBit(1, true);
  bits.SetBit(5, true);
  EXPECT_EQ(bits.Size(), 6);
  EXPECT_EQ(bits.OpenBit(), 2);
  EXPECT_FALSE(bits.Bits(4));
  EXPECT_THROW(bits.Bits(6), EBitsError);
  EXPECT_THROW(bits.SetBit(-1, true), EBitsError);
  bits.SetSize(2);
  EXPECT_EQ(bits.OpenBit(), 2);
}
