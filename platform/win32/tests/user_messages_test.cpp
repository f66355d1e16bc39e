#include <atomic>
#include <chrono>
#include <thread>

#include "user_test_support.h"

namespace {

using namespace std::chrono_literals;

class UserMessages : public UserTest {};

TEST_F(UserMessages, SentThenPostedThenPaintThenTimer) {
  HWND w = Top(10, 10, 50, 50);
  UpdateWindow(w);
  SetTimer(w, 7, 10, nullptr);
  PostMessageA(w, WM_USER, 0, 0);
  InvalidateRect(w, nullptr, TRUE);
  std::atomic<LRESULT> sent{-1};
  answer = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    r = 42;
    return m == WM_USER + 5;
  };
  std::thread other([&] { sent = SendMessageA(w, WM_USER + 5, 0, 0); });
  ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_SENDMESSAGE), WAIT_OBJECT_0);
  std::this_thread::sleep_for(30ms);  // the timer is due as well
  log.clear();
  MSG m;
  for (int i = 0; i < 3 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&m);
  other.join();
  KillTimer(w, 7);
  EXPECT_EQ(sent.load(), 42);
  EXPECT_EQ(Messages(w, {WM_USER + 5, WM_USER, WM_PAINT, WM_TIMER}),
            (std::vector<UINT>{WM_USER + 5, WM_USER, WM_PAINT, WM_TIMER}));
}

// A window on a worker thread: the main thread sends to it, and while it waits it answers what
// the worker sends back; the worker posts to the main window and ends on a posted WM_QUIT.
TEST_F(UserMessages, AcrossThreadsPostAndSendBothWays) {
  HWND mine = Top(0, 0, 20, 20);
  answer = [](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
    r = static_cast<LRESULT>(wp) + 1000;
    return m == WM_USER + 2;
  };
  std::atomic<HWND> theirs{nullptr};
  std::atomic<DWORD> theirThread{0};
  std::thread worker([&] {
    HWND w = CreateWindowExA(0, kPlain, "worker", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
                     if (m == WM_USER + 1) return SendMessageA(reinterpret_cast<HWND>(lp), WM_USER + 2, wp * 2, 0);
                     return DefWindowProcA(h, m, wp, lp);
                   }));
    theirThread = GetCurrentThreadId();
    theirs = w;
    PostMessageA(reinterpret_cast<HWND>(mine), WM_USER + 3, 99, 0);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    DestroyWindow(w);
  });
  while (!theirs) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(GetWindowThreadProcessId(theirs, nullptr), theirThread.load());
  EXPECT_EQ(SendMessageA(theirs, WM_USER + 1, 21, reinterpret_cast<LPARAM>(mine)), 1042);
  MSG m;
  ASSERT_TRUE(GetMessageA(&m, mine, WM_USER + 3, WM_USER + 3));
  EXPECT_EQ(m.wParam, 99u);
  EXPECT_TRUE(PostThreadMessageA(theirThread, WM_QUIT, 0, 0));
  worker.join();
  EXPECT_FALSE(IsWindow(theirs));
  EXPECT_EQ(SendMessageA(theirs, WM_USER + 1, 0, 0), 0);
}

std::atomic<int> gFreed{0};
void FreeInt(LPARAM p) {
  delete reinterpret_cast<int*>(p);
  ++gFreed;
}

