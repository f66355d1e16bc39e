#include <gtest/gtest.h>

#include <stdexcept>

#include "formats/jpeg_scans.h"
#include "formats/testing/jpeg_scans_file.h"
#include "graphics/exceptions.h"
#include "graphics/jpeg_format.h"
#include "graphics/palettes.h"
#include "host/testing/resource_use.h"
#include "jpeg_test_files.h"
#include "vcl/testing/dialogs.h"

namespace {

std::string ReadFault(const std::string& bytes, TPGWarningAction action) {
  TPixelGraphic image;
  image.SetReadWarningAction(action);
  TMemoryStream stream;
  FillJPEGStream(stream, bytes);
  try {
    TJPGFileFormatReader().Read(&stream, &image, 0);
  } catch (const EPGJPGFileFormatReaderWriter& e) {
    return e.Message;
  }
  return "(no error)";
}

TEST(JpegReaderTest, ColourFilesAreTrueColourAndGreyFilesUseTheGreyPalette) {
  TJPEGFile colour;
  colour.Width = 16, colour.Height = 16;
  colour.Sample = [](int x, int, int c) {
    return static_cast<unsigned char>(x < 8 ? (c == 0 ? 250 : 5) : (c == 2 ? 250 : 5));
  };
  TMemoryStream stream;
  FillJPEGStream(stream, colour.Bytes());
  TPixelGraphic image;
  image.LoadFromStreamExt(&stream, "xyz", 0);
  ASSERT_EQ(image.GetBitCount(), pgbc24);
  EXPECT_EQ(image.GetWidth(), 16);
  const TColor red = image.GetPixelColor(2, 5), blue = image.GetPixelColor(13, 5);
  EXPECT_GT(RedOf(red), 240);
  EXPECT_LT(BlueOf(red), 15);
  EXPECT_GT(BlueOf(blue), 240);
  EXPECT_LT(RedOf(blue), 15);
  EXPECT_EQ(image.Gamma(), PGDisplayGamma);

  TJPEGFile grey;
  grey.Components = 1, grey.Space = JCS_GRAYSCALE, grey.Height = 3;
  grey.Sample = [](int x, int y, int) { return static_cast<unsigned char>(x * 30 + y); };
  FillJPEGStream(stream, grey.Bytes());
  image.LoadFromStream(&stream);
  EXPECT_EQ(image.GetBitCount(), pgbc8);
  EXPECT_EQ(image.PaletteIdent(), pGray256);
  EXPECT_NEAR(static_cast<int>(image.GetPixel(7, 0)), 210, 3);
  EXPECT_NEAR(static_cast<int>(image.GetPixel(0, 2)), 2, 3);
}

TEST(JpegReaderTest, GetInfoNamesMarkersColourSpaceAndScanMode) {
  TJPEGFile progressive;
  progressive.Progressive = true, progressive.Width = 33, progressive.Height = 7;
  TJPEGFile cmyk;
  cmyk.Components = 4, cmyk.Space = JCS_CMYK, cmyk.WriteJFIF = false, cmyk.WriteAdobe = true;
  TJPEGFile grey;
  grey.Components = 1, grey.Space = JCS_GRAYSCALE;
  struct Case {
    std::string bytes;
    const char* sub;
    const char* colors;
    int bits;
  };
  for (const Case& c :
       {Case{progressive.Bytes(), "JFIF, YCbCr, Progressive", "16.7M", 24},
        Case{cmyk.Bytes(), "Adope, CMYK", "4294.9M", 32}, Case{grey.Bytes(), "JFIF, GrayScale", "256", 8}}) {
    TMemoryStream stream;
    FillJPEGStream(stream, c.bytes);
    TPGImageInfo info;
    TJPGFileFormatReader().GetInfo(&stream, 0, info);
    EXPECT_EQ(info.SubFormatText, c.sub);
    EXPECT_EQ(info.ColorsText, c.colors);
    EXPECT_EQ(info.BitsPerPixel, c.bits);
    EXPECT_EQ(info.ImageCount, 1);
    EXPECT_EQ(info.DetailsText, "");
  }
  TMemoryStream stream;
  FillJPEGStream(stream, progressive.Bytes());
  TPGImageInfo info;
  TJPGFileFormatReader().GetInfo(&stream, 0, info);
  EXPECT_EQ(info.Width, 33);
  EXPECT_EQ(info.Height, 7);

  EXPECT_EQ(ReadFault(cmyk.Bytes(), pgwaRaise), "JPG: Not supported subformat");
  try {
    TJPGFileFormatReader().GetInfo(&stream, 1, info);
    FAIL();
  } catch (const EPGJPGFileFormatReaderWriter& e) {
    EXPECT_EQ(e.Message, "JPG: Invalid value for Index");
  }
  TPixelGraphic image;
  try {
    TJPGFileFormatReader().Read(&stream, &image, 1);
    FAIL();
  } catch (const EPGJPGFileFormatReaderWriter& e) {
    EXPECT_EQ(e.Message, "JPG: Index invalid");
  }
}

TEST(JpegReaderTest, ATruncatedFileWarnsOnceAsTheImageAsks) {
  TJPEGFile file;
  file.Width = 64, file.Height = 64;
  const std::string full = file.Bytes();
  const std::string cut = full.substr(0, full.size() / 2);
  EXPECT_EQ(ReadFault(cut, pgwaIgnore), "(no error)");
  EXPECT_EQ(ReadFault(cut, pgwaRaise), "JPG: Premature end of JPEG file");
  {
    TDialogRecorder dialogs(mrOk);
    EXPECT_EQ(ReadFault(cut, pgwaOKBox), "(no error)");
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].Kind, TDialogRequest::dkMessageBox);
    EXPECT_EQ(dialogs.Calls()[0].Text, "Premature end of JPEG file");
    EXPECT_EQ(dialogs.Calls()[0].Caption, "JPG Warning");
    EXPECT_EQ(dialogs.Calls()[0].Flags, static_cast<UINT>(MB_ICONWARNING));
  }
  {
    TDialogRecorder dialogs(mrCancel);
    EXPECT_EQ(ReadFault(cut, pgwaOKCancelBox), "JPG: Operation aborted on user request");
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].Flags, 49u);
  }
  EXPECT_EQ(ReadFault("", pgwaIgnore), "JPG: Empty input file");
  EXPECT_EQ(ReadFault("\xFF\xD8\xFF\xC0", pgwaIgnore).rfind("JPG: ", 0), 0u);
}

