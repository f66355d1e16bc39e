#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>

#include "host/display.h"
#include "registry_test_support.h"
#include "win32/testing/dialogs.h"
#include "win32/registry_file.h"

namespace fs = std::filesystem;

namespace {

using RegistrySharing = MachineRootTest;

// Starts `child` in a new process that waits until `Release` before it runs; returns its pid.
class Children {
 public:
  Children() { EXPECT_EQ(::pipe(gate_), 0); }
  ~Children() { Release(); }

  void Start(const std::function<int()>& child) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(gate_[1]);
      char byte;
      while (::read(gate_[0], &byte, 1) < 0) {
      }
      ::_exit(child());
    }
    pids_.push_back(pid);
  }

  // Lets every child run at once and returns how many failed.
  int Release() {
    if (gate_[1] >= 0) ::close(gate_[1]);
    if (gate_[0] >= 0) ::close(gate_[0]);
    gate_[0] = gate_[1] = -1;
    int failed = 0;
    for (pid_t pid : pids_) {
      int status = 0;
      if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failed;
    }
    pids_.clear();
    return failed;
  }

 private:
  int gate_[2] = {-1, -1};
  std::vector<pid_t> pids_;
};

std::string ValueName(int writer, int n) { return "writer" + std::to_string(writer) + "-value" + std::to_string(n); }
std::string ValueData(int writer, int n) { return std::to_string(writer * 1000 + n); }

TEST_F(RegistrySharing, ProcessesWritingTheSameHiveAtOnceLoseNothing) {
  constexpr int kWriters = 6, kValues = 40;
  Children children;
  for (int writer = 0; writer < kWriters; ++writer) {
    children.Start([writer] {
      int failures = 0;
      HKEY shared = nullptr, own = nullptr;
      if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Shared", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &shared,
                          nullptr) != ERROR_SUCCESS ||
          RegCreateKeyA(shared, ("Writer" + std::to_string(writer)).c_str(), &own) != ERROR_SUCCESS)
        return 1;
      for (int n = 0; n < kValues; ++n) {
        failures += SetString(shared, ValueName(writer, n).c_str(), ValueData(writer, n)) != ERROR_SUCCESS;
        failures += SetString(own, "Last", ValueData(writer, n)) != ERROR_SUCCESS;
      }
      return failures ? 1 : 0;
    });
  }
  ASSERT_EQ(children.Release(), 0);

  HKEY shared = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Shared", 0, KEY_READ, &shared), ERROR_SUCCESS);
  DWORD values = 0, subKeys = 0;
  ASSERT_EQ(RegQueryInfoKeyA(shared, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, static_cast<DWORD>(kWriters * kValues));
  EXPECT_EQ(subKeys, static_cast<DWORD>(kWriters));
  for (int writer = 0; writer < kWriters; ++writer) {
    for (int n = 0; n < kValues; ++n)
      EXPECT_EQ(QueryString(shared, ValueName(writer, n).c_str()), ValueData(writer, n)) << ValueName(writer, n);
    HKEY own = nullptr;
    ASSERT_EQ(RegOpenKeyA(shared, ("writer" + std::to_string(writer)).c_str(), &own), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(own, "Last"), ValueData(writer, kValues - 1));
    RegCloseKey(own);
  }
  RegCloseKey(shared);
  // The startup folder seeded by whichever writer came first is there once.
  EXPECT_EQ(registry::ParseHive(FileText(HiveFile(root, "HKEY_CURRENT_USER")), "HKEY_CURRENT_USER")
                .root.FindSubKey("Software")
                ->subKeys.size(),
            2u);
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(root.Path() / "registry")) files.push_back(entry.path().filename());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
}

TEST_F(RegistrySharing, ThreadsShareTheKeyTable) {
  constexpr int kThreads = 6, kValues = 25;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      for (int n = 0; n < kValues; ++n) {
        HKEY key = nullptr;
        if (RegCreateKeyA(HKEY_LOCAL_MACHINE, ("Software\\Threads\\T" + std::to_string(t)).c_str(), &key) !=
                ERROR_SUCCESS ||
            SetString(key, ValueName(t, n).c_str(), ValueData(t, n)) != ERROR_SUCCESS ||
            QueryString(key, ValueName(t, n).c_str()) != ValueData(t, n) || RegCloseKey(key) != ERROR_SUCCESS)
          ++failures;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
  HKEY threadsKey = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Threads", &threadsKey), ERROR_SUCCESS);
  for (int t = 0; t < kThreads; ++t) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(threadsKey, ("T" + std::to_string(t)).c_str(), &key), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    EXPECT_EQ(values, static_cast<DWORD>(kValues));
    RegCloseKey(key);
  }
  RegCloseKey(threadsKey);
}

