// Message queues: sending, posting, reading and dispatching, timers and waiting.
#include "queue.h"

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "input.h"
#include "kernel/ticks.h"
#include "paint.h"
#include "win32/kernel.h"
#include "window.h"

namespace user {
namespace {

std::mutex gQueuesMutex;
std::map<DWORD, std::weak_ptr<ThreadQueue>> gQueues;

void Complete(const std::shared_ptr<SentMessage>& sent, LRESULT result) {
  {
    std::lock_guard lock(sent->sender->mutex);
    sent->result = result;
    sent->done = true;
  }
  sent->sender->Wake();
}

// The thread's queue; when the thread ends, messages waiting for it are answered with 0 and its
// payloads freed.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  QueueHolder() : queue(std::make_shared<ThreadQueue>(GetCurrentThreadId())) {
    std::lock_guard lock(gQueuesMutex);
    gQueues[queue->threadId] = queue;
  }
  ~QueueHolder() {
    {
      std::lock_guard lock(gQueuesMutex);
      gQueues.erase(queue->threadId);
    }
    std::deque<std::shared_ptr<SentMessage>> waiting;
    std::deque<PostedMessage> posted;
    {
      std::lock_guard lock(queue->mutex);
      queue->alive = false;
      waiting.swap(queue->incoming);
      posted.swap(queue->posted);
    }
    for (auto& s : waiting) Complete(s, 0);
    for (auto& p : posted)
      if (p.freePayload) p.freePayload(p.msg.lParam);
  }
};

bool InRange(UINT message, UINT min, UINT max) { return (min == 0 && max == 0) || (message >= min && message <= max); }

bool WindowMatches(HWND messageWindow, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return messageWindow == nullptr;
  return messageWindow == filter || IsChild(filter, messageWindow);
}

void HandleIncoming(ThreadQueue& q) {
  for (;;) {
    std::shared_ptr<SentMessage> sent;
    {
      std::lock_guard lock(q.mutex);
      if (q.incoming.empty()) return;
      sent = q.incoming.front();
      q.incoming.pop_front();
    }
    ++q.handlingSent;
    LRESULT result = CallProcedure(sent->window, sent->message, sent->wParam, sent->lParam);
    --q.handlingSent;
    Complete(sent, result);
  }
}

POINT CursorNow() {
  POINT p{0, 0};
  GetCursorPos(&p);
  return p;
}

bool TakePosted(ThreadQueue& q, LPMSG msg, HWND filter, UINT min, UINT max, bool remove) {
  std::vector<PostedMessage> dead;
  bool found = false;
  {
    std::lock_guard lock(q.mutex);
    for (auto it = q.posted.begin(); it != q.posted.end();) {
      if (it->msg.hwnd && !IsWindow(it->msg.hwnd)) {  // posted while the window was going away
        dead.push_back(*it);
        it = q.posted.erase(it);
        continue;
      }
      if (WindowMatches(it->msg.hwnd, filter) && InRange(it->msg.message, min, max)) {
        *msg = it->msg;
        if (remove) {
          q.lastRead = *it;
          q.posted.erase(it);
        }
        found = true;
        break;
      }
      ++it;
    }
    if (!found && q.quit && InRange(WM_QUIT, min, max)) {
      *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, GetTickCount(), CursorNow()};
      if (remove) q.quit = false;
      found = true;
    }
  }
  for (auto& p : dead)
    if (p.freePayload) p.freePayload(p.msg.lParam);
  return found;
}

bool TakeTimer(ThreadQueue& q, LPMSG msg, HWND filter, bool remove) {
  std::lock_guard lock(q.mutex);
  Clock::time_point now = ticks::Now();
  Timer* best = nullptr;
  for (Timer& t : q.timers)
    if (t.due <= now && WindowMatches(t.window, filter) && (!best || t.due < best->due)) best = &t;
  if (!best) return false;
  *msg = MSG{best->window, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc), GetTickCount(), CursorNow()};
  if (remove) best->due = now + std::chrono::milliseconds(best->interval);
  return true;
}

