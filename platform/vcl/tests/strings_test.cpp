#include <gtest/gtest.h>

#include "vcl/streams.h"
#include "vcl/strings.h"

namespace {

std::vector<std::string> Lines(const TStrings& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
  return lines;
}

using V = std::vector<std::string>;

}  // namespace

TEST(StringListText, SplitsAtCrLfOrCrLfWithoutATrailingEmptyLine) {
  struct Case {
    std::string text;
    V lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\rc", {"a", "b", "c"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"\r\n", {""}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\n\n", {"a", ""}},
      {"  [Data] \r\n;x", {"  [Data] ", ";x"}},
      {std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(Lines(list), c.lines) << c.text;
  }
}

TEST(StringListText, JoinsEveryLineWithCrLfAndRoundTrips) {
  TStringList list;
  list.Add("Q: why");
  list.Add("");
  list.Add("A: because");
  EXPECT_EQ(list.Text(), "Q: why\r\n\r\nA: because\r\n");
  TStringList copy;
  copy.SetText(list.Text());
  EXPECT_EQ(Lines(copy), Lines(list));
  TStringList empty;
  EXPECT_EQ(empty.Text(), "");
}

TEST(TStringList, IndexOfIgnoresCase) {
  TStringList list;
  list.SetText("Alpha\r\n[DATA]\r\nbeta");
  EXPECT_EQ(list.IndexOf("[Data]"), 1);
  EXPECT_EQ(list.IndexOf("BETA"), 2);
  EXPECT_EQ(list.IndexOf("gamma"), -1);
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (V{"Alpha", "beta", "[DATA]"}));
  EXPECT_EQ(list.IndexOf("[data]"), 2);
  EXPECT_EQ(list.IndexOf("ALPHA"), 0);
}

TEST(TStringList, SortedListsKeepOrderAndDuplicatesDecide) {
  struct Case {
    TDuplicates duplicates;
    V expected;
    bool raises;
  };
  const Case cases[] = {
      {dupIgnore, {"a", "B", "c"}, false}, {dupAccept, {"a", "b", "B", "c"}, false}, {dupError, {"a", "B", "c"}, true}};
  for (const Case& c : cases) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(c.duplicates);
    list.Add("c");
    list.Add("B");
    list.Add("a");
    if (c.raises) EXPECT_THROW(list.Add("b"), EStringListError);
    else
      list.Add("b");
    EXPECT_EQ(Lines(list), c.expected);
  }
  TStringList sorted;
  sorted.SetSorted(true);
  EXPECT_THROW(sorted.Insert(0, "x"), EStringListError);
  int index = -1;
  sorted.Add("m");
  EXPECT_FALSE(sorted.Find("z", index));
  EXPECT_EQ(index, 1);
}

TEST(TStringList, IndexErrorsNameTheIndex) {
  TStringList list;
  list.Add("x");
  try {
    list.Get(3);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (3)");
  }
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(2, "y"), EStringListError);
}

TEST(TStringList, ObjectsTravelWithTheirLines) {
  TStringList list, other;
  TStringList a, b;
  list.AddObject("b", &b);
  list.AddObject("a", &a);
  list.SetSorted(true);
  EXPECT_EQ(list.Objects(0), &a);
  EXPECT_EQ(list.IndexOfObject(&b), 1);
  other.Assign(&list);
  EXPECT_EQ(other.Objects(1), &b);
  EXPECT_EQ(Lines(other), (V{"a", "b"}));
}

TEST(TStringList, NamesAndValues) {
  TStringList list;
  list.SetText("Left=10\r\nnoequals\r\nTop=2=3");
  EXPECT_EQ(list.Names(0), "Left");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.Values("TOP"), "2=3");
  EXPECT_EQ(list.Values("Width"), "");
  list.SetValue("left", "20");
  EXPECT_EQ(list.Get(0), "left=20");
  list.SetValue("Width", "5");
  EXPECT_EQ(list.Get(3), "Width=5");
  list.SetValue("Top", "");
  EXPECT_EQ(Lines(list), (V{"left=20", "noequals", "Width=5"}));
}

TEST(TStringList, CommaText) {
  struct Case {
    V lines;
    std::string text;
  };
  const Case cases[] = {{{"a", "b"}, "a,b"},
                        {{"a b", "c,d", "say \"hi\""}, "\"a b\",\"c,d\",\"say \"\"hi\"\"\""},
                        {{""}, "\"\""},
                        {{"a", ""}, "a,"},
                        {{}, ""}};
  for (const Case& c : cases) {
    TStringList list;
    for (const auto& line : c.lines) list.Add(line);
    EXPECT_EQ(list.CommaText(), c.text);
  }
  struct Parse {
    std::string text;
    V lines;
  };
  const Parse parses[] = {{"a,b", {"a", "b"}},
                          {" a , b ", {"a", "b"}},
                          {"a b", {"a", "b"}},
                          {"a,,b", {"a", "", "b"}},
                          {"\"a b\",\"c \"\"d\"\"\"", {"a b", "c \"d\""}},
                          {"\"open", {"open"}},
                          {"a,", {"a"}}};
  for (const Parse& p : parses) {
    TStringList list;
    list.SetCommaText(p.text);
    EXPECT_EQ(Lines(list), p.lines) << p.text;
  }
}

TEST(TStringList, BeginUpdateGivesOneChangeAtTheEnd) {
  TStringList list;
  int changes = 0, changings = 0;
  list.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changes;
  };
  list.OnChanging = [&](TObject*) { ++changings; };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(changings, 1);
  list.SetText("x\r\ny\r\nz");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(changings, 2);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
  list.EndUpdate();
  EXPECT_EQ(changes, 3);
}

TEST(TStringList, StreamsRoundTrip) {
  TMemoryStream stream;
  TStringList list;
  list.SetText("one\ntwo");
  list.SaveToStream(&stream);
  EXPECT_EQ(stream.Size(), 10);
  stream.SetPosition(0);
  TStringList back;
  back.LoadFromStream(&stream);
  EXPECT_EQ(Lines(back), (V{"one", "two"}));
}
