// PCX, TGA, TIFF and portable-bitmap files written by Debian's own encoders (netpbm, ImageMagick,
// libtiff's tools) load through our readers to the pixels those tools' decoders give. Each case
// is skipped where one of its tools is absent.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/palettes.h"
#include "graphics/pixel_graphic.h"
#include "win32/testing/machine_root.h"

namespace {

const int kWidth = 37, kHeight = 23;

enum class Picture { Rgb, Grey, Bilevel };

// The source picture as a binary PPM, PGM or PBM file.
std::string SourceFile(Picture picture) {
  const std::string size = std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n";
  std::string file;
  if (picture == Picture::Bilevel) {
    file = "P4\n" + size;
    for (int y = 0; y < kHeight; ++y)
      for (int x0 = 0; x0 < kWidth; x0 += 8) {
        int byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
          const int x = x0 + bit;
          if (x < kWidth && (x * y + x / 3 + y) % 3 == 0) byte |= 0x80 >> bit;
        }
        file += static_cast<char>(byte);
      }
    return file;
  }
  file = (picture == Picture::Rgb ? "P6\n" : "P5\n") + size + "255\n";
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (picture == Picture::Grey) {
        file += static_cast<char>((x * 7 + y * 11) % 256);
      } else {
        file += static_cast<char>(x * 255 / (kWidth - 1));
        file += static_cast<char>(y * 255 / (kHeight - 1));
        file += static_cast<char>((x * y * 13 + x * 5) % 256);
      }
    }
  return file;
}

struct Decoded {
  int width = 0, height = 0;
  std::string rgb;
};

// A binary PBM, PGM or PPM file (samples of one byte, scaled from their maxval) as RGB bytes.
Decoded ParseNetpbm(const std::string& file) {
  std::size_t at = 2;
  auto number = [&]() {
    while (at < file.size() && (std::isspace(static_cast<unsigned char>(file[at])) || file[at] == '#')) {
      if (file[at] == '#')
        while (at < file.size() && file[at] != '\n') ++at;
      else
        ++at;
    }
    int value = 0;
    while (at < file.size() && std::isdigit(static_cast<unsigned char>(file[at])))
      value = value * 10 + (file[at++] - '0');
    return value;
  };
  Decoded d;
  if (file.size() < 2 || file[0] != 'P') return d;
  const char kind = file[1];
  d.width = number();
  d.height = number();
  const int maxval = kind == '4' ? 1 : number();
  ++at;  // the one whitespace byte before the samples
  if (maxval < 1 || maxval > 255) return {};
  auto sample = [&](std::size_t i) {
    const int v = i < file.size() ? static_cast<unsigned char>(file[i]) : 0;
    return static_cast<char>((v * 255 + maxval / 2) / maxval);
  };
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) {
      if (kind == '4') {
        const std::size_t i = at + static_cast<std::size_t>(y) * ((d.width + 7) / 8) + x / 8;
        const char v = i < file.size() && (file[i] & (0x80 >> (x % 8))) ? 0 : 255;
        d.rgb.append(3, v);
      } else if (kind == '5') {
        const std::size_t i = at + static_cast<std::size_t>(y) * d.width + x;
        d.rgb.append(3, sample(i));
      } else {
        const std::size_t i = at + 3 * (static_cast<std::size_t>(y) * d.width + x);
        for (std::size_t c = 0; c < 3; ++c) d.rgb += sample(i + c);
      }
    }
  return d;
}

// Runs a tool from its argument vector, its output to the file StdoutTo when one is named.
int RunTool(const std::vector<std::string>& argv, const std::string& stdoutTo) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    if (!stdoutTo.empty()) {
      const int out = open(stdoutTo.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out < 0) _exit(126);
      dup2(out, 1);
    }
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, 2);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// "@src", "@mid", "@out" and "@ref" in a step stand for the case's files.
struct Step {
  std::vector<std::string> argv;
  std::string stdoutTo;
};

struct Case {
  const char* name;
  Picture picture;
  const char* extension;  // of the encoded file, which our loader goes by only after signatures
  std::vector<Step> encode;
  Step decode;  // the tool's own decoder, writing "@ref"
};

