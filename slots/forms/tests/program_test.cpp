// Corvane run through its program entry, driven by input given to the display as the user's: a
// JPEG and a logo-layout bitmap swapped into the wait slot, a backup made between them, and the
// backup restored.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "corvane/program.h"
#include "corvane_fixture.h"
#include "host/testing/child_process.h"
#include "host/testing/silent_display.h"
#include "jpeg_file_writer.h"
#include "slots/slot_settings.h"
#include "win32/testing/windows.h"
#include "host/testing/outside_tools.h"
#include "host/testing/time_limits.h"

namespace {

using slot_test::BitmapBytes;
using slot_test::ReadFile;
using slot_test::WriteFile;

void Click(TControl* control, int x, int y) {
  const TPoint at = control->ClientToScreen({x, y});
  InjectMouseButton(host::InputEvent::Left, true, at.x, at.y);
  InjectMouseButton(host::InputEvent::Left, false, at.x, at.y);
}
void ClickMiddle(TControl* control) { Click(control, control->Width() / 2, control->Height() / 2); }

// The user's steps, one at a time from a timer of the program's own thread: each waits until
// the windows show what it needs, then gives its input.
struct TScript {
  struct TStep {
    const char* Name;
    std::function<bool()> Ready;
    std::function<void()> Act;
  };
  std::vector<TStep> Steps;
  std::size_t Next = 0;
  std::chrono::steady_clock::time_point Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::string Stuck;

