#pragma once
// Corvane's program entry: the application titled "Corvane v2.0", its four forms made in order
// (the main window first), the message loop until the main window closes.
int CorvaneMain(int argc, char* argv[]);
