#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "win32/shell.h"
#include "win32/shellapi.h"

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

INT_PTR Execute(LPCSTR verb, LPCSTR file) {
  return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, verb, file, nullptr, nullptr, 0));
}

TEST_F(FakeOpener, ShellExecuteOpensAddressesOnly) {
  Install(0);
  EXPECT_GT(Execute("Open", "http://example.org/tarnquill"), 32);
  EXPECT_GT(Execute(nullptr, "mailto:someone@example.org"), 32);
  EXPECT_EQ(Execute("print", "http://example.org/"), SE_ERR_NOASSOC);
  EXPECT_EQ(Execute("open", "c:\\logo.sys"), SE_ERR_NOASSOC);  // a drive letter is no scheme
  EXPECT_EQ(Execute("open", ""), SE_ERR_FILE_NOT_FOUND);
  EXPECT_EQ(Args(), "http://example.org/tarnquill\nmailto:someone@example.org\n");
  Install(1);
  EXPECT_EQ(Execute("open", "http://example.org/"), SE_ERR_NOASSOC);  // the opener failed
}

TEST(ShellStartProgram, StartsOrTellsWhy) {
  std::string error;
  EXPECT_EQ(shell::StartProgram({"/nonexistent/program"}, &error), 0);
  EXPECT_NE(error.find("/nonexistent/program"), std::string::npos);
  EXPECT_GT(shell::StartProgram({"/bin/true"}, &error), 0);
}

}  // namespace
