#include <gtest/gtest.h>

#include "forms_fixture.h"

namespace {

// Logs the class library's notifications it receives, and answers some of them.
class TNotifiedBox : public TCustomControl {
 public:
  explicit TNotifiedBox(TComponent* owner, std::vector<UINT>* log = nullptr) : TCustomControl(owner), log_(log) {}
  LRESULT ButtonPressedAnswer = 0;
  std::vector<UINT> Reflected;

  void WndProc(TMessage& Message) override {
    if (log_ && Message.Msg >= CM_BASE && Message.Msg < CN_BASE) log_->push_back(Message.Msg);
    if (Message.Msg == CM_BUTTONPRESSED) {
      Message.Result = ButtonPressedAnswer;
      return;
    }
    if (Message.Msg == CN_COMMAND || Message.Msg == CN_DRAWITEM) {
      Reflected.push_back(Message.Msg);
      Message.Result = 7;
      return;
    }
    TCustomControl::WndProc(Message);
  }

 private:
  std::vector<UINT>* log_;
};

}  // namespace

TEST_F(FormsTest, PropertyChangesSendTheirNotifications) {
  TForm form(nullptr);
  std::vector<UINT> log;
  auto* box = new TNotifiedBox(&form, &log);
  box->SetParent(&form);
  struct TCase {
    const char* Name;
    std::function<void()> Change;
    std::vector<UINT> Sent;
  };
  TFont bold;
  bold.SetStyle({fsBold});
  const TCase cases[] = {
      {"text", [&] { box->SetText("Logo"); }, {CM_TEXTCHANGED}},
      {"same text", [&] { box->SetText("Logo"); }, {}},
      {"colour", [&] { box->SetColor(clRed); }, {CM_COLORCHANGED}},
      {"font", [&] { box->SetFont(&bold); }, {CM_FONTCHANGED}},
      {"enabled", [&] { box->SetEnabled(false); }, {CM_ENABLEDCHANGED}},
      {"visible", [&] { box->SetVisible(false); }, {CM_VISIBLECHANGED}},
      {"cursor", [&] { box->SetCursor(crHandPoint); }, {CM_CURSORCHANGED}},
      {"show hint", [&] { box->SetShowHint(true); }, {CM_SHOWHINTCHANGED}},
      {"parent colour", [&] { box->SetParentColor(true); }, {CM_PARENTCOLORCHANGED, CM_COLORCHANGED}},
      {"parent's colour", [&] { form.SetColor(clYellow); }, {CM_PARENTCOLORCHANGED, CM_COLORCHANGED}},
      {"parent font", [&] { box->SetParentFont(true); }, {CM_PARENTFONTCHANGED, CM_FONTCHANGED}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    log.clear();
    c.Change();
    EXPECT_EQ(log, c.Sent);
  }
  EXPECT_EQ(box->Color(), clYellow);
  EXPECT_TRUE(box->ParentColor());
  EXPECT_FALSE(box->Font()->Style().Contains(fsBold));
  // A colour of its own ends following the parent.
  box->SetColor(clBlue);
  form.SetColor(clGreen);
  EXPECT_EQ(box->Color(), clBlue);
  EXPECT_FALSE(box->ParentColor());
}

TEST_F(FormsTest, ParentShowHintFollowsTheParentUntilSetOwn) {
  TForm form(nullptr);
  auto* panel = new TNotifiedBox(&form);
  panel->SetParent(&form);
  auto* box = new TNotifiedBox(&form);
  box->SetParent(panel);
  form.SetShowHint(true);
  EXPECT_TRUE(panel->ShowHint());
  EXPECT_TRUE(box->ShowHint());
  box->SetShowHint(false);
  EXPECT_FALSE(box->ParentShowHint());
  form.SetShowHint(false);
  form.SetShowHint(true);
  EXPECT_FALSE(box->ShowHint());
}

TEST_F(FormsTest, BroadcastStopsAtTheFirstAnswer) {
  TForm form(nullptr);
  std::vector<TNotifiedBox*> boxes;
  for (LRESULT answer : {0, 5, 9}) {
    auto* b = new TNotifiedBox(&form);
    b->ButtonPressedAnswer = answer;
    b->SetParent(&form);
    boxes.push_back(b);
  }
  TMessage m{CM_BUTTONPRESSED, 3, reinterpret_cast<LPARAM>(boxes[0]), 0};
  form.Broadcast(m);
  EXPECT_EQ(m.Result, 5);
}

TEST_F(FormsTest, ParentReflectsItsChildsNotificationsBack) {
  TForm form(nullptr);
  auto* box = new TNotifiedBox(&form);
  box->SetParent(&form);
  box->SetColor(clRed);
  HWND child = box->Handle();

  EXPECT_EQ(SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(1, 0), reinterpret_cast<LPARAM>(child)), 7);
  WPARAM id = static_cast<WPARAM>(GetWindowLongA(child, GWL_ID));
  EXPECT_EQ(SendMessageA(form.Handle(), WM_DRAWITEM, id, 0), 7);
  EXPECT_EQ(box->Reflected, (std::vector<UINT>{CN_COMMAND, CN_DRAWITEM}));

  // Colour requests: the child's brush, text and background colours from its font and colour.
  HDC dc = GetDC(form.Handle());
  LRESULT brush =
      SendMessageA(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(box->Brush()->Handle()));
  EXPECT_EQ(GetBkColor(dc), ColorToRGB(clRed));
  EXPECT_EQ(GetTextColor(dc), ColorToRGB(box->Font()->Color()));
  ReleaseDC(form.Handle(), dc);
}

TEST_F(FormsTest, WindowProcCanBeReplacedAndChained) {
  TForm form(nullptr);
  auto* box = new TNotifiedBox(&form);
  box->SetParent(&form);
  std::vector<UINT> seen;
  auto inherited = box->WindowProc;
  box->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED) seen.push_back(m.Msg);
    inherited(m);
  };
  box->SetText("x");
  EXPECT_EQ(seen, (std::vector<UINT>{CM_TEXTCHANGED}));
  box->WindowProc = inherited;
}

TEST_F(FormsTest, RecreatingAWindowKeepsItsTextAndChildren) {
  TForm form(nullptr);
  auto* panel = new TNotifiedBox(&form);
  panel->SetParent(&form);
  auto* inner = new TNotifiedBox(&form);
  inner->SetParent(panel);
  panel->SetText("Tools");
  HWND before = panel->Handle();
  HWND innerBefore = inner->Handle();
  panel->RecreateWnd();
  EXPECT_FALSE(IsWindow(before));
  EXPECT_FALSE(IsWindow(innerBefore));
  EXPECT_TRUE(IsChild(panel->Handle(), inner->Handle()));
  char text[16] = {};
  GetWindowTextA(panel->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Tools");
  EXPECT_EQ(TWinControl::FindControl(inner->Handle()), inner);
}

TEST_F(FormsTest, ChildWithoutParentWindowCannotMakeItsWindow) {
  TNotifiedBox orphan(nullptr);
  orphan.SetName("orphan");
  try {
    orphan.HandleNeeded();
    FAIL() << "a window without parent";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "Control 'orphan' has no parent window");
  }
}
