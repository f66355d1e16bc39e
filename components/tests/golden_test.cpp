// Golden pictures of the components, made by our own renderer and looked at once:
// STARTLOGO_UPDATE_GOLDEN=1 writes them anew.
#include <gtest/gtest.h>

#include "component_fixture.h"
#include "components/tav_color_button.h"
#include "components/zev_combo.h"
#include "components/zev_label.h"
#include "components/zev_panel.h"

namespace {

using ZevLabel::TTextStyle;

void ExpectGolden(const host::Image& image, const std::string& name) {
  ExpectMatchesGoldenFile(image, ComponentGolden(name));
}

TEST_F(ComponentTest, ColourButtonFocusedAndDisabled) {
  auto* focused = Make<TTavColorButton>(10, 10, 43, 21);
  focused->SetValue(clBlue);
  auto* disabled = Make<TTavColorButton>(70, 10, 43, 21);
  disabled->SetValue(clRed);
  disabled->SetEnabled(false);
  ShowForm();
  focused->SetFocus();
  PumpMessages();
  ExpectGolden(Shot(focused), "colour_button_focused");
  ExpectGolden(Shot(disabled), "colour_button_disabled");
}

TEST_F(ComponentTest, OpenColourPopUp) {
  auto* button = Make<TTavColorButton>(10, 10, 43, 21);
  button->SetValue(clTeal);
  button->SetShowCurrent(true);
  ShowForm();
  Click(button, 5, 5);
  ASSERT_TRUE(button->PopUp()->Shown());
  button->PopUp()->Repaint();
  PumpMessages();
  ExpectGolden(CaptureWindow(button->PopUp()->Handle()), "colour_popup");
  Key(VK_ESCAPE);
}

// Draws items as the drop-down list has them drawn.
class TProbeFontCombo : public TZevFontComboBox {
 public:
  using TZevFontComboBox::TZevFontComboBox;
  void DrawOn(TCanvas* Target, int Index, const TRect& Rect, TOwnerDrawState State) {
    Canvas()->SetHandle(Target->Handle());
    Canvas()->SetFont(Font());
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(State.Contains(odSelected) ? clHighlight : clWindow);
    Canvas()->Font()->SetColor(State.Contains(odSelected) ? clHighlightText : clWindowText);
    DrawItem(Index, Rect, State);
    Canvas()->SetHandle(nullptr);
  }
};

TEST_F(ComponentTest, FontComboItems) {
  auto* combo = Make<TProbeFontCombo>(10, 10, 160, 22);
  combo->HandleNeeded();
  const char* names[] = {"Arial", "Courier New", "MS Sans Serif", "Times New Roman"};
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetWidth(160);
  picture.SetHeight(4 * 18);
  const int height = 18;
  for (int i = 0; i < 4; ++i) {
    const int index = combo->Items()->IndexOf(names[i]);
    ASSERT_GE(index, 0) << names[i];
    TOwnerDrawState state;
    if (i == 1) state = {odSelected, odFocused};
    combo->DrawOn(picture.Canvas(), index, {0, i * height, 160, (i + 1) * height}, state);
  }
  host::Image image;
  image.width = picture.Width();
  image.height = picture.Height();
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) image.pixels.push_back(Rgb(picture.Canvas()->Pixels(x, y)));
  ExpectGolden(image, "font_combo_items");
}

TEST_F(ComponentTest, TenFrameStyles) {
  form_.SetBounds(50, 50, 5 * 44 + 4, 2 * 34 + 4);
  std::vector<TZevPanel*> panels;
  for (int s = 0; s < 10; ++s) {
    auto* p = Make<TZevPanel>(4 + (s % 5) * 44, 4 + (s / 5) * 34, 40, 30);
    p->SetBorderOuter(static_cast<TFrameStyle>(s));
    p->SetBevelWidth(2);
    p->SetCaption("");
  }
  ShowForm();
  ExpectGolden(CaptureClient(form_.Handle()), "frame_styles");
}

TEST_F(ComponentTest, ComposersPanel) {
  auto* panel = Make<TZevPanel>(10, 10, 120, 90);
  panel->SetBevelWidth(2);
  panel->SetBorderInner(TFrameStyle::fsLowered);
  panel->SetBorderWidth(2);
  panel->SetCaption("ZevPanel1");
  ShowForm();
  ExpectGolden(Shot(panel), "zev_panel_composer");
}

TEST_F(ComponentTest, LabelTextStylesTurnedAndCurved) {
  constexpr int kCell = 84;
  const int angles[] = {0, 45, 90, 180, 270, -1};  // -1: curved
  form_.SetBounds(0, 0, 6 * kCell, 4 * kCell);
  form_.SetColor(clBtnFace);
  for (int style = 0; style < 4; ++style)
    for (int a = 0; a < 6; ++a) {
      auto* label = new TZevLabel(&form_);
      label->SetAutoSize(false);
      label->SetBounds(a * kCell, style * kCell, kCell - 2, kCell - 2);
      label->SetParent(&form_);
      label->SetTransparent(false);
      label->SetColor(clWhite);
      label->Font()->SetName("Arial");
      label->Font()->SetHeight(-15);
      label->Font()->SetStyle({fsBold});
      label->Font()->SetColor(clNavy);
      label->SetAlignment(taCenter);
      label->SetShadowColor(clGray);
      label->SetHighlightColor(clYellow);
      label->SetTextStyle(static_cast<TTextStyle>(style));
      label->SetCaption(angles[a] < 0 ? "Curved text" : "Tarn");
      if (angles[a] < 0) {
        label->SetRotation(roCurve);
        label->SetAngle(90);
      } else {
        label->SetRotation(roFlat);
        label->SetAngle(angles[a]);
      }
    }
  ShowForm();
  ExpectGolden(CaptureClient(form_.Handle()), "label_styles");
}

}  // namespace
