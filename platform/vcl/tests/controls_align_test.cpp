#include <gtest/gtest.h>

#include <memory>

#include "forms_fixture.h"

namespace {

struct TAlignCase {
  const char* Name;
  struct TChild {
    TAlign Align;
    int Left, Top, Width, Height;
    bool Visible = true;
  };
  std::vector<TChild> Children;
  std::vector<TRectValue> Expected;
};

TRectValue Bounds(const TControl& c) { return TRectValue(c.BoundsRect()); }

class TPlainPanel : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
};

}  // namespace

TEST(TWinControlAlign, ChildrenTakeTheEdgesInTheLibrarysOrder) {
  const TAlignCase cases[] = {
      {"each alignment once",
       {{alClient, 0, 0, 5, 5},
        {alRight, 0, 0, 40, 5},
        {alLeft, 0, 0, 30, 5},
        {alBottom, 0, 0, 5, 20},
        {alTop, 0, 0, 5, 10}},
       {{30, 10, 160, 80}, {160, 10, 200, 80}, {0, 10, 30, 80}, {0, 80, 200, 100}, {0, 0, 200, 10}}},
      {"two top bars keep the order of their positions",
       {{alTop, 0, 50, 5, 10}, {alTop, 0, 0, 5, 15}},
       {{0, 15, 200, 25}, {0, 0, 200, 15}}},
      {"two bottom bars: the lower one stays at the bottom",
       {{alBottom, 0, 90, 5, 10}, {alBottom, 0, 0, 5, 15}},
       {{0, 90, 200, 100}, {0, 75, 200, 90}}},
      {"two right bars: the one further right stays at the edge",
       {{alRight, 0, 0, 20, 5}, {alRight, 150, 0, 10, 5}},
       {{170, 0, 190, 100}, {190, 0, 200, 100}}},
      {"an invisible bar takes no room",
       {{alTop, 0, 0, 5, 30, false}, {alClient, 0, 0, 5, 5}},
       {{0, 0, 5, 30}, {0, 0, 200, 100}}},
      {"unaligned controls stay where they are",
       {{alNone, 7, 8, 9, 10}, {alLeft, 0, 0, 25, 5}},
       {{7, 8, 16, 18}, {0, 0, 25, 100}}},
  };
  for (const TAlignCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPlainPanel parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    std::vector<TControl*> children;
    // As while a form is read: the pass runs once, over the positions given.
    parent.DisableAlign();
    for (const auto& layout : c.Children) {
      auto* child = new TPlainPanel(&parent);
      child->SetBounds(layout.Left, layout.Top, layout.Width, layout.Height);
      child->SetVisible(layout.Visible);
      child->SetAlign(layout.Align);
      child->SetParent(&parent);
      children.push_back(child);
    }
    parent.EnableAlign();
    for (size_t i = 0; i < children.size(); ++i) EXPECT_EQ(Bounds(*children[i]), c.Expected[i]) << "child " << i;
  }
}

TEST(TWinControlAlign, ParentResizeAndAlignChangesFlowAgain) {
  TPlainPanel parent(nullptr);
  parent.SetBounds(0, 0, 200, 100);
  auto* top = new TPlainPanel(&parent);
  top->SetHeight(10);
  top->SetAlign(alTop);
  top->SetParent(&parent);
  auto* client = new TPlainPanel(&parent);
  client->SetAlign(alClient);
  client->SetParent(&parent);
  EXPECT_EQ(Bounds(*client), (TRectValue{0, 10, 200, 100}));

  parent.SetBounds(0, 0, 300, 50);
  EXPECT_EQ(Bounds(*top), (TRectValue{0, 0, 300, 10}));
  EXPECT_EQ(Bounds(*client), (TRectValue{0, 10, 300, 50}));

  // A top bar turned into a left bar keeps its thickness as its width.
  top->SetAlign(alLeft);
  EXPECT_EQ(Bounds(*top), (TRectValue{0, 0, 10, 50}));
  EXPECT_EQ(Bounds(*client), (TRectValue{10, 0, 300, 50}));

  top->SetVisible(false);
  EXPECT_EQ(Bounds(*client), (TRectValue{0, 0, 300, 50}));

  top->SetVisible(true);
  top->SetAlign(alTop);
  auto* second = new TPlainPanel(&parent);
  second->SetBounds(0, 20, 0, 5);
  second->SetAlign(alTop);
  second->SetParent(&parent);
  EXPECT_EQ(Bounds(*second), (TRectValue{0, 10, 300, 15}));
  // A bar moved above another takes its place.
  second->SetTop(0);
  EXPECT_EQ(Bounds(*second), (TRectValue{0, 0, 300, 5}));
  EXPECT_EQ(Bounds(*top), (TRectValue{0, 5, 300, 15}));
  EXPECT_EQ(Bounds(*client), (TRectValue{0, 15, 300, 50}));
  second->SetAlign(alNone);
  top->SetAlign(alNone);
  EXPECT_EQ(Bounds(*client), (TRectValue{0, 0, 300, 50}));
  EXPECT_EQ(Bounds(*top), (TRectValue{0, 0, 300, 10}));
}
