#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

#include "host/display.h"
#include "host/testing/window_manager.h"
#include "host/testing/x_screenshot.h"
#include "host/testing/xvfb.h"

namespace {

TEST(SdlDisplay, AWindowShowsItsPixelsOnTheScreen) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  auto display = host::MakeSdlDisplay();
  ASSERT_TRUE(display) << "SDL2 could not open the video subsystem";
  EXPECT_TRUE(display->NeedsPolling());

  const int w = 40, h = 30, left = 50, top = 60;
  host::SurfaceId id = display->Open({left, top, w, h, true, false, false, "pixels"});
  ASSERT_NE(id, 0u);
  display->Show(id, true);
  // Left half red, right half blue, a green line across row 10.
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      pixels[static_cast<std::size_t>(y) * w + x] = y == 10 ? 0x00FF00 : x < w / 2 ? 0xFF0000 : 0x0000FF;

  host::Image shot;
  for (int attempt = 0; attempt < 40; ++attempt) {
    host::InputEvent e;
    while (display->Poll(e)) {
    }
    display->Present(id, w, h, pixels.data(), w);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    shot = XScreenShot(left, top, w, h);
    if (shot.pixels == pixels) break;
  }
  ASSERT_EQ(shot.width, w);
  EXPECT_EQ(shot.At(3, 3), 0xFF0000u);
  EXPECT_EQ(shot.At(w - 3, h - 3), 0x0000FFu);
  EXPECT_EQ(shot.At(7, 10), 0x00FF00u);
  EXPECT_EQ(display->Capture(id).pixels, pixels);
  display->Close(id);
}

// A square icon in one colour with a transparent corner.
host::Image Icon(int size, std::uint32_t argb) {
  host::Image icon;
  icon.width = icon.height = size;
  icon.pixels.assign(static_cast<std::size_t>(size * size), argb);
  icon.pixels[0] = 0;
  return icon;
}

// A main window and a message box of it: the window manager is told the box is a modal dialog
// in front of the main window, that neither may be resized or maximised, that only the main
// window may be minimised, and their icons in two sizes.
// A program on the desktop ends on SIGTERM as any other does.
TEST(SdlDisplay, TerminationSignalsStillEndTheProgram) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  for (int signal : {SIGTERM, SIGINT}) {
    const pid_t child = fork();
    if (child == 0) {
      auto display = host::MakeSdlDisplay();
      if (!display) _exit(2);
      display->Open({0, 0, 10, 10, true, false, false, "signalled"});
      std::raise(signal);
      _exit(0);  // the signal was swallowed
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
        << "signal " << signal << ": exit status " << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  }
}

