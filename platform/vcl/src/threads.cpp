// TThread and the synchronisation of worker threads with the main thread.
#include "vcl/threads.h"

#include <deque>

#include "win32/user.h"

const TTypeInfo TypeInfo_TThreadPriority{
    "TThreadPriority",
    tkEnumeration,
    {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"}};

namespace {

// Static initialisation runs on the main thread.
const std::thread::id gMainThread = std::this_thread::get_id();
const DWORD gMainThreadId = GetCurrentThreadId();

struct TSyncRequest {
  const TThreadMethod* Method;
  std::exception_ptr Error;
  bool Done = false;
};

struct TSyncQueue {
  std::mutex mutex;
  std::condition_variable posted;
  std::condition_variable done;
  std::deque<TSyncRequest*> pending;
  // Set while requests are pending, so that waits on the main thread wake for them.
  HANDLE signal = CreateWaitableSignal();
  std::function<void()> wake = [] { PostThreadMessageA(gMainThreadId, WM_NULL, 0, 0); };
};

TSyncQueue& SyncQueue() {
  static TSyncQueue queue;
  return queue;
}

bool OnMainThread() { return std::this_thread::get_id() == gMainThread; }

// A thread's message queue exists only after its first USER call, and a post to a thread without
// one is lost: the main thread makes its queue before any worker may wake it.
void EnsureMainThreadQueue() {
  static const bool made = [] {
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE);
    return true;
  }();
  (void)made;
}

void RunOnMainThread(const TThreadMethod& method) {
  TSyncQueue& q = SyncQueue();
  TSyncRequest request{&method, nullptr};
  std::function<void()> wake;
  {
    std::lock_guard lock(q.mutex);
    q.pending.push_back(&request);
    SetWaitableSignal(q.signal);
    wake = q.wake;
  }
  q.posted.notify_all();
  if (wake) wake();
  std::unique_lock lock(q.mutex);
  q.done.wait(lock, [&] { return request.Done; });
  if (request.Error) std::rethrow_exception(request.Error);
}

}  // namespace

DWORD MainThreadID() { return gMainThreadId; }

void SetWakeMainThread(std::function<void()> Wake) {
  TSyncQueue& q = SyncQueue();
  std::lock_guard lock(q.mutex);
  q.wake = std::move(Wake);
}

bool CheckSynchronize(DWORD TimeoutMs) {
  if (!OnMainThread()) throw EThread("CheckSynchronize called from a thread other than the main thread");
  TSyncQueue& q = SyncQueue();
  std::deque<TSyncRequest*> batch;
  {
    std::unique_lock lock(q.mutex);
    if (q.pending.empty() && TimeoutMs > 0)
      q.posted.wait_for(lock, std::chrono::milliseconds(TimeoutMs), [&] { return !q.pending.empty(); });
    batch.swap(q.pending);
    ResetWaitableSignal(q.signal);
  }
  for (TSyncRequest* request : batch) {
    try {
      (*request->Method)();
    } catch (...) {
      request->Error = std::current_exception();
    }
    {
      std::lock_guard lock(q.mutex);
      request->Done = true;
    }
    q.done.notify_all();
  }
  return !batch.empty();
}

TThread::TThread(bool CreateSuspended) : suspendCount_(CreateSuspended ? 1 : 0), endSignal_(CreateWaitableSignal()) {
  if (OnMainThread()) EnsureMainThreadQueue();
  thread_ = std::thread([this] {
    {
      std::lock_guard lock(mutex_);
      threadId_ = GetCurrentThreadId();
    }
    changed_.notify_all();
    Run();
  });
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return threadId_ != 0; });
}

TThread::~TThread() {
  if (thread_.joinable()) {
    if (OnOwnThread()) {
      thread_.detach();  // FreeOnTerminate: the thread is ending here
    } else {
      {
        std::lock_guard lock(mutex_);
        terminated_ = true;
        suspendCount_ = 0;  // a suspended thread must get to its end
        freeOnTerminate_ = false;
      }
      changed_.notify_all();
      WaitFor();
      thread_.join();
    }
  }
  CloseWaitableSignal(endSignal_);
}

void TThread::Run() {
  WaitWhileSuspended();
  bool run;
  {
    std::lock_guard lock(mutex_);
    run = !terminated_;
  }
  if (run) {
    try {
      Execute();
    } catch (...) {
      fatalException_ = std::current_exception();
    }
  }
  try {
    DoTerminate();
  } catch (...) {
    if (!fatalException_) fatalException_ = std::current_exception();
  }
  // Signalled before it counts as finished, so a waiter that returns finds the handle signalled.
  SetWaitableSignal(endSignal_);
  bool freeSelf;
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
    freeSelf = freeOnTerminate_;
  }
  changed_.notify_all();
  if (freeSelf) delete this;
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::WaitWhileSuspended() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return suspendCount_ == 0; });
}

void TThread::Resume() {
  {
    std::lock_guard lock(mutex_);
    if (suspendCount_ > 0) --suspendCount_;
  }
  changed_.notify_all();
}

void TThread::Suspend() {
  {
    std::lock_guard lock(mutex_);
    ++suspendCount_;
  }
  if (OnOwnThread()) WaitWhileSuspended();
}

bool TThread::Suspended() const {
  std::lock_guard lock(mutex_);
  return suspendCount_ > 0;
}

void TThread::Terminate() {
  std::lock_guard lock(mutex_);
  terminated_ = true;
}

bool TThread::Terminated() {
  if (OnOwnThread()) WaitWhileSuspended();
  std::lock_guard lock(mutex_);
  return terminated_;
}

int TThread::WaitFor() {
  if (OnOwnThread()) throw EThread("A thread cannot wait for itself");
  if (freeOnTerminate_) throw EThread("Cannot wait for a thread that frees itself");
  if (OnMainThread()) {
    const HANDLE handles[2] = {endSignal_, SyncQueue().signal};
    for (;;) {
      {
        std::lock_guard lock(mutex_);
        if (finished_) break;
      }
      const DWORD woken = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
      if (woken == WAIT_OBJECT_0 + 1) {
        CheckSynchronize();
      } else if (woken == WAIT_OBJECT_0 + 2) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // serves the sent messages
      } else if (woken == WAIT_FAILED) {
        throw EThread("Thread wait failed");
      }
    }
  } else {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return finished_; });
  }
  return ReturnValue;
}

void TThread::Synchronize(const TThreadMethod& Method) {
  if (!OnOwnThread() && OnMainThread()) {
    Method();
    return;
  }
  WaitWhileSuspended();
  RunOnMainThread(Method);
}
