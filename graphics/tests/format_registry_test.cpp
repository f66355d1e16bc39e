#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>

#include "bmp_test_files.h"
#include "graphics/exceptions.h"
#include "graphics/file_formats.h"
#include "graphics/palettes.h"
#include "vcl/testing/dialogs.h"
#include "vcl/streams.h"
#include "vcl/typinfo.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

// A reader recognised by "FAKE" (or, without a signature, by its extension) whose Read runs OnRead.
class TFakeReader : public TFileFormatReader {
 public:
  TFakeReader(std::string ext, bool signature) {
    Extension = std::move(ext);
    Description = "Fake";
    HasSignature = signature;
  }
  bool CheckHeader(const std::uint8_t* header) override {
    LastHeader.assign(header, header + kPGSignatureSize);
    return std::string(header, header + 4) == "FAKE";
  }
  void Read(TStream*, TPixelGraphic* graphic, int) override { OnRead(*graphic); }
  std::function<void(TPixelGraphic&)> OnRead = [](TPixelGraphic& g) { g.SetSize(1, 1, pgbc24); };
  std::vector<std::uint8_t> LastHeader;
};

// A writer that keeps what it was given; Fail makes it write a little and then raise.
class TFakeWriter : public TFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TFakeWriter(std::string ext, TPGColorResolutions can) {
    Extension = std::move(ext);
    Description = "Fake";
    CanWriteResolutions = can;
  }
  void Write(TStream* stream, TPixelGraphic* graphic) override {
    stream->WriteBuffer("partial", 7);
    if (Fail) throw Exception("disk full");
    Written.Assign(graphic);
  }
  bool Fail = false;
  TPixelGraphic Written;
};

const TClassInfo& TFakeWriter::StaticClassInfo() {
  static const TClassInfo info("TFakeWriter", &TFileFormatWriter::StaticClassInfo());
  return info;
}

// Puts codecs into the lists for one test.
template <class T>
struct TRegistered {
  TRegistered(TList* list, T* object) : list_(list), object_(object) { list_->Add(object); }
  ~TRegistered() {
    list_->Remove(object_);
    delete object_;
  }
  T* operator->() { return object_; }
  TList* list_;
  T* object_;
};

TMemoryStream* StreamOf(TMemoryStream& stream, const std::string& bytes) {
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  return &stream;
}

TEST(FormatRegistryTest, ListsAreSortedByExtensionAndExtensionsAreLowerCase) {
  const int readers = FileFormatReaders->Count();
  TRegistered<TFakeReader> late(FileFormatReaders, new TFakeReader("abc", false));
  SortFileFormatReaders();
  std::vector<std::string> order;
  for (int i = 0; i < FileFormatReaders->Count(); ++i)
    order.push_back(static_cast<TFileFormatReader*>(FileFormatReaders->Items(i))->Extension);
  ASSERT_EQ(static_cast<int>(order.size()), readers + 1);
  EXPECT_EQ(order.front(), "abc");
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  for (const char* ext : {"bmp", "dib", "rle"})
    EXPECT_NE(std::find(order.begin(), order.end(), ext), order.end()) << ext;
  EXPECT_EQ(ExtractFileFormatExt("C:\\Pics\\Logo.SYS"), "sys");
  EXPECT_EQ(ExtractFileFormatExt("noext"), "");
}

