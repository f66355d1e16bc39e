#pragma once
// Test aid: a rectangle that compares and prints, for expectations.
#include <ostream>

#include "vcl/graphics.h"

struct TRectValue {
  int Left, Top, Right, Bottom;
  TRectValue(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  explicit TRectValue(const TRect& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
  bool operator==(const TRectValue&) const = default;
  friend std::ostream& operator<<(std::ostream& os, const TRectValue& r) {
    return os << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
  }
};
