// Metafiles written by LibreOffice's headless converter, drawn through TMetafile and compared with
// the converter's own rendering of the same file. Skipped where the converter is not installed.
#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "vcl/metafile.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSvgWidth = 400, kSvgHeight = 300;
constexpr COLORREF kPaper = RGB(240, 224, 192);  // not white, so the picture stands out on the page

// The shapes, with a point inside each that is well clear of its edges.
struct Shape {
  const char* name;
  int x, y;
  COLORREF colour;
};
const Shape kShapes[] = {
    {"paper", 200, 150, kPaper},
    {"red rectangle", 90, 70, RGB(255, 0, 0)},
    {"blue ellipse", 290, 80, RGB(0, 0, 255)},
    {"green triangle", 140, 240, RGB(0, 160, 0)},
    {"black line", 320, 240, RGB(0, 0, 0)},
};

const char kSvg[] = R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300" viewBox="0 0 400 300">
<rect x="0" y="0" width="400" height="300" fill="#f0e0c0"/>
<rect x="20" y="20" width="140" height="100" fill="#ff0000"/>
<ellipse cx="290" cy="80" rx="80" ry="55" fill="#0000ff"/>
<polygon points="40,280 140,160 240,280" fill="#00a000"/>
<line x1="260" y1="200" x2="380" y2="280" stroke="#000000" stroke-width="8"/>
</svg>
)";

std::string FindConverter() {
  const char* path = getenv("PATH");
  std::string dirs = path ? path : "/usr/bin";
  for (std::size_t start = 0; start <= dirs.size();) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    fs::path candidate = fs::path(dirs.substr(start, end - start)) / "soffice";
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    start = end + 1;
  }
  return {};
}

// Runs the converter in its own process group, so that a hung run is ended whole.
bool Convert(const std::string& soffice, const fs::path& folder, const std::string& format, const fs::path& input) {
  const std::string profile = "-env:UserInstallation=file://" + (folder / "profile").string();
  std::vector<std::string> args = {
      soffice, profile, "--headless", "--convert-to", format, "--outdir", (folder / format).string(), input.string()};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    setpgid(0, 0);
    FILE* quiet = freopen("/dev/null", "w", stdout);
    quiet = freopen("/dev/null", "w", stderr);
    (void)quiet;
    execv(argv[0], argv.data());
    _exit(127);
  }
  setpgid(child, child);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(180);
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-child, SIGKILL);
      waitpid(child, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Rgb {
  int width = 0, height = 0;
  std::vector<BYTE> pixels;  // red, green, blue
  COLORREF At(int x, int y) const {
    const BYTE* p = &pixels[3 * (static_cast<std::size_t>(y) * width + x)];
    return RGB(p[0], p[1], p[2]);
  }
};

Rgb ReadPng(const fs::path& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Rgb out;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return out;
  image.format = PNG_FORMAT_RGB;
  out.pixels.resize(PNG_IMAGE_SIZE(image));
  png_color white{255, 255, 255};
  if (!png_image_finish_read(&image, &white, out.pixels.data(), 0, nullptr)) return {};
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  return out;
}

int Distance(COLORREF a, COLORREF b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

// The converter puts the picture on a page; the paper colour marks where it lies.
Rgb CropToPaper(const Rgb& page) {
  int left = page.width, top = page.height, right = -1, bottom = -1;
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (Distance(page.At(x, y), kPaper) <= 8) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  Rgb out;
  if (right < left) return out;
  out.width = right - left + 1;
  out.height = bottom - top + 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      COLORREF c = page.At(x, y);
      out.pixels.insert(out.pixels.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  return out;
}

Rgb DrawThroughTMetafile(const fs::path& file, int width, int height) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  TMetafile metafile;
  metafile.LoadFromStream(&stream);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetWidth(width);
  bitmap.SetHeight(height);
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect({0, 0, width, height});
  bitmap.Canvas()->StretchDraw({0, 0, width, height}, &metafile);
  Rgb out{width, height, {}};
  for (int y = 0; y < height; ++y) {
    const BYTE* row = static_cast<const BYTE*>(bitmap.ScanLine(y));
    for (int x = 0; x < width; ++x) out.pixels.insert(out.pixels.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
  }
  return out;
}

class MetafileOutsideTools : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    soffice = FindConverter();
    if (soffice.empty()) GTEST_SKIP() << "LibreOffice's soffice is not installed";
    char name[] = "/tmp/metafile-outside-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder = name;
  }
  void TearDown() override {
    if (!folder.empty()) fs::remove_all(folder);
  }
  std::string soffice;
  fs::path folder;
};

TEST_P(MetafileOutsideTools, RendersAsTheConverterDoes) {
  const std::string format = GetParam();
  const fs::path svg = folder / "shapes.svg";
  std::ofstream(svg) << kSvg;
  ASSERT_TRUE(Convert(soffice, folder, format, svg));
  const fs::path metafile = folder / format / ("shapes." + format);
  ASSERT_TRUE(fs::exists(metafile));
  ASSERT_TRUE(Convert(soffice, folder, "png", metafile));
  const Rgb page = ReadPng(folder / "png" / "shapes.png");
  ASSERT_GT(page.width, 0) << "the converter's rendering did not read";
  const Rgb theirs = CropToPaper(page);
  ASSERT_GT(theirs.width, kSvgWidth / 2) << "no paper-coloured picture on the converter's page";
  ASSERT_GT(theirs.height, kSvgHeight / 2);
  const Rgb ours = DrawThroughTMetafile(metafile, theirs.width, theirs.height);

  for (const Shape& s : kShapes) {
    const int x = s.x * theirs.width / kSvgWidth, y = s.y * theirs.height / kSvgHeight;
    EXPECT_LE(Distance(theirs.At(x, y), s.colour), 24) << s.name << " in the converter's rendering";
    EXPECT_LE(Distance(ours.At(x, y), s.colour), 24) << s.name << " in ours";
  }
  // Edges may fall a pixel apart and be smoothed differently; the rest must agree.
  int close = 0;
  for (int y = 0; y < theirs.height; ++y)
    for (int x = 0; x < theirs.width; ++x) close += Distance(theirs.At(x, y), ours.At(x, y)) <= 48;
  const double share = static_cast<double>(close) / (static_cast<double>(theirs.width) * theirs.height);
  EXPECT_GE(share, 0.97) << "share of pixels within the colour tolerance";
  RecordProperty("agreement", std::to_string(share));
}

INSTANTIATE_TEST_SUITE_P(WindowsFormat, MetafileOutsideTools, ::testing::Values("wmf"));
// The converter writes the enhanced file's ellipse as a Bezier path filled with FILLPATH.
INSTANTIATE_TEST_SUITE_P(Enhanced, MetafileOutsideTools, ::testing::Values("emf"));

}  // namespace
