#pragma once
// Test aid: answers every dialog without a screen while it lives and records what was asked.
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

#include "vcl/dialogs.h"

class TDialogRecorder {
 public:
  // Answers come from Answers in turn; when they run out, Default answers.
  explicit TDialogRecorder(int Default = mrOk) : default_(Default) {
    previous_ = SetDialogHandler([this](const TDialogRequest& request) {
      std::lock_guard lock(mutex_);
      calls_.push_back(request);
      if (answers_.empty()) return default_;
      const int answer = answers_.front();
      answers_.pop_front();
      return answer;
    });
  }
  ~TDialogRecorder() { SetDialogHandler(previous_); }
  TDialogRecorder(const TDialogRecorder&) = delete;
  TDialogRecorder& operator=(const TDialogRecorder&) = delete;

  void Answer(int Result) {
    std::lock_guard lock(mutex_);
    answers_.push_back(Result);
  }
  std::vector<TDialogRequest> Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  // The dialogs asked for since the last call.
  std::vector<TDialogRequest> TakeCalls() {
    std::lock_guard lock(mutex_);
    std::vector<TDialogRequest> fresh(calls_.begin() + static_cast<std::ptrdiff_t>(taken_), calls_.end());
    taken_ = calls_.size();
    return fresh;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<TDialogRequest> calls_;
  std::size_t taken_ = 0;
  std::deque<int> answers_;
  int default_;
  TDialogHandler previous_;
};
