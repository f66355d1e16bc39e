#pragma once
// Test aids: an application object of the test's own, and message pumping with a time limit.
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "vcl/forms.h"
#include "vcl/threads.h"

// Makes a fresh application object the program's while it lives, so that a Terminate, a main form
// or a hint setting does not reach the next test. At its end the forms it owns go while it is
// whole, the thread's queue is emptied (a quit or input left behind would end the next test's
// loop at once) and the previous application object is put back.
class TApplicationScope {
 public:
  TApplicationScope() : app_(std::make_unique<TApplication>(nullptr)), saved_(Application) { Application = app_.get(); }
  ~TApplicationScope() {
    FreeForms();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    Application = saved_;
  }
  TApplicationScope(const TApplicationScope&) = delete;
  TApplicationScope& operator=(const TApplicationScope&) = delete;

  // Ends the application object as a program's end does and starts a fresh one in its place.
  void Restart() {
    FreeForms();
    app_.reset();
    app_ = std::make_unique<TApplication>(nullptr);
    Application = app_.get();
  }

 private:
  // Only the forms: the hint timer and window it owns it frees itself.
  void FreeForms() {
    while (TCustomForm* form = LastForm()) delete form;
  }
  TCustomForm* LastForm() const {
    for (int i = app_->ComponentCount() - 1; i >= 0; --i)
      if (auto* form = dynamic_cast<TCustomForm*>(app_->Components(i))) return form;
    return nullptr;
  }

  std::unique_ptr<TApplication> app_;
  TApplication* saved_;
};

// Long enough for a worker thread under the sanitizers on a loaded machine; a wait that is met
// returns at once.
inline constexpr int kPumpUntilMs = 5000;

// Handles messages and synchronised calls, as the application's idle loop does, until the
// condition holds or the time is up; whether it holds.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = kPumpUntilMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    Application->ProcessMessages();
    CheckSynchronize();
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}