// Waits until the queue may have something, `deadline` passes, or (with a polled display) a
// short while, whichever is first.
void WaitForWork(ThreadQueue& q, Clock::time_point deadline) {
  std::unique_lock lock(q.mutex);
  for (const Timer& t : q.timers) deadline = std::min(deadline, t.due);
  // A driven clock moves only by the test's Advance, which wakes every queue.
  if (ticks::Driven()) deadline = Clock::time_point::max();
  if (host::TheDisplay().NeedsPolling()) deadline = std::min(deadline, Clock::now() + std::chrono::milliseconds(10));
  q.changed.wait_until(lock, deadline,
                       [&] { return q.wakeHint || !q.incoming.empty() || !q.posted.empty() || q.quit; });
  q.wakeHint = false;
}

struct Signal {
  bool set = false;
};
std::mutex gSignalsMutex;
std::map<HANDLE, Signal> gSignals;
std::uintptr_t gNextSignal = 0x7A000;

}  // namespace

ThreadQueue::~ThreadQueue() {
  for (auto& p : posted)
    if (p.freePayload) p.freePayload(p.msg.lParam);
}

void ThreadQueue::Wake() {
  {
    std::lock_guard lock(mutex);
    wakeHint = true;
  }
  changed.notify_all();
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
  static thread_local QueueHolder holder;
  static std::once_flag wakeInstalled;
  std::call_once(wakeInstalled, [] { host::TheDisplay().SetWakeHandler(WakeAllQueues); });
  return holder.queue;
}

std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId) {
  std::lock_guard lock(gQueuesMutex);
  auto it = gQueues.find(threadId);
  return it == gQueues.end() ? nullptr : it->second.lock();
}

void WakeAllQueues() {
  std::vector<std::shared_ptr<ThreadQueue>> all;
  {
    std::lock_guard lock(gQueuesMutex);
    for (auto& [id, weak] : gQueues)
      if (auto q = weak.lock()) all.push_back(q);
  }
  for (auto& q : all) q->Wake();
}

bool Post(const std::shared_ptr<ThreadQueue>& queue, const PostedMessage& message) {
  if (!queue) return false;
  {
    std::lock_guard lock(queue->mutex);
    if (!queue->alive) return false;
    queue->posted.push_back(message);
  }
  queue->changed.notify_all();
  return true;
}

void ForgetWindow(ThreadQueue& q, HWND window) {
  std::vector<PostedMessage> dropped;
  {
    std::lock_guard lock(q.mutex);
    for (auto it = q.posted.begin(); it != q.posted.end();) {
      if (it->msg.hwnd == window) {
        dropped.push_back(*it);
        it = q.posted.erase(it);
      } else {
        ++it;
      }
    }
    std::erase_if(q.timers, [&](const Timer& t) { return t.window == window; });
  }
  for (auto& p : dropped)
    if (p.freePayload) p.freePayload(p.msg.lParam);
}

}  // namespace user

using namespace user;

DWORD GetCurrentThreadId() {
  static thread_local DWORD id = static_cast<DWORD>(::gettid());
  return id;
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  WindowPtr w = Find(window);
  if (!w || !w->queue) return 0;
  if (processId) *processId = static_cast<DWORD>(::getpid());
  return w->queue->threadId;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowPtr w = Find(window);
  if (!w) return 0;
  std::shared_ptr<ThreadQueue> me = CurrentQueue();
  if (!w->queue || w->queue == me) return CallProcedure(window, message, wParam, lParam);
  auto sent = std::make_shared<SentMessage>();
  *sent = SentMessage{window, message, wParam, lParam, 0, false, me};
  {
    std::lock_guard lock(w->queue->mutex);
    if (!w->queue->alive) return 0;
    w->queue->incoming.push_back(sent);
    w->queue->wakeHint = true;
  }
  w->queue->changed.notify_all();
  for (;;) {
    HandleIncoming(*me);  // the other thread may send back to us while we wait
    std::unique_lock lock(me->mutex);
    if (sent->done) return sent->result;
    me->changed.wait(lock, [&] { return sent->done || !me->incoming.empty(); });
    if (sent->done) return sent->result;
  }
}

