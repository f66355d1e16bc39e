#include "composer/joke_file.h"

#include <vector>

#include "vcl/inifiles.h"
#include "vcl/system.h"
#include "vcl/sysutils.h"

namespace {

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }
std::string Cut(const std::string& line, bool cut) { return cut ? line.substr(3) : line; }

bool UsableSingle(const std::string& line) { return !line.empty() && line[0] != ';'; }

// Indexes after First of the lines that pass Test.
template <class Test>
std::vector<int> Candidates(const TStringList& file, int First, Test test) {
  std::vector<int> found;
  for (int i = First; i < file.Count(); ++i)
    if (test(file.Get(i))) found.push_back(i);
  return found;
}

void PickSingle(const TStringList& file, int first, TStrings* Lines) {
  const int count = file.Count() - first;
  // Without a usable line the redraws below would never end.
  if (Candidates(file, first, UsableSingle).empty()) return;
  std::string line;
  do line = file.Get(first + Random(count));
  while (!UsableSingle(line));
  Lines->Add(line);
}

void PickQuestion(const TStringList& file, int first, TStrings* Lines, bool CutPrefixes,
                  const std::string& Description) {
  const std::vector<int> questions = Candidates(file, first, [](const std::string& l) { return StartsWith(l, "Q: "); });
  if (questions.empty()) return;
  int at = questions[static_cast<size_t>(Random(static_cast<int>(questions.size())))];
  Lines->Add(Cut(file.Get(at), CutPrefixes));
  while (++at < file.Count() && StartsWith(file.Get(at), "A: ")) Lines->Add(Cut(file.Get(at), CutPrefixes));
  if (Lines->Count() == 1 && !Description.empty()) Lines->Add(CutPrefixes ? Description : "A: " + Description);
}

void PickBlock(const TStringList& file, int first, TStrings* Lines) {
  const std::vector<int> starts = Candidates(file, first, [](const std::string& l) { return SameText(l, "<START>"); });
  if (starts.empty()) return;
  int at = starts[static_cast<size_t>(Random(static_cast<int>(starts.size())))] + 1;
  // The line after <START> always belongs to the block; a block left open ends with the file.
  if (at >= file.Count()) return;
  Lines->Add(file.Get(at));
  while (++at < file.Count() && !SameText(file.Get(at), "<END>")) Lines->Add(file.Get(at));
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
  TStringList file;
  file.LoadFromFile(FileName);
  int data = 0;
  while (data < file.Count() && !SameText(file.Get(data), "[Data]")) ++data;
  if (data == file.Count()) return;
  const int first = data + 1;
  if (format == "SINGLE") PickSingle(file, first, Lines);
  else if (format == "Q&A")
    PickQuestion(file, first, Lines, CutPrefixes, Description);
  else if (format == "ML")
    PickBlock(file, first, Lines);
}