  static TScript* Running;
  static void Tick(HWND, UINT, UINT_PTR, DWORD) {
    TScript& s = *Running;
    if (!FMain) return;
    if (s.Next == s.Steps.size()) return;
    if (std::chrono::steady_clock::now() > s.Deadline) {
      s.Stuck = s.Steps[s.Next].Name;
      s.Next = s.Steps.size();
      if (FSwap && FSwap->Visible()) FSwap->Close();
      InjectClose(FMain->Handle());
      return;
    }
    if (!s.Steps[s.Next].Ready()) return;
    s.Steps[s.Next++].Act();
  }
};
TScript* TScript::Running = nullptr;

class ProgramTest : public CorvaneTest {};

TEST_F(ProgramTest, AJpegAndALogoAreSwappedIntoTheWaitSlotAndTheBackupRestored) {
  WriteLogos();
  // Large enough for the resampling to share its bands with helper threads.
  WriteFile(std::string(slot_test::kStartDir) + "\\photo.jpg", WriteJpeg({.width = 1600, .height = 1200}));
  const std::vector<std::uint8_t> logo = BitmapBytes({}, 6);
  WriteFile(std::string(slot_test::kStartDir) + "\\logo.bmp", logo);
  WriteSlotSettings({slot_test::kStartDir, 8, 40, 40});  // every picture in the list
  const std::string wait = Logo(lsWait);
  answers = {IDNO};  // the restore copies the backup over the logo

  const auto swapDialogShown = [] { return FSwap && FSwap->Visible(); };
  const auto pick = [](int item) {
    return [item] {
      const TRect r = FSwap->lbFile->ItemRect(item);
      Click(FSwap->lbFile, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
  };
  const auto okayEnabled = [] { return FSwap->btOK->Enabled() && !FSwap->tmLoad->Enabled(); };
  // The status bar also shows the hints of the controls under the mouse: the files tell.
  const std::vector<std::uint8_t> before = ReadFile(wait);
  std::vector<std::uint8_t> swappedJpeg;
  const auto closed = [] { return !FSwap->Visible() && !FSwap->tmSave->Enabled(); };
  TScript script;
  script.Steps = {
      {"the Wait tab", [] { return FMain->Visible(); },
       [] {
         const TRect r = FMain->PageControl1->TabRect(1);
         Click(FMain->PageControl1, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
       }},
      {"Swap !", [] { return FMain->PageControl1->ActivePage() == FMain->TabSheet2; },
       [] { ClickMiddle(FMain->btSwap2); }},
      {"the photograph", [&] { return swapDialogShown() && FSwap->lbFile->Items()->Count() == 2; }, pick(1)},
      {"Okay for the photograph", okayEnabled, [] { ClickMiddle(FSwap->btOK); }},
      {"Backup", [&] { return closed() && ReadFile(wait) != before; },
       [&] {
         swappedJpeg = ReadFile(Logo(lsWait));
         ClickMiddle(FMain->btBack2);
       }},
      {"Swap ! again", [] { return FMain->btRest2->Enabled(); }, [] { ClickMiddle(FMain->btSwap2); }},
      {"the logo", [&] { return swapDialogShown(); }, pick(0)},
      {"Okay for the logo", [&] { return okayEnabled() && FSwap->Label1->Caption() == "320 x 400"; },
       [] { ClickMiddle(FSwap->btOK); }},
      {"Restore", [&] { return closed() && ReadFile(wait) == logo; }, [&] { ClickMiddle(FMain->btRest2); }},
      {"closing", [&] { return ReadFile(wait) == swappedJpeg; }, [] { InjectClose(FMain->Handle()); }},
  };
  TScript::Running = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &TScript::Tick);
  char name[] = "corvane";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(CorvaneMain(1, argv), 0);
  KillTimer(nullptr, timer);
  EXPECT_EQ(script.Stuck, "") << "the script waited in vain";
  ASSERT_EQ(script.Next, script.Steps.size());

  ASSERT_EQ(swappedJpeg.size(), 129078u);
  EXPECT_EQ(swappedJpeg[14], 40);  // the 40-byte header
  EXPECT_EQ(swappedJpeg[28], 8);  // 8 bits per pixel
  EXPECT_EQ(ReadFile(Backup(lsWait)), swappedJpeg);
  EXPECT_EQ(ReadFile(wait), swappedJpeg) << "the backup restored";
  EXPECT_EQ(asked, (std::vector<std::string>{"Make a switch?: Do you wish to make a backup of the current logo?"}));
  // The main window's close kept the dialog's folder and filter.
  const TSlotSettings stored = ReadSlotSettings("unused", 0, 0);
  EXPECT_EQ(stored.LastUsedIndex, 8);
  EXPECT_EQ(stored.LastUsedDir, slot_test::kStartDir);
  if (HaveTool("identify")) {
    WriteFile("C:\\swapped.bmp", swappedJpeg);
    const std::string host = machine::HostPath("C:\\swapped.bmp").string();
    EXPECT_EQ(ToolOutput("identify -format '%m %w %h %r %z' 'bmp:" + host + "'"), "BMP3 320 400 PseudoClass sRGB  8");
  }
}

// Started with no desktop, the window says so and ends at once, touching no slot.
TEST_F(ProgramTest, WithoutADesktopTheWindowEndsAtOnceAndSaysWhy) {
  WriteLogos();
  const std::string wait = Logo(lsWait);
  const std::vector<std::uint8_t> before = ReadFile(wait);
  const ChildRun run = RunWithoutDesktop({CORVANE_PROGRAM}, root.Path() / "stderr.txt", kHungChildSeconds);
  EXPECT_EQ(run.Status, kNoDesktopExitCode) << run.Errors;
  EXPECT_LT(run.Seconds, BuildSeconds(2));
  EXPECT_EQ(run.Errors.rfind("corvane: no desktop to show its window on (DISPLAY and WAYLAND_DISPLAY are not set)", 0),
            0u)
      << run.Errors;
  EXPECT_NE(run.Errors.find("\"tarnquill /AUTO\""), std::string::npos) << run.Errors;
  EXPECT_EQ(ReadFile(wait), before);
}

// A desktop named by DISPLAY that does not answer, hung or gone, is no desktop: the window says
// which one and ends, touching no slot.
TEST_F(ProgramTest, AtADesktopThatDoesNotAnswerTheWindowEndsSayingWhich) {
  WriteLogos();
  const std::vector<std::uint8_t> before = ReadFile(Logo(lsWait));
  const struct {
    SilentDisplay::At at;
    const char* reason;
  } cases[] = {{SilentDisplay::At::Listening, "did not answer within 3 s"},
               {SilentDisplay::At::Nothing, "could not be opened"}};
  for (const auto& c : cases) {
    const SilentDisplay display(c.at);
    ASSERT_NE(display.Name(), "") << "no free display number";
    const ChildRun run = RunOnDisplay(display.Name(), {CORVANE_PROGRAM}, root.Path() / "stderr.txt", kHungChildSeconds);
    EXPECT_EQ(run.Status, kNoDesktopExitCode) << run.Errors;
    EXPECT_LT(run.Seconds, BuildSeconds(5));
    EXPECT_EQ(run.Errors.rfind("corvane: no desktop to show its window on (the desktop at DISPLAY=" + display.Name() +
                                   " " + c.reason + ")",
                               0),
              0u)
        << run.Errors;
  }
  EXPECT_EQ(ReadFile(Logo(lsWait)), before);
}

}  // namespace
