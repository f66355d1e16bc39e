#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vcl/collections.h"
#include "vcl/formreader.h"
#include "vcl/formwriter.h"
#include "vcl/strings.h"
#include "vcl/typinfo.h"

namespace {

enum TTestShape { tsRound, tsSquare };
const TTypeInfo TypeInfo_TTestShape{"TTestShape", tkEnumeration, {"tsRound", "tsSquare"}};
const TTypeInfo TypeInfo_TTestShapes{"TTestShapes", tkSet, {"tsRound", "tsSquare"}};

class TWriterItem : public TCollectionItem {
 public:
  VCL_CLASS_INFO
  using TCollectionItem::TCollectionItem;
  int Width = 50;
  std::string Text;
  int Shape = tsRound;
  int Shapes = 0;
  long double Ratio = 0;
  bool Flag = false;
};

const TClassInfo& TWriterItem::StaticClassInfo() {
  using C = TWriterItem;
  static const TClassInfo info(
      "TWriterItem", &TCollectionItem::StaticClassInfo(),
      {OrdProperty<C>("Width", TypeInfo_Integer, &C::Width, &C::Width, 50), StrProperty<C>("Text", &C::Text, &C::Text),
       OrdProperty<C>("Shape", TypeInfo_TTestShape, &C::Shape, &C::Shape, tsRound),
       OrdProperty<C>("Shapes", TypeInfo_TTestShapes, &C::Shapes, &C::Shapes, 0),
       FloatProperty<C>("Ratio", TypeInfo_Extended, &C::Ratio, &C::Ratio),
       OrdProperty<C>("Flag", TypeInfo_Boolean, &C::Flag, &C::Flag, false)});
  return info;
}

TEST(TWriter, ValuesReadBackThroughTheReader) {
  TMemoryStream stream;
  TWriter writer(&stream);
  const std::vector<std::int64_t> integers = {0,          -128,        127, 128, -32768, 40000, -2147483647 - 1,
                                              2147483647, 5000000000LL};
  writer.WriteListBegin();
  for (std::int64_t v : integers) writer.WriteInteger(v);
  writer.WriteListEnd();
  writer.WriteString("");
  writer.WriteString("short");
  writer.WriteString(std::string(300, 'x'));
  writer.WriteBoolean(true);
  writer.WriteBoolean(false);
  writer.WriteFloat(-2.5L);
  writer.WriteIdent("clRed");
  writer.WriteIdent("True");
  writer.WriteChar('A');
  writer.WriteSet({"tsRound", "tsSquare"});

  stream.SetPosition(0);
  TReader reader(&stream);
  reader.ReadListBegin();
  for (std::int64_t v : integers) EXPECT_EQ(reader.ReadInt64(), v);
  reader.ReadListEnd();
  EXPECT_EQ(reader.ReadString(), "");
  EXPECT_EQ(reader.ReadString(), "short");
  EXPECT_EQ(reader.NextValue(), vaLString);
  EXPECT_EQ(reader.ReadString(), std::string(300, 'x'));
  EXPECT_TRUE(reader.ReadBoolean());
  EXPECT_FALSE(reader.ReadBoolean());
  EXPECT_EQ(reader.ReadFloat(), -2.5L);
  EXPECT_EQ(reader.ReadIdent(), "clRed");
  EXPECT_EQ(reader.ReadIdent(), "True");
  EXPECT_EQ(reader.ReadChar(), 'A');
  EXPECT_EQ(reader.ReadSetNames(), (std::vector<std::string>{"tsRound", "tsSquare"}));
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(TWriter, IntegersTakeTheSmallestTag) {
  TMemoryStream stream;
  TWriter writer(&stream);
  writer.WriteInteger(-1);
  writer.WriteInteger(300);
  writer.WriteInteger(70000);
  const std::vector<std::uint8_t> expected = {vaInt8, 0xFF, vaInt16, 0x2C, 0x01, vaInt32, 0x70, 0x11, 0x01, 0x00};
  ASSERT_EQ(stream.Size(), static_cast<std::int64_t>(expected.size()));
  const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
  EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + stream.Size()), expected);
}

TEST(TWriter, BinaryDataIsItsFourByteSizeAndItsBytes) {
  TMemoryStream stream;
  TWriter writer(&stream);
  writer.WriteBinary([](TStream* Data) { Data->WriteBuffer("abc", 3); });
  writer.WriteBinary(nullptr);
  const std::vector<std::uint8_t> expected = {vaBinary, 3, 0, 0, 0, 'a', 'b', 'c', vaBinary, 0, 0, 0, 0};
  const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
  EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + stream.Size()), expected);
}

TEST(TWriter, CollectionsReadBackItemByItem) {
  TCollection source(TCollectionItemClass::Of<TWriterItem>());
  auto* first = static_cast<TWriterItem*>(source.Add());
  first->Text = "one";
  first->Shape = tsSquare;
  first->Shapes = 3;
  first->Ratio = 0.125L;
  first->Flag = true;
  auto* second = static_cast<TWriterItem*>(source.Add());
  second->Width = 7;

  TMemoryStream stream;
  TWriter writer(&stream);
  writer.WriteCollection(&source);
  stream.SetPosition(0);
  TReader reader(&stream);
  ASSERT_EQ(reader.ReadValue(), vaCollection);
  TCollection copy(TCollectionItemClass::Of<TWriterItem>());
  copy.Add();  // replaced
  reader.ReadCollection(&copy);
  ASSERT_EQ(copy.Count(), 2);
  auto* a = static_cast<TWriterItem*>(copy.Items(0));
  auto* b = static_cast<TWriterItem*>(copy.Items(1));
  EXPECT_EQ(a->Text, "one");
  EXPECT_EQ(a->Width, 50);
  EXPECT_EQ(a->Shape, tsSquare);
  EXPECT_EQ(a->Shapes, 3);
  EXPECT_EQ(a->Ratio, 0.125L);
  EXPECT_TRUE(a->Flag);
  EXPECT_EQ(b->Width, 7);
  EXPECT_EQ(b->Text, "");
  EXPECT_EQ(stream.Position(), stream.Size());
}

// Records what a persistent defines for itself, as the settings store's filer does.
class TRecordingFiler : public TFiler {
 public:
  TWriterProc writer;
  TReaderProc reader;
  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool) override {
    if (Name == "Strings") {
      reader = ReadData;
      writer = WriteData;
    }
  }
  void DefineBinaryProperty(const std::string&, TStreamProc, TStreamProc, bool) override {}
  void FlushBuffer() override {}
};

TEST(TWriter, StringListsWriteTheirStringsList) {
  TStringList lines;
  lines.SetText("first\r\nsecond\r\n\r\nlast");
  TRecordingFiler filer;
  filer.DefinePropertiesOf(&lines);
  ASSERT_TRUE(filer.writer);
  TMemoryStream stream;
  TWriter writer(&stream);
  filer.writer(&writer);

  TStringList copy;
  copy.Add("old");
  TRecordingFiler copyFiler;
  copyFiler.DefinePropertiesOf(&copy);
  stream.SetPosition(0);
  TReader reader(&stream);
  copyFiler.reader(&reader);
  EXPECT_EQ(copy.Text(), lines.Text());
  EXPECT_EQ(copy.Count(), 4);
}

}  // namespace