const char* const kConvert = "/usr/bin/convert";

std::vector<Case> Cases() {
  const Step netpbmTga{{"/usr/bin/tgatoppm", "@out"}, "@ref"};
  const Step netpbmPcx{{"/usr/bin/pcxtoppm", "@out"}, "@ref"};
  const Step netpbmTiff{{"/usr/bin/tifftopnm", "@out"}, "@ref"};
  const Step netpbmPnm{{"/usr/bin/pamtopnm", "@out"}, "@ref"};
  const Step magick{{kConvert, "@out", "ppm:@ref"}, ""};
  return {
      {"NetpbmPcxRgb", Picture::Rgb, "pcx", {{{"/usr/bin/ppmtopcx", "@src"}, "@out"}}, netpbmPcx},
      {"NetpbmPcxGrey", Picture::Grey, "pcx", {{{"/usr/bin/ppmtopcx", "@src"}, "@out"}}, netpbmPcx},
      {"NetpbmPcxBilevel", Picture::Bilevel, "pcx", {{{"/usr/bin/ppmtopcx", "@src"}, "@out"}}, netpbmPcx},
      {"NetpbmTgaRgb", Picture::Rgb, "tga", {{{"/usr/bin/pamtotga", "-norle", "@src"}, "@out"}}, netpbmTga},
      {"NetpbmTgaRgbRle", Picture::Rgb, "tga", {{{"/usr/bin/pamtotga", "@src"}, "@out"}}, netpbmTga},
      {"NetpbmTgaGrey", Picture::Grey, "tga", {{{"/usr/bin/pamtotga", "-norle", "@src"}, "@out"}}, netpbmTga},
      {"NetpbmTgaGreyRle", Picture::Grey, "tga", {{{"/usr/bin/pamtotga", "@src"}, "@out"}}, netpbmTga},
      {"NetpbmTiffRgb", Picture::Rgb, "tif", {{{"/usr/bin/pnmtotiff", "@src"}, "@out"}}, netpbmTiff},
      {"NetpbmTiffRgbPackBits",
       Picture::Rgb,
       "tif",
       {{{"/usr/bin/pnmtotiff", "-packbits", "@src"}, "@out"}},
       netpbmTiff},
      {"NetpbmTiffGrey", Picture::Grey, "tif", {{{"/usr/bin/pnmtotiff", "@src"}, "@out"}}, netpbmTiff},
      {"NetpbmTiffGreyPackBits",
       Picture::Grey,
       "tif",
       {{{"/usr/bin/pnmtotiff", "-packbits", "@src"}, "@out"}},
       netpbmTiff},
      {"NetpbmTiffBilevel", Picture::Bilevel, "tif", {{{"/usr/bin/pnmtotiff", "@src"}, "@out"}}, netpbmTiff},
      {"NetpbmPlainPpm", Picture::Rgb, "ppm", {{{"/usr/bin/pnmtoplainpnm", "@src"}, "@out"}}, netpbmPnm},
      {"NetpbmPlainPgm", Picture::Grey, "pgm", {{{"/usr/bin/pnmtoplainpnm", "@src"}, "@out"}}, netpbmPnm},
      {"LibtiffPackBits",
       Picture::Rgb,
       "tif",
       {{{"/usr/bin/pnmtotiff", "@src"}, "@mid"}, {{"/usr/bin/tiffcp", "-c", "packbits", "@mid", "@out"}, ""}},
       netpbmTiff},
      {"LibtiffUncompressed",
       Picture::Rgb,
       "tif",
       {{{"/usr/bin/pnmtotiff", "-packbits", "@src"}, "@mid"}, {{"/usr/bin/tiffcp", "-c", "none", "@mid", "@out"}, ""}},
       netpbmTiff},
      {"LibtiffGreyPackBits",
       Picture::Grey,
       "tif",
       {{{"/usr/bin/pnmtotiff", "@src"}, "@mid"}, {{"/usr/bin/tiffcp", "-c", "packbits", "@mid", "@out"}, ""}},
       netpbmTiff},
      {"MagickPcx", Picture::Rgb, "pcx", {{{kConvert, "@src", "@out"}, ""}}, magick},
      {"MagickPcxGrey", Picture::Grey, "pcx", {{{kConvert, "@src", "@out"}, ""}}, magick},
      {"MagickPcxBilevel", Picture::Bilevel, "pcx", {{{kConvert, "@src", "@out"}, ""}}, magick},
      {"MagickTiffPackBits", Picture::Rgb, "tif", {{{kConvert, "@src", "-compress", "RLE", "@out"}, ""}}, magick},
      {"MagickTiffNone", Picture::Rgb, "tif", {{{kConvert, "@src", "-compress", "None", "@out"}, ""}}, magick},
      {"MagickTiffGreyPackBits", Picture::Grey, "tif", {{{kConvert, "@src", "-compress", "RLE", "@out"}, ""}}, magick},
      {"MagickPgm", Picture::Rgb, "pgm", {{{kConvert, "@src", "pgm:@out"}, ""}}, magick},
      {"MagickPbm", Picture::Rgb, "pbm", {{{kConvert, "@src", "pbm:@out"}, ""}}, magick},
  };
}

