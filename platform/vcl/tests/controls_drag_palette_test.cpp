// Drag properties (stored and published only), Ctl3D, and forms realising their controls' palettes.
#include <gtest/gtest.h>

#include "forms_fixture.h"
#include "vcl/extctrls.h"
#include "vcl/forms_scrolling.h"

namespace {

// A control with a palette of its own that counts how often the form asks for it.
class TPaletteControl : public TGraphicControl {
 public:
  explicit TPaletteControl(TComponent* owner) : TGraphicControl(owner) {
    struct {
      WORD version, count;
      PALETTEENTRY e[2];
    } lp{0x300, 2, {{12, 34, 56, 0}, {78, 90, 12, 0}}};
    palette_ = CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
  }
  ~TPaletteControl() override { DeleteObject(palette_); }
  HPALETTE GetPalette() override {
    ++asked;
    return palette_;
  }
  int asked = 0;

 private:
  HPALETTE palette_;
};

}  // namespace

TEST_F(FormsTest, DragPropertiesAreStoredAndPublishedWithTheirDefaults) {
  TForm form(nullptr);
  TPanel* panel = new TPanel(&form);
  EXPECT_EQ(panel->DragMode(), dmManual);
  EXPECT_EQ(panel->DragCursor(), crDrag);
  EXPECT_TRUE(panel->Ctl3D());
  const TPropInfo* mode = GetPropInfo(*panel, "DragMode");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->Default, dmManual);
  SetEnumProp(*panel, *mode, "dmAutomatic");
  EXPECT_EQ(panel->DragMode(), dmAutomatic);
  EXPECT_EQ(GetPropInfo(*panel, "DragCursor")->Default, crDrag);
  EXPECT_EQ(GetPropInfo(*panel, "Ctl3D")->Default, 1);
  for (const char* event : {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnStartDrag"}) {
    const TPropInfo* p = GetPropInfo(*panel, event);
    ASSERT_NE(p, nullptr) << event;
    EXPECT_EQ(p->Kind(), tkMethod) << event;
  }
  bool dropped = false;
  GetPropInfo(*panel, "OnDragDrop")->SetMethod(*panel, std::any(TDragDropEvent([&](TObject*, TObject*, int, int) {
    dropped = true;
  })));
  ASSERT_TRUE(panel->OnDragDrop);
  panel->OnDragDrop(panel, nullptr, 0, 0);
  EXPECT_TRUE(dropped);
  // A control without a palette of its own has none.
  EXPECT_EQ(panel->GetPalette(), nullptr);
}

TEST_F(FormsTest, ScrollBoxBorderIsSunkenWithCtl3DAndFlatWithout) {
  TForm form(nullptr);
  TScrollBox* box = new TScrollBox(&form);
  box->SetParent(&form);
  box->SetBounds(0, 0, 100, 100);
  box->HandleNeeded();
  EXPECT_EQ(box->ClientWidth(), 96);
  box->SetCtl3D(false);
  EXPECT_EQ(box->ClientWidth(), 98);
  EXPECT_FALSE(GetWindowLongA(box->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(GetWindowLongA(box->Handle(), GWL_STYLE) & WS_BORDER);
}

TEST_F(FormsTest, FormsRealiseThePalettesOfTheirControlsWhenAsked) {
  TForm form(nullptr);
  TPanel* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* inner = new TPaletteControl(&form);
  inner->SetParent(panel);  // nested in a windowed control
  form.HandleNeeded();
  SendMessageA(form.Handle(), WM_QUERYNEWPALETTE, 0, 0);
  EXPECT_EQ(inner->asked, 1);
  SendMessageA(form.Handle(), WM_PALETTECHANGED, 0, 0);
  EXPECT_EQ(inner->asked, 2);
  // The form that changed the palette itself is not asked again.
  SendMessageA(form.Handle(), WM_PALETTECHANGED, reinterpret_cast<WPARAM>(form.Handle()), 0);
  EXPECT_EQ(inner->asked, 2);
}
