// The message form of the dialog service, driven by keys and mouse clicks and read back in pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "comctrls_golden.h"
#include "forms_fixture.h"
#include "vcl/dialogs.h"
#include "vcl/extctrls.h"
#include "vcl/stdctrls.h"
#include "win32/testing/windows.h"

namespace {

constexpr int kMargin = 12;

class MessageFormTest : public FormsTest {
 protected:
  MessageFormTest() { Application->SetTitle("Tarnquill"); }

  static std::vector<TButton*> ButtonsOf(TForm* form) {
    std::vector<TButton*> buttons;
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* b = dynamic_cast<TButton*>(form->Components(i))) buttons.push_back(b);
    return buttons;
  }

  // Presses the keys (down and up) once the form is up, and returns the modal result.
  static TModalResult Answer(TForm* form, std::vector<int> keys) {
    for (int key : keys) {
      InjectKey(key, true);
      InjectKey(key, false);
    }
    return form->ShowModal();
  }

  // Clicks the named buttons in turn once the form shows, and returns the modal result.
  static TModalResult Click(TForm* form, std::vector<std::string> names) {
    form->OnShow = [form, names](TObject*) {
      for (const std::string& name : names) {
        auto* button = static_cast<TButton*>(form->FindComponent(name));
        const TPoint p = button->ClientToScreen({5, 5});
        InjectMouseMove(p.x, p.y);
        InjectMouseButton(host::InputEvent::Left, true, p.x, p.y);
        InjectMouseButton(host::InputEvent::Left, false, p.x, p.y);
      }
    };
    return form->ShowModal();
  }
};

TEST_F(MessageFormTest, ButtonSetsShowTheirButtonsInOrderWithTheirDefaultAndCancelKeys) {
  struct TCase {
    TMsgDlgButtons Buttons;
    std::vector<std::string> Captions;  // left to right
    TModalResult OnReturn;
    TModalResult OnEscape;  // mrNone: Escape does nothing (Return then answers)
  };
  const TCase cases[] = {
      {{mbOK}, {"OK"}, mrOk, mrOk},
      {{mbOK, mbCancel}, {"OK", "Cancel"}, mrOk, mrCancel},
      {{mbYes, mbNo}, {"&Yes", "&No"}, mrYes, mrNo},
      {{mbYes, mbNo, mbCancel}, {"&Yes", "&No", "Cancel"}, mrYes, mrCancel},
      {{mbAbort, mbRetry, mbIgnore}, {"&Abort", "&Retry", "&Ignore"}, mrAbort, mrNone},
      {{mbRetry, mbCancel, mbHelp}, {"Cancel", "&Retry", "&Help"}, mrCancel, mrCancel},
      {{mbYes, mbOK}, {"&Yes", "OK"}, mrOk, mrOk},
      {{mbAll, mbCancel, mbNo, mbYes}, {"&Yes", "&No", "Cancel", "&All"}, mrYes, mrCancel},
      {{mbIgnore, mbAll}, {"&Ignore", "&All"}, mrIgnore, mrNone},
      {{}, {"OK"}, mrOk, mrOk},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Captions.front() + " .. " + c.Captions.back());
    std::unique_ptr<TForm> form(CreateMessageDialog("Go on?", mtConfirmation, c.Buttons));
    std::vector<std::string> captions;
    int lastRight = -1;
    for (TButton* b : ButtonsOf(form.get())) {
      captions.push_back(b->Caption());
      EXPECT_GT(b->Left(), lastRight);
      lastRight = b->Left() + b->Width();
    }
    EXPECT_EQ(captions, c.Captions);
    const std::vector<TButton*> buttons = ButtonsOf(form.get());
    EXPECT_NEAR(buttons.front()->Left() + lastRight, form->ClientWidth(), 1) << "centred";
    EXPECT_EQ(Answer(form.get(), {VK_RETURN}), c.OnReturn);
    EXPECT_EQ(Answer(form.get(), {VK_ESCAPE, VK_RETURN}), c.OnEscape == mrNone ? c.OnReturn : c.OnEscape);
  }
}

TEST_F(MessageFormTest, EachButtonClickedGivesItsModalResult) {
  const struct {
    const char* Name;
    TModalResult Result;
  } cases[] = {{"Yes", mrYes},     {"No", mrNo},       {"OK", mrOk},         {"Cancel", mrCancel},
               {"Abort", mrAbort}, {"Retry", mrRetry}, {"Ignore", mrIgnore}, {"All", mrAll}};
  const TMsgDlgButtons all{mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TForm> form(CreateMessageDialog("Which?", mtCustom, all));
    EXPECT_EQ(Click(form.get(), {c.Name}), c.Result);
  }
}

TEST_F(MessageFormTest, HelpAsksTheApplicationForHelpAndLeavesTheDialogOpen) {
  std::unique_ptr<TForm> form(CreateMessageDialog("Replace the logo?", mtWarning, {mbYes, mbNo, mbHelp}));
  auto* help = static_cast<TButton*>(form->FindComponent("Help"));
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->ModalResult(), mrNone);
  EXPECT_EQ(Click(form.get(), {"Help", "No"}), mrNo);
  const std::vector<TDialogRequest> asked = TakeDialogs();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Text, "Help is not available.");
  EXPECT_EQ(asked[0].Caption, "Tarnquill");
}

