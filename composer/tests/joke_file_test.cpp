#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "composer/joke_file.h"
#include "composer/logo_composer.h"
#include "composer_test_support.h"
#include "host/testing/resource_use.h"
#include "vcl/system.h"
#include "win32/testing/machine_root.h"

namespace {

class JokeFileTest : public MachineRootTest {
 protected:
  // Writes c:\joke.txt and returns what RefreshTexts makes of it, as question | answer.
  std::string Refresh(std::initializer_list<std::string> Lines) {
    WriteLines(root.DriveC() / "joke.txt", Lines);
    TLogoComposer composer;
    composer.State.laJokeFile = "c:\\joke.txt";
    composer.State.edFirst = "DQ";
    composer.State.edLast = "DA";
    composer.RefreshTexts();
    return composer.QuestionText() + " | " + composer.AnswerText();
  }
};

TEST_F(JokeFileTest, EachFormatGivesItsTexts) {
  struct Case {
    const char* name;
    std::initializer_list<std::string> lines;
    const char* expected;
  };
  const Case cases[] = {
      {"single with comment and empty line",
       {"[Header]", "Description=Desc", "Format=SINGLE", "[Data]", "; note", "", "Only joke"},
       "Desc | Only joke"},
      {"single without description", {"[Header]", "Format=single", "[Data]", "", "Only joke", ";x"}, "DQ | Only joke"},
      {"q&a with two answers",
       {"[Header]", "Format=Q&A", "[Data]", "Q: Why?", "A: One", "A: Two", "A: "},
       "Why? | One\r\nTwo\r\n"},
      {"q&a answered by the description",
       {"[Header]", "Description=Desc", "Format=Q&A", "[Data]", "Q: Why?", "B: no"},
       "Why? | Desc"},
      {"q&a without description", {"[Header]", "Format=Q&A", "[Data]", "Q: Why?"}, "DQ | Why?"},
      {"q&a only false questions",
       {"[Header]", "Format=Q&A", "[Data]", "q: lower", "Q:nospace", " Q: blank"},
       "DQ | DA"},
      {"ml one line",
       {"[Header]", "Description=Desc", "Format=ML", "[DATA]", "x", "<start>", "Line", "<End>"},
       "Desc | Line"},
      {"ml three lines",
       {"[Header]", "Format=Ml", "[data]", "<START>", "<END>", "; two", "three", "<END>"},
       "<END> | ; two\r\nthree"},
      {"ml block left open", {"[Header]", "Format=ML", "[Data]", "<START>", "a", "b"}, "a | b"},
      {"ml start on the last line", {"[Header]", "Format=ML", "[Data]", "<START>"}, "DQ | DA"},
      {"ml start behind a blank", {"[Header]", "Format=ML", "[Data]", " <START>", "a", "b"}, "DQ | DA"},
      {"single without usable lines",
       {"[Header]", "Description=Desc", "Format=SINGLE", "[Data]", "", ";c", ""},
       "DQ | DA"},
      {"single with nothing after data", {"[Header]", "Format=SINGLE", "[Data]"}, "DQ | DA"},
      {"no format", {"[Header]", "Description=Desc", "[Data]", "joke"}, "DQ | DA"},
      {"unknown format", {"[Header]", "Format=LIMERICK", "[Data]", "joke"}, "DQ | DA"},
      {"no data line", {"[Header]", "Format=SINGLE", "joke"}, "DQ | DA"},
  };
  for (const Case& c : cases) EXPECT_EQ(Refresh(c.lines), c.expected) << c.name;
}

TEST_F(JokeFileTest, MissingFileKeepsTheDefaults) {
  TLogoComposer composer;
  composer.State.laJokeFile = "c:\\none.txt";
  composer.RefreshTexts();
  EXPECT_EQ(composer.QuestionText(), "This is the default question");
  EXPECT_EQ(composer.AnswerText(), "This is the default answer");
}

TEST_F(JokeFileTest, PickJokeKeepsPrefixesWhenAskedAndDrawsEveryJoke) {
  WriteLines(root.DriveC() / "qa.txt",
             {"[Header]", "Format=Q&A", "[Data]", "Q: One?", "Q: Two?", "A: yes", "Q: Three?"});
  TStringList lines;
  std::set<std::string> seen;
  RandSeed = 12345;
  for (int i = 0; i < 200; ++i) {
    PickJoke("c:\\qa.txt", &lines, false, "Desc");
    ASSERT_GE(lines.Count(), 2);
    seen.insert(lines.Get(0) + "/" + lines.Get(1));
  }
  EXPECT_EQ(seen, (std::set<std::string>{"Q: One?/A: Desc", "Q: Two?/A: yes", "Q: Three?/A: Desc"}));
}

// The lines of a file split as the class library's string list splits a text.
std::vector<std::string> StringListLines(const std::string& FileName) {
  TStringList file;
  file.LoadFromFile(FileName);
  std::vector<std::string> lines;
  for (int i = 0; i < file.Count(); ++i) lines.push_back(file.Get(i));
  return lines;
}

void WriteText(const std::filesystem::path& File, const std::string& Text) {
  std::ofstream(File, std::ios::binary) << Text;
}

TEST_F(JokeFileTest, LinesEndAsTheStringListEndsThem) {
  // CR, LF, CR LF and LF CR endings, and a CR LF after the question that falls across the reader's
  // 64 KiB chunks, behind a long line that is no question.
  constexpr std::size_t kChunk = 65536;
  const std::string head = "[Header]\r\nFormat=Q&A\n[Data]\r";
  const std::string question = "Q: q";
  const std::string filler(kChunk - 1 - head.size() - 1 - question.size(), 'f');
  const std::string text = head + filler + "\r" + question + "\r\nA: one\n\rA: two\rA: 3\r\n";
  WriteText(root.DriveC() / "endings.txt", text);
  ASSERT_EQ(text.find("\r\nA: one"), kChunk - 1);
  const std::vector<std::string> all = StringListLines("c:\\endings.txt");
  TStringList lines;
  PickJoke("c:\\endings.txt", &lines, false, "");
  ASSERT_EQ(lines.Count(), 2);  // the empty line between LF and CR ends the answer
  EXPECT_EQ(lines.Get(0), all[4]);
  EXPECT_EQ(lines.Get(1), "A: one");
  EXPECT_EQ(all[6], "");
}

TEST_F(JokeFileTest, SingleLinesAreDrawnAsFromTheWholeListOfLines) {
  WriteLines(root.DriveC() / "single.txt",
             {"[Header]", "Format=SINGLE", "[Data]", "", "one", ";c", "", "two", "", "", "three", ";d"});
  const std::vector<std::string> all = StringListLines("c:\\single.txt");
  const int first = 3;
  for (int seed = 1; seed <= 40; ++seed) {
    RandSeed = seed;
    std::string expected;
    do expected = all[static_cast<std::size_t>(first + Random(static_cast<int>(all.size()) - first))];
    while (expected.empty() || expected[0] == ';');
    RandSeed = seed;
    TStringList lines;
    PickJoke("c:\\single.txt", &lines, true, "");
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Get(0), expected) << "seed " << seed;
  }
}

