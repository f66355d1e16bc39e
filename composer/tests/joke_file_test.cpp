#include <gtest/gtest.h>

#include <set>

#include "composer/joke_file.h"
#include "composer/logo_composer.h"
#include "composer_test_support.h"
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