TEST(FormatRegistryTest, SignaturesComeBeforeExtensionsAndShortStreamsReadAsZeros) {
  TRegistered<TFakeReader> byExtension(FileFormatReaders, new TFakeReader("fkx", false));
  TRegistered<TFakeReader> bySignature(FileFormatReaders, new TFakeReader("fak", true));
  TMemoryStream a, b, c, d;
  TInfoHeaderFile bmp;
  EXPECT_EQ(FindFileFormatReader(StreamOf(a, "FAKE and more"), "bmp"), bySignature.object_);
  EXPECT_EQ(FindFileFormatReader(StreamOf(b, bmp.Bytes("")), ".fkx")->Extension, "bmp");
  EXPECT_EQ(FindFileFormatReader(StreamOf(c, "xy"), "FKX"), byExtension.object_);
  EXPECT_EQ(bySignature->LastHeader,
            (std::vector<std::uint8_t>{'x', 'y', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(c.Position(), 0);
  EXPECT_EQ(FindFileFormatReader(StreamOf(d, "xy"), ""), nullptr);

  TPixelGraphic image;
  try {
    LoadBytes(image, "no picture here");
    FAIL();
  } catch (const EPGUnknownFileFormat& e) {
    EXPECT_EQ(e.Message, "Unknown file format");
  }
}

TEST(FormatRegistryTest, GammaIsCorrectedPastFivePercentAndOnlyForUsableValues) {
  TRegistered<TFakeReader> reader(FileFormatReaders, new TFakeReader("fak", true));
  long double gamma = 0;
  reader->OnRead = [&](TPixelGraphic& g) {
    g.SetSize(1, 1, pgbc24);
    g.SetPixel(0, 0, static_cast<std::uint32_t>(RGBToColor(128, 0, 255)));
    g.SetGamma(gamma);
  };
  const std::pair<long double, int> cases[] = {
      {2.2L, static_cast<int>(std::nearbyint(255 * std::pow(128 / 255.0L, 2.2L / 1.8L)))},
      {1.85L, 128},
      {std::nanl(""), 128},
      {-1, 128},
      {0, 128},
  };
  for (auto [value, red] : cases) {
    gamma = value;
    TPixelGraphic image;
    LoadBytes(image, "FAKE");
    EXPECT_EQ(RedOf(image.GetPixelColor(0, 0)), red) << static_cast<double>(value);
    EXPECT_EQ(BlueOf(image.GetPixelColor(0, 0)), 255);
    // A corrected image is at the display gamma; the others keep what the file said.
    if (value == 2.2L) {
      EXPECT_EQ(image.Gamma(), PGDisplayGamma);
    }
  }
}

class FormatSavingTest : public MachineRootTest {};

TEST_F(FormatSavingTest, DowngradesWarnAndConvertThroughTheFallbackOrder) {
  TRegistered<TFakeWriter> bilevelWriter(FileFormatWriters, new TFakeWriter("fbw", {pgcrBlackWhite}));
  TRegistered<TFakeWriter> greyWriter(FileFormatWriters, new TFakeWriter("fgt", {pgcr256Grays, pgcrTrueColor}));
  TPixelGraphic colour;
  colour.SetSize(4, 2, pgbc24);
  colour.Clear();
  for (int x = 0; x < 4; ++x) colour.SetPixel(x, 0, 0x808080);
  TDialogRecorder dialogs(mrOk);
  colour.SaveToFile("C:\\x.fbw");
  ASSERT_EQ(dialogs.Calls().size(), 1u);
  EXPECT_EQ(dialogs.Calls()[0].Text,
            "The graphic cannot be saved to a Fake file with the current color resolution (16.7 million colors).\r\r"
            "The graphic will be saved with a different color resolution (black and white).");
  EXPECT_EQ(dialogs.Calls()[0].DlgType, mtWarning);
  EXPECT_TRUE(dialogs.Calls()[0].Buttons.Contains(mbCancel));
  EXPECT_EQ(bilevelWriter->Written.GetBitCount(), pgbc1);
  EXPECT_EQ(bilevelWriter->Written.PaletteIdent(), pBlackWhite);
  EXPECT_EQ(colour.GetBitCount(), pgbc24);  // the image itself is unchanged

  TPixelGraphic grey;
  grey.SetSize(2, 2, pgbc8);
  grey.SetPaletteIdent(pGray256);
  grey.SaveToFile("C:\\grey.fgt");
  EXPECT_EQ(greyWriter->Written.GetBitCount(), pgbc8);
  TPixelGraphic other;
  other.SetSize(2, 2, pgbc8);
  other.SetPaletteCount(3);
  other.SetSaveColorResWarningAction(pgwaOKBox);
  other.SaveToFile("C:\\other.fgt");
  EXPECT_EQ(greyWriter->Written.GetBitCount(), pgbc24);
  EXPECT_FALSE(dialogs.Calls().back().Buttons.Contains(mbCancel));
  EXPECT_EQ(dialogs.Calls().size(), 2u);
}

TEST_F(FormatSavingTest, RefusalsLeaveNoFileBehind) {
  TRegistered<TFakeWriter> bilevelWriter(FileFormatWriters, new TFakeWriter("fbw", {pgcrBlackWhite}));
  TRegistered<TFakeWriter> none(FileFormatWriters, new TFakeWriter("non", {}));
  TPixelGraphic image;
  image.SetSize(2, 2, pgbc24);
  TDialogRecorder dialogs(mrCancel);
  EXPECT_THROW(image.SaveToFile("C:\\cancelled.fbw"), EPGCannotWriteColorRes);
  image.SetSaveColorResWarningAction(pgwaRaise);
  try {
    image.SaveToFile("C:\\raised.fbw");
    FAIL();
  } catch (const EPGCannotWriteColorRes& e) {
    EXPECT_EQ(
        e.Message,
        "The graphic cannot be saved with to a Fake file with the current color resolution (16.7 million colors)");
  }
  EXPECT_EQ(dialogs.Calls().size(), 1u);
  try {
    image.SaveToFile("C:\\x.XYZ");
    FAIL();
  } catch (const EPGUnknownExtension& e) {
    EXPECT_EQ(e.Message, "Unknown file extension \"xyz\"");
  }
  try {
    image.SaveToFile("C:\\x.non");
    FAIL();
  } catch (const EPGCanWriteResolutionsEmpty& e) {
    EXPECT_EQ(e.Message, "TFakeWriter.CanWriteResolutions is empty");
  }
  for (const char* name : {"cancelled.fbw", "raised.fbw", "x.XYZ", "x.non"})
    EXPECT_FALSE(std::filesystem::exists(root.DriveC() / name)) << name;
}

TEST_F(FormatSavingTest, AFailedWriteKeepsTheOldFileAndMakesNoNewOne) {
  TRegistered<TFakeWriter> writer(FileFormatWriters, new TFakeWriter("fak", {pgcrTrueColor}));
  writer->Fail = true;
  std::ofstream(root.DriveC() / "old.fak") << "the old content";
  TPixelGraphic image;
  image.SetSize(1, 1, pgbc24);
  EXPECT_THROW(image.SaveToFile("C:\\old.fak"), Exception);
  std::ifstream in(root.DriveC() / "old.fak");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the old content");
  EXPECT_THROW(image.SaveToFile("C:\\new.fak"), Exception);
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "new.fak"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.DriveC()), {}), 2);  // windows, old.fak
}

