#pragma once
// The settings the settings-value fuzz target reads into: on one form, a free setting and settings
// bound to a check box, a collection and a self-stored property, each plain or scrambled.
#include <string>
#include <vector>

#include "settings/setorra.h"
#include "vcl/collections.h"
#include "vcl/filer.h"
#include "vcl/formreader.h"
#include "vcl/formwriter.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"
#include "vcl/typinfo.h"

class TFuzzItem : public TCollectionItem {
 public:
  VCL_CLASS_INFO
  using TCollectionItem::TCollectionItem;
  int Width = 0;
  std::string Text;
};

inline const TClassInfo& TFuzzItem::StaticClassInfo() {
  static const TClassInfo info("TFuzzItem", &TCollectionItem::StaticClassInfo(),
                               {OrdProperty<TFuzzItem>("Width", TypeInfo_Integer, &TFuzzItem::Width, &TFuzzItem::Width),
                                StrProperty<TFuzzItem>("Text", &TFuzzItem::Text, &TFuzzItem::Text)});
  return info;
}

// Keeps a collection and a list of notes that it stores itself.
class TFuzzKeeper : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TFuzzKeeper(TComponent* owner) : TComponent(owner) {}
  ~TFuzzKeeper() override { delete items_; }
  TCollection* Items() const { return items_; }
  void SetItems(TCollection* v) { items_->Assign(v); }
  std::vector<std::string> Notes;

 protected:
  void DefineProperties(TFiler* Filer) override {
    Filer->DefineProperty(
        "Notes",
        [this](TReader* r) {
          std::vector<std::string> notes;
          r->ReadListBegin();
          while (!r->EndOfList()) notes.push_back(r->ReadString());
          r->ReadListEnd();
          Notes = notes;
        },
        [this](TWriter* w) {
          w->WriteListBegin();
          for (const std::string& n : Notes) w->WriteString(n);
          w->WriteListEnd();
        },
        true);
  }

 private:
  TCollection* items_ = new TCollection(TCollectionItemClass::Of<TFuzzItem>(), this);
};

inline const TClassInfo& TFuzzKeeper::StaticClassInfo() {
  static const TClassInfo info(
      "TFuzzKeeper", &TComponent::StaticClassInfo(),
      {ObjectProperty<TFuzzKeeper, TCollection>("Items", &TFuzzKeeper::Items, &TFuzzKeeper::SetItems)});
  return info;
}

class TSettingsValueFixture {
 public:
  TSettingsValueFixture() : form_(new TForm(nullptr)) {
    form_->SetName("fmFuzz");
    auto* check = new TCheckBox(form_);
    check->SetName("cbCheck");
    check->SetParent(form_);
    auto* keeper = new TFuzzKeeper(form_);
    keeper->SetName("keeper");
    keeper->Items()->Add();
    const char* paths[4] = {"", "cbCheck.Checked", "keeper.Items", "keeper.Notes"};
    for (bool encrypted : {false, true})
      for (int i = 0; i < 4; ++i) {
        auto* s = new TSetorra(form_);
        if (i == 0) s->SetName("Free");
        else
          s->SetBoundProperty(paths[i]);
        s->SetEncrypted(encrypted);
        s->CaptureDefault();
        settings_[encrypted][i] = s;
      }
  }
  ~TSettingsValueFixture() { delete form_; }
  TSettingsValueFixture(const TSettingsValueFixture&) = delete;
  TSettingsValueFixture& operator=(const TSettingsValueFixture&) = delete;

  TSetorra* Setting(int which, bool encrypted) {
    TSetorra* s = settings_[encrypted][which];
    // Bound settings start from their property, free ones from a value of their own.
    if (which == 0) s->SetAsInteger(7);
    else
      s->RefreshFromProperty();
    return s;
  }

 private:
  TForm* form_;
  TSetorra* settings_[2][4] = {};
};
