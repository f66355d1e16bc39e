#pragma once
// Test aid: answers every dialog without a screen while it lives and records what was asked.
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

 private:
  mutable std::mutex mutex_;
  std::vector<TDialogRequest> calls_;
  std::deque<int> answers_;
  int default_;
  TDialogHandler previous_;
};
