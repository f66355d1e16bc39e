#include "composer/joke_file.h"

#include <algorithm>
#include <vector>

#include "vcl/inifiles.h"
#include "vcl/streams.h"
#include "vcl/system.h"
#include "vcl/sysutils.h"

namespace {

// The lines of a joke file one at a time, split as the class library's string list splits a text
// (CR, LF or CR LF end a line), each cut after kMaxJokeBytes: a file costs a chunk, not its text.
class JokeLines {
 public:
  explicit JokeLines(const std::string& FileName) : file_(FileName, fmOpenRead | fmShareDenyWrite) {}

  void Restart() {
    file_.SetPosition(0);
    left_ = file_.Size();
    at_ = end_ = 0;
  }

  bool Next(std::string& line) {
    line.clear();
    if (!Fill()) return false;
    for (;;) {
      const char* from = buffer_.data() + at_;
      const char* filled = buffer_.data() + end_;
      const char* stop = std::find_if(from, filled, [](char c) { return c == '\r' || c == '\n'; });
      const std::size_t room = kMaxJokeBytes - line.size();
      line.append(from, std::min(static_cast<std::size_t>(stop - from), room));
      at_ = static_cast<std::size_t>(stop - buffer_.data());
      if (at_ < end_) break;
      if (!Fill()) return true;  // the last line, without an ending
    }
    const char ending = buffer_[at_++];
    if (ending == '\r' && Fill() && buffer_[at_] == '\n') ++at_;
    return true;
  }

 private:
  static constexpr std::size_t kChunk = 1 << 16;

  // Whether a byte is at hand, reading the next chunk when the last is used up.
  bool Fill() {
    if (at_ < end_) return true;
    if (left_ == 0) return false;
    const std::int64_t want = std::min<std::int64_t>(left_, kChunk);
    file_.ReadBuffer(buffer_.data(), want);
    left_ -= want;
    at_ = 0;
    end_ = static_cast<std::size_t>(want);
    return true;
  }

  TFileStream file_;
  std::vector<char> buffer_ = std::vector<char>(kChunk);
  std::int64_t left_ = 0;
  std::size_t at_ = 0, end_ = 0;
};

// Calls Visit with each line after the first "[Data]" line and its number from 0, until Visit
// returns false. False when the file has no "[Data]" line.
template <class Visit>
bool ForEachDataLine(JokeLines& file, Visit visit) {
  file.Restart();
  std::string line;
  while (file.Next(line))
    if (SameText(line, "[Data]")) {
      for (int index = 0; file.Next(line) && visit(line, index); ++index) {
      }
      return true;
    }
  return false;
}

// The CR LF that joins a joke's lines into its text.
constexpr std::size_t kLineBreakBytes = 2;

// Adds as much of the line as the joke has room for; false once the joke is full, so empty lines
// cannot pile up without end either.
bool Keep(TStrings* Lines, std::size_t& kept, const std::string& line) {
  if (kept >= kMaxJokeBytes) return false;
  Lines->Add(line.substr(0, kMaxJokeBytes - kept));
  kept += line.size() + kLineBreakBytes;
  return true;
}

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }
std::string Cut(const std::string& line, bool cut) { return cut ? line.substr(3) : line; }

bool UsableSingle(const std::string& line) { return !line.empty() && line[0] != ';'; }
bool IsQuestion(const std::string& line) { return StartsWith(line, "Q: "); }
bool IsAnswer(const std::string& line) { return StartsWith(line, "A: "); }
bool IsBlockStart(const std::string& line) { return SameText(line, "<START>"); }
bool IsBlockEnd(const std::string& line) { return SameText(line, "<END>"); }

// The data line numbered Index.
std::string DataLine(JokeLines& file, int Index) {
  std::string found;
  ForEachDataLine(file, [&](const std::string& line, int index) {
    if (index == Index) found = line;
    return index < Index;
  });
  return found;
}

// Which data lines are usable, then draws until a usable line comes up.
void PickSingle(JokeLines& file, TStrings* Lines) {
  std::vector<bool> usable;
  ForEachDataLine(file, [&](const std::string& line, int) {
    usable.push_back(UsableSingle(line));
    return true;
  });
  // Without a usable line the redraws below would never end.
  if (std::find(usable.begin(), usable.end(), true) == usable.end()) return;
  const int count = static_cast<int>(usable.size());
  int at;
  do at = Random(count);
  while (!usable[static_cast<std::size_t>(at)]);
  Lines->Add(DataLine(file, at));
}

// How many data lines pass Test.
template <class Test>
int CountDataLines(JokeLines& file, Test test) {
  int count = 0;
  ForEachDataLine(file, [&](const std::string& line, int) {
    count += test(line) ? 1 : 0;
    return true;
  });
  return count;
}

// Calls Take with the data line that is the Chosen-th (from 0) to pass Test and the lines after
// it, until Take returns false.
template <class Test, class Take>
void ForEachLineFrom(JokeLines& file, int Chosen, Test test, Take take) {
  int seen = 0;
  bool found = false;
  ForEachDataLine(file, [&](const std::string& line, int) {
    found = found || (test(line) && seen++ == Chosen);
    return !found || take(line);
  });
}

void PickQuestion(JokeLines& file, TStrings* Lines, bool CutPrefixes, const std::string& Description) {
  const int questions = CountDataLines(file, IsQuestion);
  if (questions == 0) return;
  std::size_t kept = 0;
  ForEachLineFrom(file, Random(questions), IsQuestion, [&](const std::string& line) {
    if (Lines->Count() > 0 && !IsAnswer(line)) return false;
    return Keep(Lines, kept, Cut(line, CutPrefixes));
  });
  if (Lines->Count() == 1 && !Description.empty()) Lines->Add(CutPrefixes ? Description : "A: " + Description);
}

void PickBlock(JokeLines& file, TStrings* Lines) {
  const int starts = CountDataLines(file, IsBlockStart);
  if (starts == 0) return;
  // The line after <START> always belongs to the block; a block left open ends with the file.
  bool opened = false;
  std::size_t kept = 0;
  ForEachLineFrom(file, Random(starts), IsBlockStart, [&](const std::string& line) {
    if (!opened) return opened = true;  // the <START> line itself
    if (Lines->Count() > 0 && IsBlockEnd(line)) return false;
    return Keep(Lines, kept, line);
  });
}

}  // namespace

std::string ReadJokeDescription(const std::string& FileName) {
  return TIniFile(FileName).ReadString("Header", "Description", "");
}

void PickJoke(const std::string& FileName, TStrings* Lines, bool CutPrefixes, const std::string& Description) {
  Lines->Clear();
  if (!FileExists(FileName)) return;
  const std::string format = UpperCase(TIniFile(FileName).ReadString("Header", "Format", ""));
  if (format.empty()) return;
  JokeLines file(FileName);
  if (format == "SINGLE") PickSingle(file, Lines);
  else if (format == "Q&A")
    PickQuestion(file, Lines, CutPrefixes, Description);
  else if (format == "ML")
    PickBlock(file, Lines);
}