BOOL InSendMessage() { return CurrentQueue()->handlingSent > 0; }

BOOL PostOwnedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void (*freePayload)(LPARAM)) {
  PostedMessage p;
  p.msg = MSG{window, message, wParam, lParam, GetTickCount(), POINT{0, 0}};
  GetCursorPos(&p.msg.pt);
  p.freePayload = freePayload;
  bool posted = false;
  if (!window) {
    posted = Post(CurrentQueue(), p);
  } else if (WindowPtr w = Find(window); w && !w->destroying && w->queue) {
    posted = Post(w->queue, p);
  }
  if (!posted && freePayload) freePayload(lParam);
  return posted ? TRUE : FALSE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostOwnedMessage(window, message, wParam, lParam, nullptr);
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  PostedMessage p;
  p.msg = MSG{nullptr, message, wParam, lParam, GetTickCount(), POINT{0, 0}};
  return Post(threadId == GetCurrentThreadId() ? CurrentQueue() : QueueOfThread(threadId), p) ? TRUE : FALSE;
}

void PostQuitMessage(int exitCode) {
  auto q = CurrentQueue();
  {
    std::lock_guard lock(q->mutex);
    q->quit = true;
    q->quitCode = exitCode;
  }
  q->changed.notify_all();
}

BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) return FALSE;
  auto q = CurrentQueue();
  HandleIncoming(*q);
  PumpInput();
  bool remove = (removeFlags & PM_REMOVE) != 0;
  bool found = TakePosted(*q, msg, window, filterMin, filterMax, remove) ||
               (InRange(WM_PAINT, filterMin, filterMax) && NextPaintMessage(window, *msg));
  if (!found) {
    // Nothing is posted and nothing waits for its paint: what was drawn is shown now, before a
    // due timer runs, so a loop that is slower than its timers (or that only peeks) still shows it.
    MSG paint;
    if ((!window && InRange(WM_PAINT, filterMin, filterMax)) || !NextPaintMessage(nullptr, paint))
      PresentDrawnWindows();
    found = InRange(WM_TIMER, filterMin, filterMax) && TakeTimer(*q, msg, window, remove);
  }
  if (found && remove) {
    q->lastTime = msg->time;
    q->lastPos = msg->pt;
    NoteInputRead(*msg);
    if (msg->message == WM_PAINT || msg->message == WM_TIMER || msg->message == WM_QUIT) q->lastRead = PostedMessage{};
  }
  return found ? TRUE : FALSE;
}

BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  auto q = CurrentQueue();
  for (;;) {
    if (PeekMessageA(msg, window, filterMin, filterMax, PM_REMOVE)) return msg->message == WM_QUIT ? FALSE : TRUE;
    PresentDrawnWindows();
    WaitForWork(*q, Clock::time_point::max());
  }
}

BOOL WaitMessage() {
  auto q = CurrentQueue();
  MSG m;
  while (!PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
    PresentDrawnWindows();
    WaitForWork(*q, Clock::time_point::max());
  }
  return TRUE;
}

DWORD GetMessageTime() { return CurrentQueue()->lastTime; }