TEST_F(UserMessages, OwnedPayloadIsFreedWhenNeverDelivered) {
  struct Case {
    const char* name;
    bool destroyBeforeReading;
    bool postToDeadWindow;
    bool fromWorker;
    int freed;
    int delivered;
  };
  const Case cases[] = {
      {"delivered", false, false, false, 0, 1},
      {"window destroyed while queued", true, false, false, 1, 0},
      {"posted to a window already gone", false, true, false, 1, 0},
      {"posted by a worker, window destroyed", true, false, true, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gFreed = 0;
    HWND w = Top(0, 0, 10, 10, WS_POPUP);
    if (c.postToDeadWindow) DestroyWindow(w);
    auto post = [&] { return PostOwnedMessage(w, WM_USER, 0, reinterpret_cast<LPARAM>(new int(5)), FreeInt); };
    BOOL posted;
    if (c.fromWorker) {
      std::thread t([&] { posted = post(); });
      t.join();
    } else {
      posted = post();
    }
    EXPECT_EQ(posted, c.postToDeadWindow ? FALSE : TRUE);
    if (c.destroyBeforeReading) DestroyWindow(w);
    int delivered = 0;
    answer = [&](HWND, UINT m, WPARAM, LPARAM lp, LRESULT&) {
      if (m == WM_USER) {
        ++delivered;
        delete reinterpret_cast<int*>(lp);  // the window owns it now
      }
      return false;
    };
    PumpMessages();
    answer = nullptr;
    EXPECT_EQ(gFreed.load(), c.freed);
    EXPECT_EQ(delivered, c.delivered);
    if (IsWindow(w)) DestroyWindow(w);
  }
}

TEST_F(UserMessages, DispatchToAWindowGoneSinceReadingFreesThePayload) {
  gFreed = 0;
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  PostOwnedMessage(w, WM_USER, 0, reinterpret_cast<LPARAM>(new int(1)), FreeInt);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, w, WM_USER, WM_USER, PM_REMOVE));
  DestroyWindow(w);
  DispatchMessageA(&m);
  EXPECT_EQ(gFreed.load(), 1);
}

int TimerTicks(HWND w, std::chrono::milliseconds during) {
  int ticks = 0;
  auto end = std::chrono::steady_clock::now() + during;
  MSG m;
  while (std::chrono::steady_clock::now() < end) {
    while (PeekMessageA(&m, w, WM_TIMER, WM_TIMER, PM_REMOVE)) ++ticks;
    std::this_thread::sleep_for(2ms);
  }
  return ticks;
}

TEST_F(UserMessages, ATimerSetAgainRestartsItsInterval) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  SetTimer(w, 1, 300, nullptr);
  EXPECT_EQ(TimerTicks(w, 200ms), 0);
  SetTimer(w, 1, 300, nullptr);  // 200 ms gone: restarting puts the tick 300 ms from now
  EXPECT_EQ(TimerTicks(w, 200ms), 0);
  EXPECT_EQ(TimerTicks(w, 250ms), 1);
  EXPECT_TRUE(KillTimer(w, 1));
  EXPECT_FALSE(KillTimer(w, 1));
  EXPECT_EQ(TimerTicks(w, 350ms), 0);
}

std::atomic<int> gTimerCalls{0};

TEST_F(UserMessages, ThreadTimerCallsItsProcedureOnDispatch) {
  gTimerCalls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 10, [](HWND, UINT m, UINT_PTR, DWORD) { gTimerCalls += m == WM_TIMER; });
  ASSERT_NE(id, 0u);
  MSG m;
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, WM_TIMER);
  DispatchMessageA(&m);
  EXPECT_EQ(gTimerCalls.load(), 1);
  EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(UserMessages, MsgWaitTimesOutAndSeesSignalsAndPosts) {
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT), WAIT_TIMEOUT);
  HANDLE done = CreateWaitableSignal();
  std::thread t([&] {
    std::this_thread::sleep_for(20ms);
    SetWaitableSignal(done);
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &done, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0);
  t.join();
  ResetWaitableSignal(done);
  PostMessageA(nullptr, WM_USER, 0, 0);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &done, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
  CloseWaitableSignal(done);
}

TEST_F(UserMessages, GetMessageEndsOnQuitAfterPostedMessages) {
  PostQuitMessage(3);
  PostMessageA(nullptr, WM_USER, 0, 0);
  MSG m;
  EXPECT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, WM_USER);
  EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 3u);
}

TEST_F(UserMessages, SubclassingThroughTheWindowProcedureLong) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  static WNDPROC previous;
  previous = reinterpret_cast<WNDPROC>(
      SetWindowLongA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
                       return m == WM_USER ? 7 : CallWindowProcA(previous, h, m, wp, lp);
                     })));
  EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 7);
  SetWindowTextA(w, "renamed");  // the old procedure still handles the rest
  char text[16];
  EXPECT_EQ(GetWindowTextA(w, text, sizeof text), 7);
  EXPECT_STREQ(text, "renamed");
  EXPECT_EQ(Messages(w, {WM_SETTEXT}).size(), 1u);
}

}  // namespace

TEST(MessageBeepHook, CountsEveryCall) {
  const int before = MessageBeepCount();
  MessageBeep(0);
  MessageBeep(MB_ICONEXCLAMATION);
  EXPECT_EQ(MessageBeepCount(), before + 2);
}
