// What the window opens besides itself: the maker's web page through the shell, the help file's
// topics in the help window, and the full-screen preview shown modally by its button.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "composer/preview_form.h"
#include "composer_test_support.h"
#include "host/display.h"
#include "logo_form_fixture.h"
#include "host/testing/ppm.h"
#include "vcl/help.h"
#include "win32/machine.h"
#include "win32/testing/windows.h"

namespace {

class LogoFormWindowsTest : public LogoFormTest {
 protected:
  LogoFormWindowsTest() {
    const std::filesystem::path help = std::filesystem::path(TARNQUILL_PROGRAM).parent_path() / "tarnquill.hlp";
    Application->SetTitle("Tarnquill");
    Application->SetHelpFile(machine::WindowsPath(help));
  }
  ~LogoFormWindowsTest() override {
    if (!savedPath_.empty()) ::setenv("PATH", savedPath_.c_str(), 1);
  }

  // A PATH with only a stand-in for the host's opener that exits with `ExitCode`.
  void Opener(int ExitCode) {
    if (savedPath_.empty()) savedPath_ = ::getenv("PATH");
    const std::filesystem::path folder = root.Path() / "bin";
    std::filesystem::create_directories(folder);
    const std::filesystem::path script = folder / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << (root.Path() / "opened").string() << "'\nexit "
                          << ExitCode << "\n";
    ::chmod(script.c_str(), 0755);
    ::setenv("PATH", folder.c_str(), 1);
  }

  // The help window's title, empty when none is shown.
  static std::string HelpTitle() {
    auto* window = static_cast<TForm*>(Application->FindComponent("HelpWindow"));
    if (!window || !window->Visible()) return "";
    return static_cast<TLabel*>(window->FindComponent("TopicTitle"))->Caption();
  }

