// Help files: numbered topics in a text file.
#include "vcl/help.h"

#include <cctype>
#include <sstream>

#include "vcl/strings.h"

namespace {

// "[5000] Title" gives 5000 and "Title".
bool ParseTopicLine(const std::string& line, int& context, std::string& title) {
  if (line.size() < 3 || line[0] != '[') return false;
  std::size_t i = 1;
  long value = 0;
  while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && value < 100000000)
    value = value * 10 + (line[i++] - '0');
  if (i == 1 || i >= line.size() || line[i] != ']') return false;
  context = static_cast<int>(value);
  std::size_t start = line.find_first_not_of(' ', i + 1);
  title = start == std::string::npos ? std::string() : line.substr(start);
  return true;
}

std::string TrimBlankLines(const std::string& text) {
  std::size_t begin = text.find_first_not_of('\n');
  if (begin == std::string::npos) return {};
  std::size_t end = text.find_last_not_of('\n');
  return text.substr(begin, end - begin + 1);
}

}  // namespace

std::optional<THelpTopic> FindHelpTopic(const std::string& FileText, int Context) {
  std::istringstream in(FileText);
  std::string line;
  std::optional<THelpTopic> topic;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    int context = 0;
    std::string title;
    if (ParseTopicLine(line, context, title)) {
      if (topic) break;
      if (context == Context) topic = THelpTopic{context, title, {}};
      continue;
    }
    if (!topic) continue;  // comments and anything else before the topic
    topic->Text += line;
    topic->Text += '\n';
  }
  if (topic) topic->Text = TrimBlankLines(topic->Text);
  return topic;
}

std::optional<THelpTopic> ReadHelpTopic(const std::string& HelpPath, int Context) {
  TStringList lines;
  try {
    lines.LoadFromFile(HelpPath);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return FindHelpTopic(lines.Text(), Context);
}
