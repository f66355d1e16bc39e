#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "composer/logo_composer.h"
#include "composer/startup_logo.h"
#include "composer_test_support.h"
#include "vcl/filectrl.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

DWORD At32(const std::string& b, size_t at) {
  DWORD v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<BYTE>(b[at + size_t(i)]);
  return v;
}
BYTE Pixel(const std::string& b, int x, int y) {
  return static_cast<BYTE>(b[1078 + size_t(399 - y) * 320 + size_t(x)]);
}

class StartupLogoTest : public MachineRootTest {
 protected:
  TLogoComposer composer;
  std::string Save(int N, int S) {
    composer.State.seAnimation = N;
    composer.State.seSections = S;
    composer.RefreshTexts();
    composer.BuildAnimationPalette();
    composer.BuildBackground();
    composer.btLogoClick();
    return ReadBytes(root.DriveC() / "logo.sys");
  }
};

TEST_F(StartupLogoTest, GoldenHeaderPaletteAndBar) {
  const std::string b = Save(4, 8);
  ASSERT_EQ(b.size(), 129078u);
  EXPECT_EQ(b.substr(0, 2), "BM");
  const std::pair<size_t, DWORD> fields[] = {{2, 129078},  {10, 1078}, {14, 40}, {18, 320}, {22, 400}, {30, 0},
                                             {34, 128000}, {38, 0},    {42, 0},  {46, 256}, {50, 252}};
  for (auto [offset, value] : fields) EXPECT_EQ(At32(b, offset), value) << "offset " << offset;
  EXPECT_EQ(At32(b, 26), 1u | (8u << 16));  // planes, bits per pixel
  const DWORD blues[] = {255, 224, 192, 160};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(At32(b, 54 + size_t(252 + c) * 4), blues[c]) << c;  // B, G, R, 0

  const int indexes[] = {252, 253, 254, 255, 254, 253, 252, 253};
  for (int y = 380; y < 400; ++y)
    for (int x = 0; x < 320; ++x) ASSERT_EQ(Pixel(b, x, y), indexes[x / 40]) << x << "," << y;
  for (int y = 0; y < 380; ++y)
    for (int x = 0; x < 320; ++x) ASSERT_LT(Pixel(b, x, y), 252) << x << "," << y;
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logo.bmp"));
}

TEST_F(StartupLogoTest, ThirtyTwoColoursAndFourSections) {
  const std::string b = Save(32, 4);
  ASSERT_EQ(b.size(), 129078u);
  EXPECT_EQ(At32(b, 50), 224u);
  for (int x : {0, 79, 80, 159, 160, 240, 319}) EXPECT_EQ(Pixel(b, x, 390), 224 + x / 80) << x;
  for (int y = 0; y < 380; ++y)
    for (int x = 0; x < 320; ++x) ASSERT_LT(Pixel(b, x, y), 224);
}

TEST_F(StartupLogoTest, SavingResetsThePreviewRotation) {
  composer.BuildAnimationPalette();
  composer.TimerTimer();
  Save(4, 4);
  EXPECT_EQ(composer.ShownColors(), composer.AnimationColors());
}

TEST_F(StartupLogoTest, AttributesOfTheOldLogoAreKept) {
  WriteLines(root.DriveC() / "logo.sys", {"old"});
  ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Save(4, 4).size(), 129078u);
  EXPECT_EQ(GetFileAttributesA("c:\\logo.sys") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA("c:\\logo.sys", 0);
  ASSERT_TRUE(DeleteFileA("c:\\logo.sys"));
  Save(4, 4);
  EXPECT_EQ(
      GetFileAttributesA("c:\\logo.sys") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
      0u);
}

TEST_F(StartupLogoTest, AFailedReplacementIsReportedAndKeepsTheOldLogo) {
  // A folder where the logo belongs cannot be replaced by a file.
  std::filesystem::create_directory(root.DriveC() / "logo.sys");
  EXPECT_THROW(Save(4, 4), EInOutError);
  EXPECT_TRUE(std::filesystem::is_directory(root.DriveC() / "logo.sys"));
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logo.bmp"));
}