DWORD GetMessagePos() {
  POINT p = CurrentQueue()->lastPos;
  return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  auto q = CurrentQueue();
  PostedMessage read = q->lastRead;
  q->lastRead = PostedMessage{};
  bool owned = read.freePayload && read.msg.hwnd == msg->hwnd && read.msg.message == msg->message &&
               read.msg.lParam == msg->lParam;
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  if (!IsWindow(msg->hwnd)) {
    if (owned) read.freePayload(read.msg.lParam);
    return 0;
  }
  if (ScrollBarTrackingMessage(*msg)) return 0;
  return CallProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  std::shared_ptr<ThreadQueue> q;
  if (window) {
    WindowPtr w = Find(window);
    if (!w || !w->queue) return 0;
    q = w->queue;
  } else {
    q = CurrentQueue();
  }
  elapse = std::max<UINT>(elapse, 10);  // the shortest interval Windows allows
  std::lock_guard lock(q->mutex);
  if (!window) {
    bool known =
        id && std::any_of(q->timers.begin(), q->timers.end(), [&](const Timer& t) { return !t.window && t.id == id; });
    if (!known) {
      static UINT_PTR next = 0x7FF0;
      id = ++next;
    }
  }
  Clock::time_point due = ticks::Now() + std::chrono::milliseconds(elapse);
  for (Timer& t : q->timers)
    if (t.window == window && t.id == id) {
      t = Timer{window, id, elapse, proc, due};
      return window ? 1 : id;
    }
  q->timers.push_back(Timer{window, id, elapse, proc, due});
  q->wakeHint = true;
  q->changed.notify_all();
  return window ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  std::shared_ptr<ThreadQueue> q;
  if (window) {
    WindowPtr w = Find(window);
    if (!w || !w->queue) return FALSE;
    q = w->queue;
  } else {
    q = CurrentQueue();
  }
  std::lock_guard lock(q->mutex);
  auto n = std::erase_if(q->timers, [&](const Timer& t) { return t.window == window && t.id == id; });
  return n ? TRUE : FALSE;
}

HANDLE CreateWaitableSignal() {
  std::lock_guard lock(gSignalsMutex);
  HANDLE h = reinterpret_cast<HANDLE>(gNextSignal);
  gNextSignal += 4;
  gSignals[h] = Signal{};
  return h;
}

void SetWaitableSignal(HANDLE signal) {
  {
    std::lock_guard lock(gSignalsMutex);
    auto it = gSignals.find(signal);
    if (it == gSignals.end()) return;
    it->second.set = true;
  }
  WakeAllQueues();
}

void ResetWaitableSignal(HANDLE signal) {
  std::lock_guard lock(gSignalsMutex);
  auto it = gSignals.find(signal);
  if (it != gSignals.end()) it->second.set = false;
}

void CloseWaitableSignal(HANDLE signal) {
  std::lock_guard lock(gSignalsMutex);
  gSignals.erase(signal);
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, DWORD wakeMask) {
  if (count && !handles) return WAIT_FAILED;
  auto q = CurrentQueue();
  Clock::time_point deadline = milliseconds == INFINITE ? Clock::time_point::max()
                                                        : ticks::Now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    {
      std::lock_guard lock(gSignalsMutex);
      DWORD setCount = 0, first = count;
      for (DWORD i = 0; i < count; ++i) {
        auto it = gSignals.find(handles[i]);
        if (it == gSignals.end()) return WAIT_FAILED;
        if (it->second.set) {
          ++setCount;
          first = std::min(first, i);
        }
      }
      if (waitAll ? (count && setCount == count) : setCount > 0) return WAIT_OBJECT_0 + (waitAll ? 0 : first);
    }
    PumpInput();
    {
      std::lock_guard lock(q->mutex);
      bool sent = !q->incoming.empty() && (wakeMask & QS_SENDMESSAGE);
      bool posted = (!q->posted.empty() || q->quit) && (wakeMask & (QS_POSTMESSAGE | QS_INPUT));
      bool timer = (wakeMask & QS_TIMER) && std::any_of(q->timers.begin(), q->timers.end(),
                                                        [](const Timer& t) { return t.due <= ticks::Now(); });
      if (sent || posted || timer) return WAIT_OBJECT_0 + count;
    }
    if (wakeMask & QS_PAINT) {
      MSG m;
      if (NextPaintMessage(nullptr, m)) return WAIT_OBJECT_0 + count;
    }
    if (ticks::Now() >= deadline) return WAIT_TIMEOUT;
    PresentDrawnWindows();
    WaitForWork(*q, deadline);
  }
}