TEST_F(MessageFormTest, TheTypesIconStandsAtTheMarginWithTheTextBesideIt) {
  const struct {
    TMsgDlgType Type;
    const char* Caption;
    LPCSTR Icon;
  } cases[] = {{mtWarning, "Warning", IDI_EXCLAMATION},
               {mtError, "Error", IDI_HAND},
               {mtInformation, "Information", IDI_ASTERISK},
               {mtConfirmation, "Confirm", IDI_QUESTION},
               {mtCustom, "Tarnquill", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Caption);
    std::unique_ptr<TForm> form(CreateMessageDialog("Text", c.Type, {mbOK}));
    EXPECT_EQ(form->Caption(), c.Caption);
    form->Show();
    PumpMessages();
    auto* message = static_cast<TLabel*>(form->FindComponent("Message"));
    ASSERT_NE(message, nullptr);
    const host::Image shown = CropImage(CaptureClient(form->Handle()), kMargin, kMargin, 32, 32);
    if (c.Icon) {
      EXPECT_EQ(shown.pixels, IconOverButtonFace(LoadIconA(nullptr, c.Icon)).pixels);
      EXPECT_EQ(message->Left(), kMargin + 32 + kMargin);
      continue;
    }
    int iconColoured = 0;
    for (std::uint32_t pixel : shown.pixels)
      for (std::uint32_t iconColour : {0xFF0000u, 0xFFFF00u, 0x0000FFu}) iconColoured += pixel == iconColour;
    EXPECT_EQ(form->FindComponent("Image"), nullptr);
    EXPECT_EQ(iconColoured, 0);
    EXPECT_EQ(message->Left(), kMargin);
  }
}

TEST_F(MessageFormTest, LongTextWrapsAndTheDialogGrows) {
  std::unique_ptr<TForm> shortForm(CreateMessageDialog("Done.", mtInformation, {mbOK}));
  std::string words;
  for (int i = 0; i < 40; ++i) words += "picture ";
  const struct {
    const char* Name;
    std::string Text;
    int MinLines;
  } cases[] = {{"long text", words, 4}, {"carriage returns", "First line.\r\rThird line.", 3}};
  auto* shortMessage = static_cast<TLabel*>(shortForm->FindComponent("Message"));
  const int line = shortMessage->Height();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TForm> form(CreateMessageDialog(c.Text, mtInformation, {mbOK}));
    auto* message = static_cast<TLabel*>(form->FindComponent("Message"));
    EXPECT_GE(message->Height(), c.MinLines * line);
    EXPECT_LE(message->Width(), 360);
    EXPECT_EQ(form->Height() - shortForm->Height(), message->Height() - 32);  // the icon set the short one's height
    const TButton* ok = ButtonsOf(form.get()).front();
    EXPECT_GE(ok->Top(), message->Top() + message->Height() + kMargin);
    EXPECT_EQ(form->ClientHeight(), ok->Top() + ok->Height() + kMargin);
  }
}

// Where the form showing now stands; then Return answers it.
TRect gShownAt;
void NoteAndAnswer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (TCustomForm* form = Screen->ActiveForm()) gShownAt = form->BoundsRect();
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(MessageFormTest, WithoutAHandlerMessageDlgShowsTheFormCentredOrWhereAsked) {
  const TDialogHandler recorder = SetDialogHandler(nullptr);
  const int forms = Screen->FormCount();
  const struct {
    const char* Name;
    int X, Y;
    TMsgDlgButtons Buttons;
    TModalResult Result;
  } cases[] = {{"centred", -1, -1, {mbYes, mbNo}, mrYes},
               {"placed", 30, 40, {mbOK, mbAll}, mrOk},
               {"placed across", 30, -1, {mbAll, mbHelp}, mrAll}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    gShownAt = {};
    SetTimer(nullptr, 0, 1, NoteAndAnswer);
    EXPECT_EQ(MessageDlgPos("Save the logo?", mtConfirmation, c.Buttons, 0, c.X, c.Y), c.Result);
    const int width = gShownAt.right - gShownAt.left, height = gShownAt.bottom - gShownAt.top;
    EXPECT_EQ(gShownAt.left, c.X >= 0 ? c.X : (Screen->Width() - width) / 2);
    EXPECT_EQ(gShownAt.top, c.Y >= 0 ? c.Y : (Screen->Height() - height) / 2);
  }
  EXPECT_EQ(Screen->FormCount(), forms) << "the dialog is freed";
  SetDialogHandler(recorder);
}

TEST_F(MessageFormTest, GoldenPictureOfAConfirmation) {
  const char* text =
      "The picture in the slot was changed since it was last saved. Do you wish to keep a copy of it before it "
      "is replaced?";
  std::unique_ptr<TForm> form(CreateMessageDialog(text, mtConfirmation, {mbYes, mbNo, mbCancel}));
  form->SetBounds(20, 20, form->Width(), form->Height());
  form->Show();
  PumpMessages();
  ExpectMatchesGolden(CaptureWindow(form->Handle()), "message_dialog_confirm");
}

}  // namespace