// A fixed-size window that is given another size from outside (as a window manager may do when it
// moves it) takes its own size back, so no strip shows that the program never drew.
TEST(SdlDisplay, AFixedSizeWindowTakesItsSizeBack) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  auto display = host::MakeSdlDisplay();
  ASSERT_TRUE(display) << "SDL2 could not open the video subsystem";
  const host::SurfaceId id = display->Open({30, 30, 120, 80, false, false, false, "fixed size"});
  ASSERT_NE(id, 0u);
  display->Show(id, true);
  auto pump = [&](std::chrono::milliseconds span, auto done) {
    for (auto end = std::chrono::steady_clock::now() + span; std::chrono::steady_clock::now() < end && !done();) {
      host::InputEvent e;
      while (display->Poll(e)) {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  };
  xtest::XId window = 0;
  pump(std::chrono::seconds(5), [&] { return (window = xtest::FindByTitle("fixed size")) != 0; });
  ASSERT_NE(window, 0u);
  pump(std::chrono::milliseconds(300), [] { return false; });
  xtest::ResizeFromOutside(window, 120, 99);
  int width = 0, height = 0;
  pump(std::chrono::seconds(3),
       [&] { return xtest::WindowSize(window, width, height) && width == 120 && height == 80; });
  EXPECT_EQ(width, 120);
  EXPECT_EQ(height, 80);
  display->Close(id);
}

// Both windows mapped and, with a window manager, managed by it.
std::pair<xtest::XId, xtest::XId> WaitUntilManaged(host::Display& display, bool managed) {
  xtest::XId mainWindow = 0, boxWindow = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    host::InputEvent e;
    while (display.Poll(e)) {
    }
    mainWindow = xtest::FindByTitle("main window");
    boxWindow = xtest::FindByTitle("message box");
    if (mainWindow && boxWindow &&
        (!managed || (!xtest::Property(boxWindow, "_NET_WM_ALLOWED_ACTIONS").empty() &&
                      !xtest::Property(mainWindow, "_NET_WM_ALLOWED_ACTIONS").empty())))
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return {mainWindow, boxWindow};
}

// The Motif hints (functions, then the frame's parts): the minimise box only on the main window.
void ExpectMotifHints(xtest::XId mainWindow, xtest::XId boxWindow) {
  constexpr xtest::XId kMinimizeFunction = 8, kMinimizeButton = 32;
  constexpr xtest::XId kResizeOrMaximizeFunction = 2 | 16, kResizeOrMaximizeFrame = 4 | 64;
  const std::vector<xtest::XId> boxMotif = xtest::Property(boxWindow, "_MOTIF_WM_HINTS");
  const std::vector<xtest::XId> mainMotif = xtest::Property(mainWindow, "_MOTIF_WM_HINTS");
  ASSERT_EQ(boxMotif.size(), 5u);
  ASSERT_EQ(mainMotif.size(), 5u);
  EXPECT_EQ(boxMotif[0], 3u);
  EXPECT_EQ(boxMotif[1] & kMinimizeFunction, 0u);
  EXPECT_EQ(boxMotif[2] & kMinimizeButton, 0u);
  EXPECT_NE(mainMotif[1] & kMinimizeFunction, 0u);
  EXPECT_NE(mainMotif[2] & kMinimizeButton, 0u);
  EXPECT_EQ((boxMotif[1] | mainMotif[1]) & kResizeOrMaximizeFunction, 0u);
  EXPECT_EQ((boxMotif[2] | mainMotif[2]) & kResizeOrMaximizeFrame, 0u);
}

void ExpectIcons(xtest::XId mainWindow) {
  const std::vector<xtest::XId> icon = xtest::Property(mainWindow, "_NET_WM_ICON");
  ASSERT_EQ(icon.size(), 2u + 32 * 32 + 2u + 16 * 16);
  EXPECT_EQ(icon[0], 32u);
  EXPECT_EQ(icon[2], 0u);  // the transparent corner
  EXPECT_EQ(icon[3], 0xFFFF0000u);
  EXPECT_EQ(icon[2 + 32 * 32], 16u);
  EXPECT_EQ(icon[2 + 32 * 32 + 3], 0xFF0000FFu);
}

// What the window manager made of it: the buttons and actions it offers.
void ExpectAllowedActions(xtest::XId mainWindow, xtest::XId boxWindow) {
  const auto boxActions = xtest::Property(boxWindow, "_NET_WM_ALLOWED_ACTIONS");
  const auto mainActions = xtest::Property(mainWindow, "_NET_WM_ALLOWED_ACTIONS");
  for (const char* never : {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"}) {
    EXPECT_FALSE(xtest::HasAtom(boxActions, never)) << never;
    EXPECT_FALSE(xtest::HasAtom(mainActions, never)) << never;
  }
  EXPECT_TRUE(xtest::HasAtom(mainActions, "_NET_WM_ACTION_MINIMIZE"));
  EXPECT_TRUE(xtest::HasAtom(boxActions, "_NET_WM_ACTION_CLOSE"));
  EXPECT_TRUE(xtest::HasAtom(xtest::Property(boxWindow, "_NET_WM_STATE"), "_NET_WM_STATE_MODAL"));
}

TEST(SdlDisplay, TheWindowManagerLearnsDialogsOwnersAndIcons) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  ScopedWindowManager manager;
  auto display = host::MakeSdlDisplay();
  ASSERT_TRUE(display) << "SDL2 could not open the video subsystem";
  host::SurfaceDesc mainDesc{40, 40, 200, 150, false, false, false, "main window"};
  mainDesc.minimizable = true;
  const host::SurfaceId main = display->Open(mainDesc);
  ASSERT_NE(main, 0u);
  display->SetIcons(main, {Icon(32, 0xFFFF0000), Icon(16, 0xFF0000FF)});
  display->Show(main, true);
  host::SurfaceDesc boxDesc{80, 80, 120, 60, false, false, false, "message box"};
  boxDesc.dialog = true;
  boxDesc.owner = main;
  boxDesc.modal = true;
  const host::SurfaceId box = display->Open(boxDesc);
  ASSERT_NE(box, 0u);
  display->Show(box, true);
  EXPECT_TRUE(display->Described(box).dialog);
  EXPECT_EQ(display->Icons(main).size(), 2u);

  const auto [mainWindow, boxWindow] = WaitUntilManaged(*display, manager.Running());
  ASSERT_TRUE(mainWindow && boxWindow);

  EXPECT_TRUE(xtest::HasAtom(xtest::Property(boxWindow, "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_DIALOG"));
  EXPECT_TRUE(xtest::HasAtom(xtest::Property(mainWindow, "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_NORMAL"));
  EXPECT_EQ(xtest::TransientFor(boxWindow), mainWindow);
  EXPECT_NE(xtest::TransientFor(mainWindow), boxWindow);
  EXPECT_TRUE(xtest::FixedSize(boxWindow));
  EXPECT_TRUE(xtest::FixedSize(mainWindow));
  ExpectMotifHints(mainWindow, boxWindow);
  ExpectIcons(mainWindow);
  if (manager.Running()) {
    ExpectAllowedActions(mainWindow, boxWindow);
  } else {
    std::printf("no window manager (%s): only the window properties are checked\n", manager.Name().c_str());
  }
  display->Close(box);
  display->Close(main);
}

}  // namespace
