#pragma once
// Help files and the help window. There is no help viewer here: a program's help file is a text
// file of our own with numbered topics, and the application shows a topic in a plain window.
//
//   ; anything before the first topic is a comment
//   [0] Title of topic 0
//   Its text, line by line.
//   [5000] Title of topic 5000
//   ...
#include <optional>
#include <string>

#include "win32/user.h"  // the HELP_ commands

struct THelpTopic {
  int Context = 0;
  std::string Title;
  std::string Text;  // lines joined with line feeds, blank lines at the ends dropped
};

// The topic of a help file's text; none when the text has no such topic.
std::optional<THelpTopic> FindHelpTopic(const std::string& FileText, int Context);
// The same for a file at a Windows path; none when the file cannot be read.
std::optional<THelpTopic> ReadHelpTopic(const std::string& HelpPath, int Context);
