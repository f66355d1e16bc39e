#pragma once
// A thread's message queue: messages sent from other threads, posted messages and input, the quit
// request and the thread's timers. Paint messages are not queued: they come from the windows'
// update regions when the queue is read.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "win32/user.h"

namespace user {

using Clock = std::chrono::steady_clock;

struct PostedMessage {
  MSG msg{};
  void (*freePayload)(LPARAM) = nullptr;
};

struct ThreadQueue;

struct SentMessage {
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
  bool done = false;  // guarded by the sender's queue mutex
  std::shared_ptr<ThreadQueue> sender;
};

struct Timer {
  HWND window = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  TIMERPROC proc = nullptr;
  Clock::time_point due;
};

struct ThreadQueue {
  explicit ThreadQueue(DWORD thread) : threadId(thread) {}
  ~ThreadQueue();

  const DWORD threadId;
  std::mutex mutex;
  std::condition_variable changed;
  bool alive = true;  // false once the thread has ended
  std::deque<std::shared_ptr<SentMessage>> incoming;
  std::deque<PostedMessage> posted;
  std::vector<Timer> timers;
  bool quit = false;
  int quitCode = 0;
  // Set by whoever gives the thread something to do (input, paint, a signal), so a waiter that
  // has just looked does not miss it.
  bool wakeHint = false;
  int handlingSent = 0;  // depth of messages from other threads being handled
  // What the last message read said (GetMessageTime, GetMessagePos).
  DWORD lastTime = 0;
  POINT lastPos{0, 0};
  // The payload of the message last read, until it is dispatched.
  PostedMessage lastRead;

  // Sets wakeHint and wakes the thread.
  void Wake();
};

std::shared_ptr<ThreadQueue> CurrentQueue();
std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId);
// Wakes every thread waiting for its queue (input arrived).
void WakeAllQueues();

// Puts a message into a window's (or, with window 0, the queue's own) posted list. False when the
// queue is gone; the payload is then not freed (the caller does it).
bool Post(const std::shared_ptr<ThreadQueue>& queue, const PostedMessage& message);
// Drops the posted messages and timers of a window being destroyed, freeing owned payloads.
void ForgetWindow(ThreadQueue& queue, HWND window);

}  // namespace user
