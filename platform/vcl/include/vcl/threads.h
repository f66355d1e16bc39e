#pragma once
// TThread: a worker thread whose Execute a descendant writes, with Synchronize to run a method on
// the main thread, and AllocateHWnd for hidden windows whose messages go to a method.
//
// The main thread is the one that initialises the program. Every message loop on it calls
// CheckSynchronize (the application's loop, modal loops, and WaitFor on the main thread do), and
// Synchronize wakes the main thread's message queue with WakeMainThread so that a GetMessage
// waiting there returns.
//
// Suspension is cooperative: Suspend from another thread takes effect when the thread next
// reaches a suspension point: Synchronize, or reading its own Terminated. A thread created
// suspended starts Execute only once resumed.
//
// C++ builds the base first: a thread created running may start Execute before the descendant's
// constructor is done. A descendant whose Execute needs its constructor's work is created
// suspended and resumed once constructed. Likewise a descendant whose Execute uses its own
// members ends the thread in its destructor (Terminate, then WaitFor): the base destructor can
// only do so after those members are gone.
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "vcl/objects.h"
#include "vcl/sysutils.h"
#include "vcl/typinfo.h"
#include "win32/types.h"

class EThread : public Exception {
  using Exception::Exception;
};

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
extern const TTypeInfo TypeInfo_TThreadPriority;

using TThreadMethod = std::function<void()>;

// The USER-layer id of the main thread.
DWORD MainThreadID();

// Runs the methods that threads have asked to synchronise, on the main thread; true when any ran.
// Waits up to TimeoutMs for a first one when none is pending.
bool CheckSynchronize(DWORD TimeoutMs = 0);

// How Synchronize wakes the main thread. The default posts WM_NULL to the main thread's queue;
// the application object may replace it (for instance to post to its own window).
void SetWakeMainThread(std::function<void()> Wake);

class TThread : public TObject {
 public:
  // The thread starts at once; with CreateSuspended, Execute waits for Resume.
  explicit TThread(bool CreateSuspended);
  // Ends a thread that still runs (Terminate, resume, wait); a thread freeing itself
  // (FreeOnTerminate) just lets go of it.
  ~TThread() override;

  // Resume undoes one Suspend (or the suspended creation).
  void Resume();
  void Suspend();
  bool Suspended() const;
  void Terminate();
  // Waits for the end of Execute and OnTerminate and returns ReturnValue. On the main thread the
  // wait goes on serving messages sent from other threads and synchronised methods. A thread
  // that frees itself, or the thread itself, cannot be waited for (EThread).
  int WaitFor();

  bool FreeOnTerminate() const { return freeOnTerminate_; }
  void SetFreeOnTerminate(bool Value) { freeOnTerminate_ = Value; }
  // Stored only: the host decides the scheduling of its threads.
  TThreadPriority Priority() const { return priority_; }
  void SetPriority(TThreadPriority Value) { priority_ = Value; }
  // A handle MsgWaitForMultipleObjects can wait on; signalled when the thread has ended.
  HANDLE Handle() const { return endSignal_; }
  DWORD ThreadID() const { return threadId_; }
  // The exception that ended Execute, if one did.
  std::exception_ptr FatalException() const { return fatalException_; }

  // Runs on the main thread (through Synchronize) after Execute ends.
  TNotifyEvent OnTerminate;

 protected:
  virtual void Execute() = 0;
  // Runs Method on the main thread and waits for it; an exception it raises is raised again
  // here. Called on the main thread, it runs Method directly.
  void Synchronize(const TThreadMethod& Method);
  // Read by the thread itself, this is a suspension point.
  bool Terminated();
  virtual void DoTerminate();

  int ReturnValue = 0;

 private:
  void Run();
  void WaitWhileSuspended();
  bool OnOwnThread() const { return std::this_thread::get_id() == thread_.get_id(); }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int suspendCount_ = 0;
  bool terminated_ = false;
  bool finished_ = false;
  bool started_ = false;
  bool freeOnTerminate_ = false;
  TThreadPriority priority_ = tpNormal;
  DWORD threadId_ = 0;
  HANDLE endSignal_ = nullptr;
  std::exception_ptr fatalException_;
  std::thread thread_;
};