TEST_F(RegistrySharing, AHiveChangedOnDiskIsReadAgain) {
  const fs::path file = HiveFile(root, "HKEY_CURRENT_USER");
  HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Ostrelle\\Corvane 2.0");
  ASSERT_EQ(SetString(key, "LastUsedDir", "C:\\first"), ERROR_SUCCESS);
  ASSERT_EQ(QueryString(key, "LastUsedDir"), "C:\\first");

  // Another program writes a value of the same size.
  Children children;
  children.Start([] {
    HKEY other = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrelle\\Corvane 2.0", 0, KEY_ALL_ACCESS, &other) != ERROR_SUCCESS)
      return 1;
    return SetString(other, "LastUsedDir", "C:\\secnd") == ERROR_SUCCESS ? 0 : 1;
  });
  ASSERT_EQ(children.Release(), 0);
  EXPECT_EQ(QueryString(key, "LastUsedDir"), "C:\\secnd");

  // The user edits the file by hand.
  std::string text = FileText(file);
  const std::size_t at = text.find("secnd");
  ASSERT_NE(at, std::string::npos);
  WriteFileText(file, text.replace(at, 5, "third"));
  EXPECT_EQ(QueryString(key, "LastUsedDir"), "C:\\third");

  // This program's next write builds on what is on disk.
  ASSERT_EQ(SetString(key, "Left", "5"), ERROR_SUCCESS);
  const auto stored = registry::ParseHive(FileText(file), "HKEY_CURRENT_USER");
  ASSERT_FALSE(stored.error);
  const registry::Value* dir =
      stored.root.FindSubKey("Software")->FindSubKey("Ostrelle")->FindSubKey("Corvane 2.0")->FindValue("LastUsedDir");
  ASSERT_NE(dir, nullptr);
  EXPECT_EQ(std::string(dir->data.begin(), dir->data.end()), std::string("C:\\third", 9));

  // A hive deleted on disk starts afresh.
  fs::remove(file);
  EXPECT_EQ(RegQueryValueExA(key, "Left", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
  RegCloseKey(key);
}

struct MalformedHive {
  const char* what;
  std::string text;
};

TEST(RegistryMalformedHive, IsKeptAsideReportedOnceAndNeverOverwritten) {
  const std::vector<MalformedHive> cases = {
      {"not a hive",
       "\x7f"
       "ELF\x02\x01"},
      {"another root's sections", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n"},
      {"a broken value", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostrelle]\r\n\"Left\"=dword:zz\r\n"},
      {"cut off in a string", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostrelle]\r\n\"LastUsedDir\"=\"C:\\\\Wi"},
  };
  for (const MalformedHive& c : cases) {
    ScopedMachineRoot root;
    const fs::path file = HiveFile(root, "HKEY_CURRENT_USER");
    fs::create_directories(file.parent_path());
    WriteFileText(file, c.text);

    TMessageBoxRecorder boxes(MB_OK | MB_ICONWARNING);
    boxes.answers = {IDOK};
    testing::internal::CaptureStderr();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrelle", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND)
        << c.what;
    HKEY folders = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            0, KEY_READ, &folders),
              ERROR_SUCCESS)
        << c.what << ": the new hive is seeded like any new one";
    RegCloseKey(folders);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find(file.string()), std::string::npos) << c.what << ": " << report;
    EXPECT_NE(report.find("malformed"), std::string::npos) << c.what << ": " << report;
    EXPECT_EQ(report.find('\n'), report.size() - 1) << c.what << ": one line, once: " << report;

    std::vector<fs::path> aside;
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
      if (entry.path().filename().string().starts_with("HKEY_CURRENT_USER.reg.bad-")) aside.push_back(entry.path());
    ASSERT_EQ(aside.size(), 1u) << c.what;
    EXPECT_NE(report.find(aside[0].filename().string()), std::string::npos) << c.what << ": " << report;
    EXPECT_EQ(FileText(aside[0]), c.text) << c.what;
    ASSERT_EQ(boxes.asked.size(), 1u) << c.what << ": one box, once";
    EXPECT_TRUE(boxes.asked[0].starts_with("Registry: The settings file " + file.string() + " was damaged"))
        << boxes.asked[0];
    EXPECT_NE(boxes.asked[0].find("It was kept as " + aside[0].string() + ","), std::string::npos) << boxes.asked[0];

    testing::internal::CaptureStderr();
    HKEY created = CreateKey(HKEY_CURRENT_USER, "Software\\Ostrelle");
    EXPECT_EQ(SetString(created, "Left", "1"), ERROR_SUCCESS);
    RegCloseKey(created);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.what;
    EXPECT_EQ(FileText(aside[0]), c.text) << c.what;
    EXPECT_FALSE(registry::ParseHive(FileText(file), "HKEY_CURRENT_USER").error) << c.what;
  }
}

// Where nobody could see a box (headless, nothing driving it) standard error alone tells, once.
TEST_F(RegistrySharing, AnUnattendedProcessIsToldOfAHiveKeptAsideOnStandardErrorOnly) {
  const fs::path file = HiveFile(root, "HKEY_CURRENT_USER");
  fs::create_directories(file.parent_path());
  WriteFileText(file, "not a hive");
  int errors[2];
  ASSERT_EQ(::pipe(errors), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::dup2(errors[1], STDERR_FILENO);
    host::SetHeadlessDriven(false);
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key);
    ::_exit(host::Unattended() ? 0 : 1);
  }
  ::close(errors[1]);
  std::string report;
  char buffer[512];
  for (ssize_t n; (n = ::read(errors[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, static_cast<std::size_t>(n));
  ::close(errors[0]);
  int status = -1;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child was not unattended";
  EXPECT_TRUE(report.starts_with("registry: " + file.string() + " is malformed")) << report;
  EXPECT_EQ(report.find('\n'), report.size() - 1) << "one line: " << report;
}

TEST_F(RegistrySharing, AHiveThatCannotBeReadIsNotReplaced) {
  // A folder where the hive file should be: unreadable as a file, whoever runs the test.
  const fs::path file = HiveFile(root, "HKEY_LOCAL_MACHINE");
  fs::create_directories(file / "inside");
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_REGISTRY_IO_FAILED);
  EXPECT_EQ(RegSetValueExA(HKEY_LOCAL_MACHINE, "x", 0, REG_BINARY, nullptr, 0), ERROR_REGISTRY_IO_FAILED);
  EXPECT_TRUE(fs::is_directory(file / "inside"));
}

}  // namespace