// What RefreshTexts and ComposeLogo make of c:\huge.txt: the answer's length, or "crashed".
ResourceUse ComposeHugeJoke() {
  return MeasureInChild([] {
    TLogoComposer composer;
    composer.State.laJokeFile = "c:\\huge.txt";
    composer.RefreshTexts();
    composer.ComposeLogo();
    return std::to_string(composer.AnswerText().size());
  });
}

std::string Repeated(const std::string& piece, std::size_t bytes) {
  std::string text;
  text.reserve(bytes + piece.size());
  while (text.size() < bytes) text += piece;
  return text;
}

TEST_F(JokeFileTest, HugeFilesAreReadAndDrawnInLittleMoreThanTheJokeTakes) {
  constexpr std::size_t kLine = 50u << 20;
  constexpr std::size_t kMany = 48u << 20;
  constexpr double kBudgetMiB = 256;
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"one 50 MB line", "[Header]\r\nFormat=SINGLE\r\n[Data]\r\n" + std::string(kLine, 'j') + "\r\n"},
      {"48 MB of short lines",
       "[Header]\r\nFormat=SINGLE\r\n[Data]\r\n" + Repeated("a short joke\r\n;\r\n\r\n", kMany)},
      {"48 MB of answers", "[Header]\r\nFormat=Q&A\r\n[Data]\r\nQ: why\r\n" + Repeated("A: \r\n", kMany)},
      {"48 MB in a block", "[Header]\r\nFormat=ML\r\n[Data]\r\n<START>\r\n" + Repeated("x\r\n", kMany)},
  };
  for (const Case& c : cases) {
    WriteText(root.DriveC() / "huge.txt", c.text);
    const ResourceUse use = ComposeHugeJoke();
    ASSERT_NE(use.Outcome, "crashed") << c.name;
    EXPECT_LE(std::stoul(use.Outcome), kMaxJokeBytes) << c.name;
    EXPECT_LT(use.PeakMiB, kBudgetMiB) << c.name;
    std::printf("%s: %.2f s, %.0f MiB\n", c.name, use.Seconds, use.PeakMiB);
  }
}

// A paragraph far longer than the box shows costs about what one of the longest joke kept does,
// measured in the same run: the rest is neither read nor laid out.
TEST_F(JokeFileTest, AParagraphFarLongerThanAJokeCostsWhatTheLongestJokeDoes) {
  constexpr std::size_t kParagraph = 1u << 20;
  constexpr double kSlack = 3;
  std::vector<ResourceUse> uses;
  for (const std::size_t bytes : {kMaxJokeBytes, kParagraph}) {
    const std::string words = Repeated("words of a joke ", bytes).substr(0, bytes);
    WriteText(root.DriveC() / "huge.txt", "[Header]\r\nFormat=SINGLE\r\n[Data]\r\n" + words + "\r\n");
    uses.push_back(ComposeHugeJoke());
    EXPECT_EQ(uses.back().Outcome, std::to_string(kMaxJokeBytes)) << bytes;
  }
  EXPECT_LT(uses[1].Seconds, kSlack * uses[0].Seconds) << "against " << uses[0].Seconds << " s";
}

}  // namespace

namespace {

TEST_F(JokeFileTest, ShippedJokeFilesEachGiveAJoke) {
  for (const char* name : {"one-liners.txt", "questions.txt", "stories.txt"}) {
    const std::filesystem::path shipped = std::filesystem::path(COMPOSER_JOKES_DIR) / name;
    ASSERT_TRUE(std::filesystem::exists(shipped)) << name;
    std::filesystem::copy_file(shipped, root.DriveC() / name);
    TStringList lines;
    PickJoke(std::string("c:\\") + name, &lines, true, ReadJokeDescription(std::string("c:\\") + name));
    EXPECT_GE(lines.Count(), 1) << name;
    EXPECT_FALSE(ReadJokeDescription(std::string("c:\\") + name).empty()) << name;
  }
}

}  // namespace
