#include <gtest/gtest.h>

#include "vcl/components.h"
#include "vcl/lists.h"
#include "vcl/strings.h"

namespace {

// Records its notifications and its destruction in shared logs.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::string name, std::vector<std::string>* log) : TComponent(owner), log_(log) {
    SetName(name);
  }
  ~TProbe() override { log_->push_back("free " + Name()); }
  using TComponent::SetDesigning;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    log_->push_back(Name() + (op == opInsert ? " +" : " -") + c->Name());
  }

 private:
  std::vector<std::string>* log_;
};

class TPoint2 : public TPersistent {
 public:
  int X = 0;
  void Assign(TPersistent* source) override {
    if (auto* p = dynamic_cast<TPoint2*>(source)) X = p->X;
    else
      TPersistent::Assign(source);
  }
};

}  // namespace

TEST(TComponent, OwnerFreesItsComponentsLastInsertedFirst) {
  std::vector<std::string> log;
  auto* form = new TProbe(nullptr, "fmLogo", &log);
  new TProbe(form, "btOk", &log);
  new TProbe(form, "btCancel", &log);
  new TProbe(form, "laJokeFile", &log);
  EXPECT_EQ(form->ComponentCount(), 3);
  log.clear();
  delete form;
  EXPECT_EQ(log, (std::vector<std::string>{"free fmLogo", "free laJokeFile", "free btCancel", "free btOk"}));
}

TEST(TComponent, OwnerAndItsComponentsHearOfInsertionAndRemoval) {
  std::vector<std::string> log;
  TProbe form(nullptr, "fm", &log);
  auto* a = new TProbe(&form, "a", &log);
  auto* b = new TProbe(&form, "b", &log);
  EXPECT_EQ(log, (std::vector<std::string>{"fm +", "a +", "fm +"}));
  log.clear();
  delete a;
  // The owner passes the removal on to the components it owns.
  EXPECT_EQ(log, (std::vector<std::string>{"free a", "b -a", "fm -a"}));
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0), b);
  EXPECT_THROW(form.Components(1), EListError);
}

TEST(TComponent, FreeNotificationTellsComponentsOfOtherOwners) {
  std::vector<std::string> log;
  TProbe form1(nullptr, "f1", &log), form2(nullptr, "f2", &log);
  auto* settings = new TProbe(&form1, "settings", &log);
  auto* app = new TProbe(&form2, "app", &log);
  app->FreeNotification(settings);
  log.clear();
  delete app;
  EXPECT_EQ(log[1], "settings -app");
  log.clear();
  // The partner was forgotten: freeing the other side tells nobody outside its owner.
  delete settings;
  EXPECT_EQ(log, (std::vector<std::string>{"free settings", "f1 -settings"}));
}

TEST(TComponent, FindComponentIgnoresCaseAndNamesAreChecked) {
  std::vector<std::string> log;
  TProbe form(nullptr, "fmLogo", &log);
  auto* label = new TProbe(&form, "laJokeFile", &log);
  EXPECT_EQ(form.FindComponent("LAJOKEFILE"), label);
  EXPECT_EQ(form.FindComponent("none"), nullptr);
  EXPECT_EQ(form.FindComponent(""), nullptr);
  EXPECT_THROW(new TProbe(&form, "LaJokeFile", &log), EComponentError);
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_THROW(label->SetName("1abc"), EComponentError);
  EXPECT_THROW(label->SetName("a b"), EComponentError);
  try {
    label->SetName("bad name");
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message, "'bad name' is not a valid component name");
  }
  label->SetName("_ok2");
  EXPECT_EQ(form.FindComponent("_OK2"), label);
}

TEST(TComponent, StateMarksDesigningAndDestroying) {
  std::vector<std::string> log;
  TProbe form(nullptr, "fm", &log);
  auto* child = new TProbe(&form, "child", &log);
  form.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  EXPECT_FALSE(child->ComponentState().Contains(csLoading));
  form.Destroying();
  EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
}

TEST(TPersistent, AssignOfAnotherClassRaisesTheConversionError) {
  TPoint2 a, b;
  b.X = 5;
  a.Assign(&b);
  EXPECT_EQ(a.X, 5);
  TStringList list;
  try {
    a.Assign(&list);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TStringList to a TPoint2");
  }
  try {
    list.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a nil to a TStringList");
  }
  EXPECT_EQ(list.ClassName(), "TStringList");
}
