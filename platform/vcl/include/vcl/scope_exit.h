#pragma once
// The RTL's try/finally: a cleanup that runs when the scope ends, however it ends.
//   BeginUpdate();
//   ScopeExit endUpdate([&] { EndUpdate(); });
// A cleanup that raises on the normal way out raises from here, as a finally block would; one that
// raises while an exception is already leaving is dropped, so the first exception goes on.
#include <exception>
#include <utility>

template <class Cleanup>
class [[nodiscard]] ScopeExit {
 public:
  explicit ScopeExit(Cleanup cleanup) : cleanup_(std::move(cleanup)), leaving_(std::uncaught_exceptions()) {}
  ~ScopeExit() noexcept(false) {
    if (std::uncaught_exceptions() == leaving_) {
      cleanup_();
      return;
    }
    try {
      cleanup_();
    } catch (...) {  // the exception already leaving is the one to report
    }
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Cleanup cleanup_;
  int leaving_;
};
