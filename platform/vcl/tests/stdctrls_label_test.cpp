#include <gtest/gtest.h>

#include "stdctrls_fixture.h"
#include "vcl/stdctrls.h"

TEST_F(StdCtrlsTest, AutoSizedLabelsFitTheirCaptionAndRightAlignedOnesKeepTheirRightEdge) {
  TLabel* left = Make<TLabel>(10, 10, 200, 40);
  TLabel* right = Make<TLabel>(10, 60, 200, 40);
  right->SetAlignment(taRightJustify);
  right->SetBounds(10, 60, 200, 40);
  for (TLabel* l : {left, right}) l->SetCaption("Font Size");
  EXPECT_EQ(left->Left(), 10);
  EXPECT_LT(left->Width(), 100);
  EXPECT_GT(left->Width(), 20);
  EXPECT_EQ(right->Left() + right->Width(), 210);
  EXPECT_EQ(right->Width(), left->Width());
  const int oneLine = left->Height();

  TLabel* wrapped = Make<TLabel>(10, 110, 60, 20);
  wrapped->SetWordWrap(true);
  wrapped->SetWidth(60);
  wrapped->SetCaption("one two three four");
  EXPECT_LE(wrapped->Width(), 60) << "word wrap breaks lines within the width";
  EXPECT_GE(wrapped->Height(), 2 * oneLine);

  TLabel* fixed = Make<TLabel>(10, 180, 150, 30);
  fixed->SetAutoSize(false);
  fixed->SetWidth(150);
  fixed->SetCaption("x");
  EXPECT_EQ(fixed->Width(), 150);
}

TEST_F(StdCtrlsTest, LabelAcceleratorFocusesItsFocusControl) {
  TLabel* label = Make<TLabel>(10, 10, 60, 17);
  label->SetCaption("Default &question:");
  TCheckBox* target = Make<TCheckBox>(10, 40, 100, 17);
  TButton* other = Make<TButton>(10, 70, 75, 25);
  label->SetFocusControl(target);
  ShowForm();
  other->SetFocus();
  Type("q");
  EXPECT_TRUE(target->Focused());
  EXPECT_FALSE(target->Checked()) << "the label only moves the focus";

  label->SetShowAccelChar(false);
  other->SetFocus();
  Type("q");
  EXPECT_TRUE(other->Focused());
  delete target;
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StdCtrlsTest, TransparentLabelLeavesItsParentVisibleAndDisabledTextIsEmbossed) {
  form_.SetColor(clRed);
  TLabel* opaque = Make<TLabel>(10, 10, 60, 20);
  opaque->SetColor(clYellow);
  opaque->SetAutoSize(false);
  TLabel* clear = Make<TLabel>(10, 40, 60, 20);
  clear->SetTransparent(true);
  clear->SetAutoSize(false);
  TLabel* disabled = Make<TLabel>(10, 70, 60, 20);
  disabled->SetCaption("WWWW");
  disabled->SetEnabled(false);
  ShowForm();
  host::Image shot = CaptureWindow(form_.Handle());
  EXPECT_EQ(shot.At(12, 12), 0xFFFF00u);
  EXPECT_EQ(shot.At(12, 42), 0xFF0000u);
  bool shadow = false, highlight = false;
  for (int y = 70; y < 90; ++y)
    for (int x = 10; x < 70; ++x) {
      shadow |= shot.At(x, y) == 0x808080u;
      highlight |= shot.At(x, y) == 0xFFFFFFu;
    }
  EXPECT_TRUE(shadow && highlight);
}

TEST_F(StdCtrlsTest, GroupBoxAlignsItsChildrenBelowTheCaption) {
  TGroupBox* box = Make<TGroupBox>(10, 10, 200, 100);
  box->SetCaption("Text Effect");
  TCheckBox* child = Make<TCheckBox>(0, 0, 10, 10, box);
  child->SetAlign(alClient);
  EXPECT_GT(child->Top(), 10);
  EXPECT_LT(child->Top(), 25);
  EXPECT_GT(child->Left(), 0);
  EXPECT_EQ(child->Left() + child->Width() + child->Left(), 200);
}