 private:
  std::string savedPath_;
};

TEST_F(LogoFormWindowsTest, TheWebPageOpensOrTheUserIsTold) {
  TfmLogo* form = MakeForm();
  Opener(0);
  form->laURLClick(form->laURL);
  EXPECT_EQ(ReadBytes(root.Path() / "opened"), std::string(kTarnquillWebPage) + "\n");
  EXPECT_TRUE(dialogs.Calls().empty());

  Opener(3);  // the opener cannot open it
  form->laURLClick(form->laURL);
  ASSERT_EQ(dialogs.Calls().size(), 1u);
  EXPECT_EQ(dialogs.Calls()[0].DlgType, mtError);
  EXPECT_NE(dialogs.Calls()[0].Text.find(kTarnquillWebPage), std::string::npos);
  FreeForm(form);
}

TEST_F(LogoFormWindowsTest, HelpShowsTheWindowsTopic) {
  TfmLogo* form = MakeForm();
  form->btHelpClick(form->btHelp);
  EXPECT_EQ(HelpTitle(), "Tarnquill");
  auto* text = static_cast<TLabel*>(Application->FindComponent("HelpWindow")->FindComponent("TopicText"));
  EXPECT_NE(text->Caption().find("Save logo now"), std::string::npos);
  FreeForm(form);
}

// The help text laid out at the window's own width, in a window the screen holds.
TEST_F(LogoFormWindowsTest, TheHelpWindowShowsItsTextAtItsOwnWidthOnTheScreen) {
  TfmLogo* form = MakeForm();
  form->btHelpClick(form->btHelp);
  auto* window = static_cast<TForm*>(Application->FindComponent("HelpWindow"));
  ASSERT_NE(window, nullptr);
  auto* pane = static_cast<TScrollBox*>(window->FindComponent("TopicPane"));
  auto* text = static_cast<TLabel*>(window->FindComponent("TopicText"));
  auto* close = static_cast<TButton*>(window->FindComponent("Close"));
  EXPECT_LE(window->Height(), Screen->Height());
  EXPECT_LE(window->Width(), Screen->Width());
  EXPECT_GT(text->Width(), pane->ClientWidth() * 3 / 4) << "wrapped at the pane's width";
  EXPECT_LE(text->Left() + text->Width(), pane->ClientWidth());
  EXPECT_GE(close->Top(), pane->Top() + pane->Height()) << "the button below the text";
  UpdateWindow(window->Handle());
  PumpMessages();
  if (const char* shot = std::getenv("STARTLOGO_HELP_SHOT")) WritePpm(CaptureWindow(window->Handle()), shot);
  InjectKey(VK_ESCAPE, true);
  InjectKey(VK_ESCAPE, false);
  PumpMessages();
  EXPECT_FALSE(window->Visible());
  FreeForm(form);
}

// Presses the Help button of the message showing now, then answers it.
void PressHelpThenOk(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  TCustomForm* message = Screen->ActiveForm();
  if (!message) return;
  if (auto* help = dynamic_cast<TButton*>(message->FindComponent("Help"))) help->Click();
  message->SetModalResult(mrOk);
}

TEST_F(LogoFormWindowsTest, TheLogoZeroWarningsHelpButtonExplainsTheSetting) {
  if (host::Unattended())
    GTEST_SKIP() << "the message is answered on standard error without STARTLOGO_DISPLAY=headless";
  WriteLines(root.DriveC() / "MSDOS.SYS", {"[Options]", "BootGUI=1", "Logo=0"});
  const TDialogHandler recorder = SetDialogHandler(nullptr);  // the real message, driven by a timer
  SetTimer(nullptr, 0, 1, PressHelpThenOk);
  TfmLogo* form = MakeForm();
  SetDialogHandler(recorder);
  EXPECT_EQ(HelpTitle(), "Startup logos and the LOGO=0 line of MSDOS.SYS");
  FreeForm(form);
}

struct TPreviewSeen {
  bool Shown = false;
  TRect Bounds{};
  int PictureWidth = 0, PictureHeight = 0;
  bool Topmost = false;
} gPreview;

// Notes what the modal preview shows, then clicks its picture as the user does.
void NoteAndClickPreview(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto* preview = dynamic_cast<TfmPreview*>(Screen->ActiveForm());
  if (!preview) return;
  gPreview.Shown = preview->Visible();
  gPreview.Bounds = preview->BoundsRect();
  gPreview.Topmost = (GetWindowLongA(preview->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (auto* picture = const_cast<TPixelGraphic*>(preview->Image->PixelGraphic())) {
    gPreview.PictureWidth = picture->GetWidth();
    gPreview.PictureHeight = picture->GetHeight();
  }
  const TPoint centre = preview->ClientToScreen({preview->ClientWidth() / 2, preview->ClientHeight() / 2});
  InjectMouseButton(host::InputEvent::Left, true, centre.x, centre.y);
  InjectMouseButton(host::InputEvent::Left, false, centre.x, centre.y);
}

TEST_F(LogoFormWindowsTest, ThePreviewButtonShowsTheLogoOverTheScreenUntilAClick) {
  TfmLogo* form = MakeForm();
  form->Show();
  PumpMessages();
  const int forms = Screen->FormCount();
  gPreview = {};
  SetTimer(nullptr, 0, 1, NoteAndClickPreview);
  form->btPreviewClick(form->btPreview);  // returns once the click closed it
  EXPECT_TRUE(gPreview.Shown);
  EXPECT_TRUE(gPreview.Topmost);
  EXPECT_EQ(gPreview.Bounds.left, 0);
  EXPECT_EQ(gPreview.Bounds.top, 0);
  EXPECT_EQ(gPreview.Bounds.right, Screen->Width());
  EXPECT_EQ(gPreview.Bounds.bottom, Screen->Height());
  EXPECT_EQ(gPreview.PictureWidth, 640);
  EXPECT_EQ(gPreview.PictureHeight, 400);
  EXPECT_EQ(Screen->FormCount(), forms) << "the preview is freed";
  FreeForm(form);
}

}  // namespace
