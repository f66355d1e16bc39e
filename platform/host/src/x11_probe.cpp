#include "x11_probe.h"

#include <X11/Xlib.h>

#include <future>
#include <memory>
#include <thread>

namespace host {

XServerState ProbeXServer(const std::string& display, std::chrono::milliseconds patience) {
  auto answer = std::make_shared<std::promise<bool>>();
  std::future<bool> answered = answer->get_future();
  // A connection that hangs keeps its thread; the program goes on without a desktop.
  std::thread([display, answer] {
    ::Display* connection = XOpenDisplay(display.c_str());
    if (connection) XCloseDisplay(connection);
    answer->set_value(connection != nullptr);
  }).detach();
  if (answered.wait_for(patience) != std::future_status::ready) return XServerState::Silent;
  return answered.get() ? XServerState::Answers : XServerState::Refuses;
}

}  // namespace host
