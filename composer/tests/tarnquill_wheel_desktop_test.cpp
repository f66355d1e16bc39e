// The mouse wheel in Tarnquill's lists on a desktop with a window manager, turned with real X input
// (buttons 4 and 5, as a wheel mouse gives them): the joke file list scrolls three files a notch
// once the user has clicked into it, and the font list of an open font combo box scrolls.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>

#include "host/testing/desktop_test.h"
#include "host/testing/x_screenshot.h"
#include "tarnquill_desktop.h"
#include "win32/testing/machine_root.h"

namespace {

// Where things are in the window's client area: the joke file list (its outer edge; rows of
// kJokeRow pixels inside a two-pixel border, a scroll bar on the right), the "Q" tab and the arrow
// of its "Font Name" box with the font name shown left of it.
constexpr int kJokeListX = 12, kJokeListY = 52, kJokeListWidth = 236, kJokeListHeight = 200;
constexpr int kJokeRow = 18, kListBorder = 2, kScrollBarWidth = 16;
constexpr int kQuestionTabX = 85, kQuestionTabY = 15;
constexpr int kFontArrowX = 164, kFontArrowY = 59;
constexpr int kFontNameX = 14, kFontNameY = 52, kFontNameWidth = 130, kFontNameHeight = 14;
constexpr int kFontListRows = 8;  // the rows an open combo box shows when it has more items
constexpr int kLinesPerNotch = 3;  // the system's wheel setting
constexpr int kPopUpLeast = 40;
constexpr int kJokeFiles = 25;  // with the three of the build, the list holds more than twice its rows

// Tarnquill's folder for this test: the program (linked, else copied) and more joke files than its
// list shows.
std::filesystem::path FolderWithManyJokes(const std::filesystem::path& root) {
  const std::filesystem::path folder = root / "tarnquill";
  std::filesystem::create_directories(folder);
  const std::filesystem::path built = TARNQUILL_PROGRAM;
  std::error_code ec;
  std::filesystem::create_hard_link(built, folder / "tarnquill", ec);
  if (ec) std::filesystem::copy_file(built, folder / "tarnquill");
  const std::filesystem::path jokes = COMPOSER_JOKES_DIR;
  for (const char* name : {"one-liners.txt", "questions.txt", "stories.txt"})
    std::filesystem::copy_file(jokes / name, folder / name);
  for (int i = 1; i <= kJokeFiles; ++i) {
    const std::string name = "joke" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".txt";
    std::filesystem::copy_file(jokes / "one-liners.txt", folder / name);
  }
  return folder / "tarnquill";
}

struct Area {
  int x, y, width, height;
};

host::Image Shot(const Area& a) { return XScreenShot(a.x, a.y, a.width, a.height); }

// Whether `after` shows the rows of `before` moved up by `shift` pixels.
bool MovedUp(const host::Image& before, const host::Image& after, int shift) {
  if (before.width != after.width || before.height != after.height || shift <= 0 || shift >= before.height)
    return false;
  for (int y = 0; y + shift < before.height; ++y)
    for (int x = 0; x < before.width; ++x)
      if (after.At(x, y) != before.At(x, y + shift)) return false;
  return true;
}

bool Same(const host::Image& a, const host::Image& b) { return a.pixels == b.pixels; }

class TarnquillWheelTest : public DesktopTest {
 protected:
  ScopedMachineRoot root_;
};

TEST_F(TarnquillWheelTest, TheJokeListScrollsThreeFilesANotchOnceClickedInto) {
  Tarnquill program(FolderWithManyJokes(root_.Path()).string());
  const Spot client = program.Client();
  ASSERT_NE(client.x, -1) << "the window manager did not take the window";
  // The rows that show whole, left of the scroll bar.
  constexpr int kWholeRows = (kJokeListHeight - 2 * kListBorder) / kJokeRow;
  const Area rows{client.x + kJokeListX + kListBorder, client.y + kJokeListY + kListBorder,
                  kJokeListWidth - 2 * kListBorder - kScrollBarWidth, kWholeRows * kJokeRow};
  const int secondRowY = rows.y + kJokeRow + kJokeRow / 2;
  RealInput("mousemove " + At(rows.x + 30, secondRowY) + " click 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const host::Image before = Shot(rows);
  RealInput("click 5");
  EXPECT_TRUE(WaitFor(std::chrono::seconds(3), [&] { return MovedUp(before, Shot(rows), kLinesPerNotch * kJokeRow); }))
      << "one notch towards the user scrolls three files down";
  RealInput("click 5");
  EXPECT_TRUE(
      WaitFor(std::chrono::seconds(3), [&] { return MovedUp(before, Shot(rows), 2 * kLinesPerNotch * kJokeRow); }));
  RealInput("click 4 click 4");
  EXPECT_TRUE(WaitFor(std::chrono::seconds(3), [&] { return Same(before, Shot(rows)); })) << "and back up";
}

TEST_F(TarnquillWheelTest, AnOpenFontListScrollsAndTheBoxKeepsItsFont) {
  Tarnquill program;
  const Spot client = program.Client();
  ASSERT_NE(client.x, -1) << "the window manager did not take the window";
  const Area field{client.x + kFontNameX, client.y + kFontNameY, kFontNameWidth, kFontNameHeight};
  RealInput("mousemove " + At(client.x + kQuestionTabX, client.y + kQuestionTabY) + " click 1 sleep 0.5");
  Area list{};
  const auto opened = [&] { return xtest::FrontPopUp(kPopUpLeast, list.x, list.y, list.width, list.height); };
  RealInput("mousemove " + At(client.x + kFontArrowX, client.y + kFontArrowY) + " click 1");
  ASSERT_TRUE(WaitFor(std::chrono::seconds(3), opened)) << "the font list did not open at the first click";
  const int row = (list.height - 2) / kFontListRows;
  const Area rows{list.x + 1, list.y + 1, list.width - 2 - kScrollBarWidth, kFontListRows * row};
  RealInput("mousemove " + At(rows.x + 20, rows.y + rows.height / 2));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const host::Image before = Shot(rows), fieldBefore = Shot(field);

  RealInput("click 5");
  // As many fonts as the desktop has: three rows when there are enough below.
  int moved = 0;
  WaitFor(std::chrono::seconds(3), [&] {
    const host::Image now = Shot(rows);
    for (int lines = kLinesPerNotch; lines > 0 && !moved; --lines)
      if (MovedUp(before, now, lines * row)) moved = lines;
    return moved != 0;
  });
  EXPECT_GT(moved, 0) << "the open list did not scroll";
  EXPECT_TRUE(Same(fieldBefore, Shot(field))) << "scrolling the open list chooses nothing";
  RealInput("key Escape");
}

}  // namespace
