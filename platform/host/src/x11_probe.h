#pragma once
// Whether an X server answers, asked before the desktop back end starts: a server that takes the
// connection and never replies would hold the program for ever in its first X call.
#include <chrono>
#include <string>

namespace host {

enum class XServerState { Answers, Refuses, Silent };

// Opens and closes a connection to `display` (as in DISPLAY), giving up after `patience`.
XServerState ProbeXServer(const std::string& display, std::chrono::milliseconds patience);

}  // namespace host
