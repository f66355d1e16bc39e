#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "vcl/threads.h"
#include "win32/user.h"

namespace {

using namespace std::chrono_literals;

// A thread running a function; created suspended and resumed once constructed, and ended in its
// own destructor, as the header asks of descendants.
class TFnThread : public TThread {
 public:
  using TBody = std::function<void(TFnThread&)>;
  explicit TFnThread(TBody body, bool suspended = false) : TThread(true), body_(std::move(body)) {
    if (!suspended) Resume();
  }
  ~TFnThread() override {
    if (FreeOnTerminate()) return;
    Terminate();
    while (Suspended()) Resume();
    WaitFor();
  }
  using TThread::ReturnValue;
  using TThread::Synchronize;
  using TThread::Terminated;

 protected:
  void Execute() override { body_(*this); }

 private:
  TBody body_;
};

// Pumps the main thread's queue as the application's loop does, until done.
void RunMessageLoop(const std::function<bool()>& done) {
  while (!done()) {
    MSG msg;
    GetMessageA(&msg, nullptr, 0, 0);
    DispatchMessageA(&msg);
    CheckSynchronize();
  }
}

TEST(Thread, WaitForGivesTheReturnValueAndSuspendedThreadsWaitForResume) {
  std::atomic<bool> ran{false};
  TFnThread thread(
      [&](TFnThread& t) {
        ran = true;
        t.ReturnValue = 42;
      },
      true);
  EXPECT_NE(thread.ThreadID(), 0u);
  EXPECT_NE(thread.ThreadID(), MainThreadID());
  std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(thread.Suspended());
  EXPECT_FALSE(ran);
  thread.Resume();
  EXPECT_EQ(thread.WaitFor(), 42);
  EXPECT_TRUE(ran);
  const HANDLE handle = thread.Handle();
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &handle, FALSE, 0, 0), WAIT_OBJECT_0);
}

TEST(Thread, TerminateEndsALoopThatPollsTerminated) {
  std::atomic<bool> looping{false};
  TFnThread thread([&](TFnThread& t) {
    looping = true;
    while (!t.Terminated()) std::this_thread::sleep_for(1ms);
    t.ReturnValue = 7;
  });
  // Terminated before it starts, a thread never runs Execute at all.
  while (!looping) std::this_thread::sleep_for(1ms);
  thread.Terminate();
  EXPECT_EQ(thread.WaitFor(), 7);
}

TEST(Thread, FreeingASuspendedThreadNeitherHangsNorRunsExecute) {
  std::atomic<bool> ran{false};
  delete new TFnThread([&](TFnThread&) { ran = true; }, true);
  EXPECT_FALSE(ran);
}

TEST(Thread, SuspendFromOutsideStopsTheThreadAtItsNextSuspensionPoint) {
  std::atomic<int> rounds{0};
  TFnThread thread([&](TFnThread& t) {
    while (!t.Terminated()) {
      ++rounds;
      std::this_thread::sleep_for(1ms);
    }
  });
  std::this_thread::sleep_for(10ms);
  thread.Suspend();
  std::this_thread::sleep_for(10ms);
  const int parked = rounds;
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(rounds, parked);
  thread.Resume();
  std::this_thread::sleep_for(20ms);
  EXPECT_GT(rounds, parked);
}

TEST(Thread, FreeOnTerminateFreesItselfAfterOnTerminateRanOnTheMainThread) {
  std::atomic<bool> freed{false};
  std::thread::id terminateThread;
  struct TFlagOnFree : TFnThread {
    TFlagOnFree(std::atomic<bool>& flag) : TFnThread([](TFnThread&) {}, true), flag_(flag) {}
    ~TFlagOnFree() override { flag_ = true; }
    std::atomic<bool>& flag_;
  };
  auto* thread = new TFlagOnFree(freed);
  thread->SetFreeOnTerminate(true);
  thread->OnTerminate = [&](TObject* sender) {
    EXPECT_EQ(sender, thread);
    terminateThread = std::this_thread::get_id();
  };
  thread->Resume();
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!freed && std::chrono::steady_clock::now() < deadline) CheckSynchronize(10);
  EXPECT_TRUE(freed);
  EXPECT_EQ(terminateThread, std::this_thread::get_id());
}

TEST(Thread, SynchronizeRunsOnTheMainThreadWhileItsLoopWaits) {
  std::thread::id ranOn;
  std::atomic<bool> done{false};
  TFnThread thread([&](TFnThread& t) {
    std::this_thread::sleep_for(20ms);  // the main thread is blocked in GetMessage by now
    t.Synchronize([&] { ranOn = std::this_thread::get_id(); });
    done = true;
    PostThreadMessageA(MainThreadID(), WM_NULL, 0, 0);
  });
  RunMessageLoop([&] { return done.load(); });
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(Thread, SynchronizeIsServedByANestedLoop) {
  std::atomic<bool> innerRan{false};
  std::atomic<bool> outerDone{false};
  TFnThread* inner = nullptr;
  TFnThread outer([&](TFnThread& t) {
    // Runs a loop of its own on the main thread, as a modal window would.
    t.Synchronize([&] {
      inner = new TFnThread([&](TFnThread& u) { u.Synchronize([&] { innerRan = true; }); });
      RunMessageLoop([&] { return innerRan.load(); });
    });
    outerDone = true;
    PostThreadMessageA(MainThreadID(), WM_NULL, 0, 0);
  });
  RunMessageLoop([&] { return outerDone.load(); });
  EXPECT_TRUE(innerRan);
  delete inner;
}

TEST(Thread, AnExceptionInASynchronizedMethodIsRaisedInTheThread) {
  std::string caught;
  TFnThread thread([&](TFnThread& t) {
    try {
      t.Synchronize([] { throw EConvertError("'x' is not a valid integer value"); });
    } catch (const EConvertError& e) {
      caught = e.Message;
    }
  });
  thread.WaitFor();  // serves the synchronised call meanwhile
  EXPECT_EQ(caught, "'x' is not a valid integer value");
}

TEST(Thread, WaitForRefusesSelfFreeingThreads) {
  std::atomic<bool> freed{false};
  auto* thread = new TFnThread([&](TFnThread&) {}, true);
  thread->SetFreeOnTerminate(true);
  thread->OnTerminate = [&](TObject*) { freed = true; };
  EXPECT_THROW(thread->WaitFor(), EThread);
  thread->Resume();
  // The thread must be gone before the program's statics are.
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!freed && std::chrono::steady_clock::now() < deadline) CheckSynchronize(10);
  EXPECT_TRUE(freed);
  std::this_thread::sleep_for(20ms);
}

}  // namespace

TEST(ThreadPriority, NamesItsValuesForFormDescriptions) {
  EXPECT_EQ(GetEnumName(TypeInfo_TThreadPriority, tpIdle), "tpIdle");
  EXPECT_EQ(GetEnumName(TypeInfo_TThreadPriority, tpTimeCritical), "tpTimeCritical");
  EXPECT_EQ(GetEnumValue(TypeInfo_TThreadPriority, "tpnormal"), tpNormal);
}