TEST(JpegReaderTest, AnAbortEndsTheProgressThenFailsForTooFewScanlines) {
  TJPEGFile file;
  file.Height = 20;
  TMemoryStream stream;
  FillJPEGStream(stream, file.Bytes());
  TPixelGraphic image;
  std::vector<std::string> events;
  image.OnProgressStart = [&](TObject*) { events.push_back("start"); };
  image.OnProgress = [&](TObject*, int step, int max, bool& abort) {
    events.push_back(std::to_string(step) + "/" + std::to_string(max));
    abort = step == 2;
  };
  image.OnProgressEnd = [&](TObject*) { events.push_back("end"); };
  try {
    TJPGFileFormatReader().Read(&stream, &image, 0);
    FAIL();
  } catch (const EPGJPGFileFormatReaderWriter& e) {
    EXPECT_EQ(e.Message, "JPG: Application transferred too few scanlines");
  }
  EXPECT_EQ(events, (std::vector<std::string>{"start", "1/20", "2/20", "end"}));

  // An exception of the handler itself passes through unchanged, after the end event.
  events.clear();
  stream.SetPosition(0);
  image.OnProgress = [&](TObject*, int, int, bool&) { throw std::runtime_error("stop"); };
  EXPECT_THROW(TJPGFileFormatReader().Read(&stream, &image, 0), std::runtime_error);
  EXPECT_EQ(events, (std::vector<std::string>{"start", "end"}));
}

class TFailingStream : public TMemoryStream {
 public:
  std::int64_t Read(void* Buffer, std::int64_t Count) override {
    if (Position() > 0) throw EReadError("Stream read error");
    return TMemoryStream::Read(Buffer, std::min<std::int64_t>(Count, 100));
  }
};

TEST(JpegReaderTest, StreamErrorsAndOversizedHeadersRaiseTheirOwnErrors) {
  TJPEGFile file;
  file.Width = 64, file.Height = 64;
  const std::string bytes = file.Bytes();
  TFailingStream failing;
  failing.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  failing.SetPosition(0);
  TPixelGraphic image;
  EXPECT_THROW(TJPGFileFormatReader().Read(&failing, &image, 0), EReadError);

  // 60000 x 60000 in the frame header: the image's size limit refuses it.
  std::string huge = bytes;
  const std::size_t sof = huge.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = huge[sof + 7] = static_cast<char>(60000 >> 8);
  huge[sof + 6] = huge[sof + 8] = static_cast<char>(60000 & 0xFF);
  TMemoryStream stream;
  FillJPEGStream(stream, huge);
  try {
    TJPGFileFormatReader().Read(&stream, &image, 0);
    FAIL();
  } catch (const EPixelGraphic& e) {
    EXPECT_EQ(e.Message, "CreateDIBSection failed");
  }
}

// A file of far more scans than the limit is refused as corrupt after the limit, at a cost close
// to that of a file whose scans the limit lets through, measured in the same run.
TEST(JpegReaderTest, AFileOfTooManyScansIsCorruptAndCostsNoMoreThanTheScansAllowed) {
  constexpr int kHostileScans = 50000;
  constexpr double kSlack = 10;
  TJPEGFile file;
  file.Width = 512, file.Height = 512;
  file.Progressive = true;
  const std::string picture = file.Bytes();
  const auto decode = [](const std::string& bytes) {
    return MeasureInChild([&] { return ReadFault(bytes, pgwaIgnore); });
  };
  const ResourceUse allowed = decode(WithEmptyScans(picture, jpeg::kMaxScans / 2));
  ASSERT_EQ(allowed.Outcome, "(no error)");
  const ResourceUse hostile = decode(WithEmptyScans(picture, kHostileScans));
  EXPECT_EQ(hostile.Outcome, "JPG: Corrupt JPEG data: more than " + std::to_string(jpeg::kMaxScans) + " scans");
  EXPECT_LT(hostile.Seconds, kSlack * allowed.Seconds) << "against " << allowed.Seconds << " s";
}

}  // namespace
