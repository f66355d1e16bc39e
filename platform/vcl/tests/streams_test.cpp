#include <gtest/gtest.h>

#include <cstring>

#include "vcl/streams.h"

TEST(TMemoryStream, GrowsOnWriteAndSeeksFromEachOrigin) {
  TMemoryStream stream;
  stream.WriteBuffer("abcdef", 6);
  EXPECT_EQ(stream.Size(), 6);
  EXPECT_EQ(stream.Seek(-2, soFromEnd), 4);
  EXPECT_EQ(stream.Seek(-1, soFromCurrent), 3);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 3);
  EXPECT_STREQ(buffer, "def");
  stream.SetPosition(8);
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(stream.Size(), 9);
  EXPECT_EQ(static_cast<const char*>(stream.Memory())[6], '\0');
  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 2);
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
}

TEST(TStream, ShortReadsAndWritesRaiseTheBufferErrors) {
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  stream.SetPosition(1);
  char buffer[4];
  try {
    stream.ReadBuffer(buffer, 3);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "Stream read error");
  }
  stream.SetPosition(-5);
  EXPECT_EQ(stream.Read(buffer, 1), 0);
  EXPECT_NO_THROW(stream.ReadBuffer(buffer, 0));

  char block[4] = {'1', '2', '3', '4'};
  TCustomMemoryStream fixed;
  fixed.SetPointer(block, sizeof block);
  fixed.WriteBuffer("xy", 2);
  EXPECT_EQ(std::memcmp(block, "xy34", 4), 0);
  try {
    fixed.WriteBuffer("abc", 3);
    FAIL();
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message, "Stream write error");
  }
  EXPECT_EQ(std::memcmp(block, "xyab", 4), 0);
  fixed.SetPosition(0);
  EXPECT_EQ(fixed.Read(buffer, 10), 4);
}

TEST(TStream, CopyFromTakesCountBytesOrTheWholeSource) {
  TMemoryStream source, target;
  std::vector<char> data(100000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  source.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
  EXPECT_EQ(target.CopyFrom(&source, 0), 100000);
  EXPECT_EQ(std::memcmp(target.Memory(), data.data(), data.size()), 0);
  source.SetPosition(99990);
  TMemoryStream tail;
  EXPECT_EQ(tail.CopyFrom(&source, 10), 10);
  EXPECT_EQ(std::memcmp(tail.Memory(), data.data() + 99990, 10), 0);
  source.SetPosition(99995);
  EXPECT_THROW(tail.CopyFrom(&source, 10), EReadError);
}
