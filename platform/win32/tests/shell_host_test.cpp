#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "win32/shell.h"

namespace {

// A PATH holding only a stand-in opener that records its arguments, one a line.
class FakeOpener : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/startlogo-opener-XXXXXX";
    ASSERT_TRUE(::mkdtemp(pattern));
    folder_ = pattern;
    if (const char* p = ::getenv("PATH")) savedPath_ = p;
    ::setenv("PATH", folder_.c_str(), 1);
  }
  void TearDown() override {
    ::setenv("PATH", savedPath_.c_str(), 1);
    std::filesystem::remove_all(folder_);
  }
  void Install(int exitCode) {
    const std::filesystem::path script = folder_ / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" << (folder_ / "args").string()
                          << "'; done\nexit " << exitCode << "\n";
    ::chmod(script.c_str(), 0755);
  }
  std::string Args() {
    std::ifstream in(folder_ / "args");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::filesystem::path folder_;
  std::string savedPath_;
};

TEST_F(FakeOpener, AddressReachesTheOpenerAsOneArgument) {
  Install(0);
  const std::string address = "http://example.org/a b;touch x";
  std::string error;
  EXPECT_TRUE(shell::OpenAddress(address, &error)) << error;
  EXPECT_EQ(Args(), address + "\n");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "x"));
}

TEST_F(FakeOpener, FailuresAreReported) {
  std::string error;
  EXPECT_FALSE(shell::OpenAddress("mailto:someone@example.org", &error));  // no opener at all
  EXPECT_NE(error.find("xdg-open"), std::string::npos);
  Install(3);
  error.clear();
  EXPECT_FALSE(shell::OpenAddress("mailto:someone@example.org", &error));
  EXPECT_FALSE(error.empty());
}

TEST(ShellStartProgram, StartsOrTellsWhy) {
  std::string error;
  EXPECT_EQ(shell::StartProgram({"/nonexistent/program"}, &error), 0);
  EXPECT_NE(error.find("/nonexistent/program"), std::string::npos);
  EXPECT_GT(shell::StartProgram({"/bin/true"}, &error), 0);
}

}  // namespace