class CodecOutsideToolsTest : public MachineRootTest, public ::testing::WithParamInterface<Case> {
 protected:
  std::string Fill(std::string text, const std::string& out) const {
    const std::pair<const char*, std::string> names[] = {
        {"@src", (root.DriveC() / "source.pnm").string()},
        {"@mid", (root.DriveC() / "middle.tif").string()},
        {"@out", (root.DriveC() / out).string()},
        {"@ref", (root.DriveC() / "reference.ppm").string()},
    };
    for (const auto& [token, path] : names)
      for (std::size_t at; (at = text.find(token)) != std::string::npos;) text.replace(at, 4, path);
    return text;
  }
  bool RunStep(const Step& step, const std::string& out) const {
    std::vector<std::string> argv;
    for (const std::string& a : step.argv) argv.push_back(Fill(a, out));
    return RunTool(argv, step.stdoutTo.empty() ? "" : Fill(step.stdoutTo, out)) == 0;
  }
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_P(CodecOutsideToolsTest, OurReaderGivesTheToolsOwnPixels) {
  const Case& c = GetParam();
  for (const Step* step : {&c.decode, &c.encode.front(), &c.encode.back()})
    if (!std::filesystem::exists(step->argv.front())) GTEST_SKIP() << "no " << step->argv.front();
  const std::string out = std::string("encoded.") + c.extension;
  std::ofstream(root.DriveC() / "source.pnm", std::ios::binary) << SourceFile(c.picture);
  for (const Step& step : c.encode) ASSERT_TRUE(RunStep(step, out)) << step.argv.front();
  ASSERT_TRUE(RunStep(c.decode, out)) << c.decode.argv.front();
  const Decoded expected = ParseNetpbm(ReadFile(root.DriveC() / "reference.ppm"));
  ASSERT_EQ(expected.width, kWidth);
  ASSERT_EQ(expected.height, kHeight);

  TPixelGraphic image;
  image.LoadFromFile("C:\\" + out);
  ASSERT_EQ(image.GetWidth(), kWidth);
  ASSERT_EQ(image.GetHeight(), kHeight);
  int differing = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const std::size_t i = 3 * (static_cast<std::size_t>(y) * kWidth + x);
      const TColor colour = image.GetPixelColor(x, y);
      const bool same = RedOf(colour) == static_cast<unsigned char>(expected.rgb[i]) &&
                        GreenOf(colour) == static_cast<unsigned char>(expected.rgb[i + 1]) &&
                        BlueOf(colour) == static_cast<unsigned char>(expected.rgb[i + 2]);
      if (!same && differing++ == 0) ADD_FAILURE() << "first difference at " << x << "," << y;
    }
  EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Encoders, CodecOutsideToolsTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& test) { return std::string(test.param.name); });

}  // namespace