// A link in the slot is replaced by the new logo; the file it pointed at keeps its bytes and
// its attributes, which the new logo takes.
TEST_F(StartupLogoTest, ALinkedLogoIsReplacedAndItsTargetLeftAsItWas) {
  const ScopedHostFolder host(root);
  const std::filesystem::path target = host.Path() / "logo.sys";
  WriteLines(target, {"the host's"});
  ::setxattr(target.c_str(), "user.DOSATTRIB", "0x2", 3, 0);
  std::filesystem::permissions(target, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  const auto permissions = std::filesystem::status(target).permissions();
  const std::string bytes = ReadBytes(target);
  std::filesystem::create_symlink(target, root.DriveC() / "logo.sys");
  EXPECT_EQ(Save(4, 4).size(), 129078u);
  EXPECT_FALSE(std::filesystem::is_symlink(root.DriveC() / "logo.sys"));
  EXPECT_EQ(GetFileAttributesA("c:\\logo.sys") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(ReadBytes(target), bytes);
  EXPECT_EQ(std::filesystem::status(target).permissions(), permissions);
  char text[16] = {};
  EXPECT_EQ(::getxattr(target.c_str(), "user.DOSATTRIB", text, sizeof text), 3);
  EXPECT_STREQ(text, "0x2");
}

// A save that fails while it writes its intermediate file (here a file size limit, as a full
// drive) removes that file at once and leaves the old logo.
TEST_F(StartupLogoTest, AFailedSaveRemovesItsIntermediateFileAtOnce) {
  WriteLines(root.DriveC() / "logo.sys", {"old"});
  const std::string old = ReadBytes(root.DriveC() / "logo.sys");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr rlim_t kFullAfter = 4096;  // bytes: less than a logo
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kFullAfter, kFullAfter};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      Save(4, 4);
    } catch (const Exception&) {
      ::_exit(0);
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save did not fail, 2: not with the library's error";
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logo.bmp"));
  EXPECT_EQ(ReadBytes(root.DriveC() / "logo.sys"), old);
}

TEST_F(StartupLogoTest, AUsersOwnLogoBmpIsLeftAlone) {
  WriteLines(root.DriveC() / "logo.bmp", {"my own picture"});
  WriteLines(root.DriveC() / "logo~1.bmp", {"and another"});
  const std::string mine = ReadBytes(root.DriveC() / "logo.bmp");
  EXPECT_EQ(CreateDraft(), "c:\\logo~2.bmp");
  ASSERT_TRUE(DeleteFileA("c:\\logo~2.bmp"));
  EXPECT_EQ(Save(4, 4).size(), 129078u);
  EXPECT_EQ(ReadBytes(root.DriveC() / "logo.bmp"), mine);
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logo~2.bmp"));
}

TEST_F(StartupLogoTest, DraftsAreTakenExclusivelyAndAKilledSavesDraftIsRemovedByTheNextSave) {
  // A save running at the same time holds its draft: the next takes another name.
  EXPECT_EQ(CreateDraft(), "c:\\logo.bmp");
  EXPECT_EQ(CreateDraft(), "c:\\logo~1.bmp");
  ASSERT_TRUE(DeleteFileA("c:\\logo.bmp"));
  ASSERT_TRUE(DeleteFileA("c:\\logo~1.bmp"));
  // Saves killed after their drafts were written.
  for (int killed = 0; killed < 2; ++killed) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      CreateDraft();
      ::_exit(CreateDraft() == "c:\\logo~1.bmp" ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  WriteLines(root.DriveC() / "logo~2.bmp", {"a user's own"});
  EXPECT_EQ(Save(4, 4).size(), 129078u);
  for (const char* left : {"logo.bmp", "logo~1.bmp"})
    EXPECT_FALSE(std::filesystem::exists(root.DriveC() / left)) << left;
  EXPECT_TRUE(std::filesystem::exists(root.DriveC() / "logo~2.bmp"));
}

TEST_F(StartupLogoTest, ShortFilesAreLeftUnpatched) {
  WriteLines(root.DriveC() / "short.bmp", {"BM short"});
  const std::string before = ReadBytes(root.DriveC() / "short.bmp");
  PatchImportantColors("c:\\short.bmp", 252);
  EXPECT_EQ(ReadBytes(root.DriveC() / "short.bmp"), before);
  EXPECT_THROW(PatchImportantColors("c:\\missing.bmp", 252), EInOutError);
}

TEST_F(StartupLogoTest, AnIndependentReaderSeesA320By400PaletteImage) {
  constexpr const char* kIdentify = "/usr/bin/identify";
  if (!std::filesystem::exists(kIdentify)) GTEST_SKIP() << "ImageMagick is not installed";
  Save(4, 4);
  const std::filesystem::path copy = root.Path() / "logo.bmp";
  std::filesystem::copy_file(root.DriveC() / "logo.sys", copy);
  const std::string command =
      std::string(kIdentify) + " -format '%w %h %[type] %z %[colors]' '" + copy.string() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[256] = {};
  const size_t got = ::fread(buffer, 1, sizeof buffer - 1, pipe);
  ASSERT_EQ(::pclose(pipe), 0) << std::string(buffer, got);
  const std::string out(buffer, got);
  EXPECT_EQ(out.substr(0, out.find(" ", 8)), "320 400 Palette") << out;
  EXPECT_NE(out.find(" 8 "), std::string::npos) << out;
}

}  // namespace
