// The bordered panel: where its children go, what it draws on which sides, and its caption.
#include <gtest/gtest.h>

#include "component_fixture.h"
#include "components/zev_panel.h"
#include "pixel_rows.h"

namespace {

class PanelTest : public ComponentTest {
 protected:
  TZevPanel* panel_ = Make<TZevPanel>(10, 10, 100, 80);
  // The panel's pixels as rows of colour names.
  std::vector<std::string> Picture(int x, int y, int w, int h) {
    const host::Image shot = Shot(panel_);
    TBitmap b;
    b.SetWidth(w);
    b.SetHeight(h);
    for (int row = 0; row < h; ++row)
      for (int col = 0; col < w; ++col) {
        const std::uint32_t p = shot.At(x + col, y + row);
        b.Canvas()->SetPixels(col, row, static_cast<TColor>(RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF)));
      }
    return Rows(b.Canvas(), 0, 0, w, h);
  }
};

TEST_F(PanelTest, ClientRectanglesTakeEachBandOnItsSides) {
  struct Case {
    const char* name;
    TFrameStyle outer, inner;
    TSides borderSides, frameSides;
    int borderWidth, bevelWidth;
    int left, top, right, bottom;
  } cases[] = {
      {"defaults", TFrameStyle::fsRaised, TFrameStyle::fsNone, kAllSides, {}, 0, 1, 2, 2, 98, 78},
      {"composer's", TFrameStyle::fsRaised, TFrameStyle::fsLowered, kAllSides, {}, 2, 2, 6, 6, 94, 74},
      {"popup counts 1", TFrameStyle::fsPopup, TFrameStyle::fsNone, kAllSides, {}, 0, 3, 1, 1, 99, 79},
      {"no sides", TFrameStyle::fsRaised, TFrameStyle::fsLowered, {}, {}, 3, 1, 3, 3, 97, 77},
      {"frame left, border top", TFrameStyle::fsGroove, TFrameStyle::fsStatus, {sdTop}, {sdLeft}, 1, 1, 2, 4, 99, 79},
  };
  for (const Case& c : cases) {
    panel_->SetBorderOuter(c.outer);
    panel_->SetBorderInner(c.inner);
    panel_->SetBorderSides(c.borderSides);
    panel_->SetFrameSides(c.frameSides);
    panel_->SetBorderWidth(c.borderWidth);
    panel_->SetBevelWidth(c.bevelWidth);
    const TRect r = panel_->ClientRect();
    EXPECT_EQ(r.left, c.left) << c.name;
    EXPECT_EQ(r.top, c.top) << c.name;
    EXPECT_EQ(r.right, c.right) << c.name;
    EXPECT_EQ(r.bottom, c.bottom) << c.name;
  }
}

TEST_F(PanelTest, ChildrenAreAlignedInsideTheBorders) {
  panel_->SetBevelWidth(2);
  panel_->SetBorderInner(TFrameStyle::fsLowered);
  panel_->SetBorderWidth(2);
  auto* child = Make<TPanel>(0, 0, 10, 10, panel_);
  child->SetAlign(alClient);
  ShowForm();
  EXPECT_EQ(child->Left(), 6);
  EXPECT_EQ(child->Top(), 6);
  EXPECT_EQ(child->Width(), 88);
  EXPECT_EQ(child->Height(), 68);
}

TEST_F(PanelTest, PopupBorderDrawsBevelWidthLines) {
  panel_->SetBorderOuter(TFrameStyle::fsPopup);
  panel_->SetBevelWidth(3);
  panel_->SetColor(clYellow);
  ShowForm();
  EXPECT_EQ(Picture(0, 0, 5, 5), (std::vector<std::string>{"hhhhh", "hhhhh", "hhhhh", "hhhyy", "hhhyy"}));
  EXPECT_EQ(Picture(95, 75, 5, 5), (std::vector<std::string>{"yysss", "yysss", "sssss", "sssss", "sssss"}));
}

TEST_F(PanelTest, FrameLinesAndTheBorderBandOnTheirOwnSides) {
  panel_->SetFrameSides({sdLeft, sdTop});
  panel_->SetBorderOuter(TFrameStyle::fsNone);
  panel_->SetBorderSides({sdTop});
  panel_->SetBorderWidth(2);
  panel_->SetBorderColor(clRed);
  panel_->SetColor(clYellow);
  ShowForm();
  EXPECT_EQ(Picture(0, 0, 4, 4), (std::vector<std::string>{"kkkk", "krrr", "krrr", "kyyy"}));
  EXPECT_EQ(Picture(96, 76, 4, 4), (std::vector<std::string>{"yyyy", "yyyy", "yyyy", "yyyy"}));
}

TEST_F(PanelTest, TellsWhenTheMouseComesAndGoes) {
  std::vector<std::string> log;
  panel_->OnMouseEnter = [&](TObject*) { log.push_back("enter"); };
  panel_->OnMouseLeave = [&](TObject*) { log.push_back("leave"); };
  ShowForm();
  Move(panel_, 20, 20);
  Move(&form_, 200, 200);
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(PanelTest, CaptionsSitAtTopCentreOrBottom) {
  panel_->SetBorderOuter(TFrameStyle::fsNone);
  panel_->SetColor(clWhite);
  panel_->Font()->SetColor(clBlack);
  panel_->SetCaption("Xy");
  ShowForm();
  auto inkRows = [&] {
    const host::Image shot = Shot(panel_);
    int first = -1, last = -1;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x)
        if (shot.At(x, y) == Rgb(clBlack)) {
          if (first < 0) first = y;
          last = y;
        }
    return std::pair<int, int>{first, last};
  };
  TBitmap probe;
  probe.Canvas()->SetFont(panel_->Font());
  const int height = probe.Canvas()->TextHeight("Xy");
  panel_->SetAlignmentVertical(avTop);
  const auto top = inkRows();
  EXPECT_GE(top.first, 0);
  EXPECT_LT(top.second, height);
  panel_->SetAlignmentVertical(avBottom);
  const auto bottom = inkRows();
  // The line box ends one pixel above the bottom edge.
  EXPECT_EQ(bottom.first - top.first, 80 - height - 1);
  panel_->SetAlignmentVertical(avCenter);
  const auto centre = inkRows();
  EXPECT_EQ(centre.first - top.first, (80 - height) / 2);
}

}  // namespace
