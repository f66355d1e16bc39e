#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formreader_text.h"
#include "vcl/collections.h"
#include "vcl/components.h"
#include "vcl/formtext.h"
#include "vcl/lists.h"
#include "vcl/typinfo.h"

namespace {

class TTestPanel : public TCollectionItem {
 public:
  VCL_CLASS_INFO
  using TCollectionItem::TCollectionItem;

  int Width() const { return width_; }
  void SetWidth(int v) {
    width_ = v;
    Changed(false);
  }
  std::string Text;
  TComponent* Partner = nullptr;
  void SetPartner(TComponent* v) { Partner = v; }

  void Assign(TPersistent* Source) override {
    auto* source = dynamic_cast<TTestPanel*>(Source);
    if (!source) return TCollectionItem::Assign(Source);
    width_ = source->width_;
    Text = source->Text;
  }
  std::string DisplayName() const override { return Text.empty() ? TCollectionItem::DisplayName() : Text; }

 private:
  int width_ = 50;
};

const TClassInfo& TTestPanel::StaticClassInfo() {
  static const TClassInfo info(
      "TTestPanel", &TCollectionItem::StaticClassInfo(),
      {OrdProperty<TTestPanel>("Width", TypeInfo_Integer, &TTestPanel::Width, &TTestPanel::SetWidth, 50),
       StrProperty<TTestPanel>("Text", &TTestPanel::Text, &TTestPanel::Text),
       ObjectProperty<TTestPanel, TComponent>("Partner", &TTestPanel::Partner, &TTestPanel::SetPartner)});
  return info;
}

// Records the change notices it is given: the item's ID, or -1 for all items.
class TTestPanels : public TCollection {
 public:
  VCL_CLASS_INFO
  explicit TTestPanels(TPersistent* owner = nullptr) : TCollection(TCollectionItemClass::Of<TTestPanel>(), owner) {}
  TTestPanel* Items(int i) const { return static_cast<TTestPanel*>(TCollection::Items(i)); }
  std::vector<int> updates;

 protected:
  void Update(TCollectionItem* item) override { updates.push_back(item ? item->ID() : -1); }
};

const TClassInfo& TTestPanels::StaticClassInfo() {
  static const TClassInfo info("TTestPanels", &TCollection::StaticClassInfo());
  return info;
}

class TTestStatusBar : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TTestStatusBar(TComponent* owner) : TComponent(owner) {}
  ~TTestStatusBar() override { delete panels_; }
  TTestPanels* Panels() const { return panels_; }
  void SetPanels(TTestPanels* v) { panels_->Assign(v); }

 private:
  TTestPanels* panels_ = new TTestPanels(this);
};

const TClassInfo& TTestStatusBar::StaticClassInfo() {
  static const TClassInfo info(
      "TTestStatusBar", &TComponent::StaticClassInfo(),
      {ObjectProperty<TTestStatusBar, TTestPanels>("Panels", &TTestStatusBar::Panels, &TTestStatusBar::SetPanels)}, {},
      &CreateComponent<TTestStatusBar>);
  return info;
}

class TTestStatusForm : public TComponent {
 public:
  VCL_CLASS_INFO
  using TComponent::TComponent;
  TTestStatusBar* sbMain = nullptr;
};

const TClassInfo& TTestStatusForm::StaticClassInfo() {
  static const TClassInfo info("TTestStatusForm", &TComponent::StaticClassInfo());
  return info;
}

const bool registered = [] {
  RegisterClass(TTestStatusBar::StaticClassInfo());
  return true;
}();

std::vector<std::string> Texts(const TTestPanels& panels) {
  std::vector<std::string> out;
  for (int i = 0; i < panels.Count(); ++i) out.push_back(panels.Items(i)->Text);
  return out;
}