TEST_F(FormatSavingTest, AReadOnlyFileIsRefusedAsAFileCreateRefusesItAndKept) {
  std::ofstream(root.DriveC() / "logo.bmp") << "the old content";
  ASSERT_TRUE(SetFileAttributesA("c:\\logo.bmp", FILE_ATTRIBUTE_READONLY));
  TPixelGraphic image;
  image.SetSize(2, 2, pgbc24);
  try {
    image.SaveToFile("c:\\logo.bmp");
    ADD_FAILURE() << "a read-only file was replaced";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message, "Cannot create file c:\\logo.bmp");
  }
  std::ifstream in(root.DriveC() / "logo.bmp");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the old content");
  EXPECT_EQ(GetFileAttributesA("c:\\logo.bmp"), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

TEST(FormatRegistryTest, AnEmptyWriterListIsReported) {
  TList* kept = FileFormatWriters;
  TList empty;
  FileFormatWriters = &empty;
  TPixelGraphic image;
  TMemoryStream stream;
  try {
    image.SaveToStreamExt(&stream, "bmp");
    FileFormatWriters = kept;
    FAIL();
  } catch (const EPGFileFormatWritersEmpty& e) {
    EXPECT_EQ(e.Message, "FileFormatWriters is empty");
  }
  FileFormatWriters = kept;
}

}  // namespace