TEST(Collections, ItemsKeepTheirIDsAndIndexesAsTheyComeMoveAndGo) {
  TTestPanels panels;
  EXPECT_EQ(panels.ItemClass().Info, &TTestPanel::StaticClassInfo());
  auto* a = static_cast<TTestPanel*>(panels.Add());
  auto* b = static_cast<TTestPanel*>(panels.Add());
  auto* c = static_cast<TTestPanel*>(panels.Insert(0));
  a->Text = "a", b->Text = "b", c->Text = "c";
  EXPECT_EQ(Texts(panels), (std::vector<std::string>{"c", "a", "b"}));
  EXPECT_EQ(a->Collection(), &panels);
  EXPECT_EQ(a->Index(), 1);
  EXPECT_EQ((std::vector<int>{a->ID(), b->ID(), c->ID()}), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(panels.FindItemID(2), c);
  EXPECT_EQ(c->DisplayName(), "c");
  EXPECT_EQ(TTestPanel(nullptr).DisplayName(), "TTestPanel");

  c->SetIndex(2);
  EXPECT_EQ(Texts(panels), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_THROW(c->SetIndex(3), EListError);
  panels.Delete(0);
  EXPECT_EQ(Texts(panels), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(panels.FindItemID(0), nullptr);
  EXPECT_EQ(static_cast<TTestPanel*>(panels.Add())->ID(), 3) << "IDs are never reused";
  delete b;
  EXPECT_EQ(panels.Count(), 2);
  EXPECT_THROW(panels.Items(2), EListError);
  EXPECT_THROW(panels.Insert(3), EListError);

  // An item taken out is the caller's; moved into another collection it goes to the end.
  TTestPanels other;
  other.Add();
  c->SetCollection(&other);
  EXPECT_EQ(c->Index(), 1);
  EXPECT_EQ(panels.Count(), 1);
  c->SetCollection(nullptr);
  EXPECT_EQ(c->Index(), -1);
  delete c;
  panels.Clear();
  EXPECT_EQ(panels.Count(), 0);
}

TEST(Collections, ChangesAreToldOnceOutsideUpdates) {
  TTestPanels panels;
  auto* a = static_cast<TTestPanel*>(panels.Add());
  a->SetWidth(10);
  EXPECT_EQ(panels.updates, (std::vector<int>{-1, a->ID()}));
  panels.updates.clear();
  panels.BeginUpdate();
  panels.Add();
  a->SetWidth(20);
  a->SetIndex(1);
  panels.BeginUpdate();
  panels.Delete(0);
  panels.EndUpdate();
  EXPECT_TRUE(panels.updates.empty());
  panels.EndUpdate();
  EXPECT_EQ(panels.updates, (std::vector<int>{-1}));
  EXPECT_EQ(panels.UpdateCount(), 0);
}

TEST(Collections, AssignCopiesEveryItem) {
  TTestPanels source, target;
  for (const char* text : {"one", "two"}) static_cast<TTestPanel*>(source.Add())->Text = text;
  source.Items(1)->SetWidth(7);
  target.Add();
  target.updates.clear();
  target.Assign(&source);
  EXPECT_EQ(Texts(target), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(target.Items(1)->Width(), 7);
  EXPECT_NE(target.Items(0), source.Items(0));
  EXPECT_EQ(target.updates, (std::vector<int>{-1}));
  TComponent notACollection(nullptr);
  EXPECT_THROW(target.Assign(&notACollection), EConvertError);
  TTestStatusBar bar(nullptr);
  EXPECT_EQ(bar.Panels()->Owner(), &bar);
}

TEST(Collections, FormDescriptionsFillCollectionProperties) {
  ASSERT_TRUE(registered);
  TTestStatusForm form(nullptr);
  ReadComponentText(R"(object f: TTestStatusForm
  object sbMain: TTestStatusBar
    Panels = <
      item
        Text = 'Ready'
        Partner = Other
      end
      item [1]
        Width = 120
      end
      item
      end>
  end
  object Other: TTestStatusBar
  end
end)",
                    &form, {FormField("sbMain", form.sbMain)});
  const TTestPanels& panels = *form.sbMain->Panels();
  ASSERT_EQ(panels.Count(), 3);
  EXPECT_EQ(panels.Items(0)->Text, "Ready");
  EXPECT_EQ(panels.Items(0)->Partner, form.FindComponent("Other"));
  EXPECT_EQ(panels.Items(0)->Width(), 50);
  EXPECT_EQ(panels.Items(1)->Width(), 120);
  EXPECT_EQ(panels.updates, (std::vector<int>{-1})) << "one notice for the whole collection";

  // A description's items replace the ones there were.
  ReadComponentText(
      "inherited f: TTestStatusForm\n inherited sbMain: TTestStatusBar\n"
      "  Panels = <item Text = 'only' end>\n end\nend",
      &form);
  EXPECT_EQ(Texts(panels), (std::vector<std::string>{"only"}));
}

TEST(Collections, BadItemsFailNamingTheirPlace) {
  struct Case {
    const char* items;
    const char* message;
  };
  const Case cases[] = {
      {"item\n Height = 3\n end", "Error reading sbMain.Panels: Property Height does not exist in TTestPanel (line 4)"},
      {"item end item\n Partner = Nobody\n end",
       "Error reading sbMain.Panels[1].Partner: component Nobody not found (line 4)"},
      {"item\n Width = 'wide'\n end", "Error reading sbMain.Panels: Invalid property value (line 4)"},
  };
  for (const Case& c : cases) {
    TTestStatusForm form(nullptr);
    try {
      ReadComponentText(std::string("object f: TTestStatusForm\n object sbMain: TTestStatusBar\n  Panels = <") +
                            c.items + ">\n end\nend",
                        &form);
      ADD_FAILURE() << c.items;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
  // A collection given to a property that holds none.
  TTestStatusForm form(nullptr);
  EXPECT_THROW(ReadComponentText("object f: TTestStatusForm\n object sbMain: TTestStatusBar\n"
                                 "  Panels.Items = <item end>\n end\nend",
                                 &form),
               EReadError);
}

TEST(Collections, AReaderFillsACollectionFromItsItemsAlone) {
  // What a stored setting holds: a collection's data after its marker, read without a form.
  const TFormBinary binary = ObjectTextToBinary("object a: T\n C = <item Text = 'x' end item Width = 9 end>\nend");
  TMemoryStream stream;
  stream.WriteBuffer(binary.Data.data(), static_cast<std::int64_t>(binary.Data.size()));
  stream.SetPosition(4 + 2 + 2 + 2);  // signature, class, name and the property's name
  TReader reader(&stream);
  ASSERT_EQ(reader.ReadValue(), vaCollection);
  TTestPanels panels;
  reader.ReadCollection(&panels);
  EXPECT_EQ(Texts(panels), (std::vector<std::string>{"x", ""}));
  EXPECT_EQ(panels.Items(1)->Width(), 9);
  EXPECT_EQ(reader.ReadValue(), vaNull) << "the end of the object's properties";
}

}  // namespace
