#include <gtest/gtest.h>

#include <cstring>

#include "kernel_test_files.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

using namespace std::string_literals;

namespace {

constexpr const char* kIni = "c:\\jokes\\Jokes.txt";

class KernelPrivateProfile : public MachineRootTest {
 protected:
  void SetUp() override {
    WriteHostFile(Host(),
                  "; a joke file\r\n"
                  "[Header]\r\n"
                  "  Description =  Knock knock  \r\n"
                  "Format=Q&A\r\n"
                  "Quoted=\" spaced \"\r\n"
                  "Single='x'\r\n"
                  "Half=\"open\r\n"
                  ";Hidden=1\r\n"
                  "Number= -42 apples\r\n"
                  "Empty=\r\n"
                  "\r\n"
                  "[Data]\r\n"
                  "Q: Who is there?\r\n"
                  "A: Nobody = nothing\r\n");
  }
  std::filesystem::path Host() { return root.DriveC() / "jokes" / "Jokes.txt"; }
  std::string Get(const char* section, const char* key, const char* fallback = "def", DWORD size = 256) {
    char buffer[256];
    const DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer, size, kIni);
    EXPECT_EQ(n, std::strlen(buffer));
    return buffer;
  }
  static std::string List(const char* buffer, DWORD length) { return std::string(buffer, length); }
};

TEST_F(KernelPrivateProfile, ReadsValuesByWindowsRules) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"header", "DESCRIPTION", "Knock knock"},
      {"HEADER", "format", "Q&A"},
      {"Header", "Quoted", " spaced "},
      {"Header", "Single", "x"},
      {"Header", "Half", "\"open"},
      {"Header", ";Hidden", "def"},
      {"Header", "Hidden", "def"},
      {"Header", "Empty", ""},
      {"Header", "Missing", "def"},
      {"Missing", "Format", "def"},
      {"Data", "A: Nobody", "nothing"},
  };
  for (const Case& c : cases) EXPECT_EQ(Get(c.section, c.key), c.value) << c.section << "/" << c.key;
  EXPECT_EQ(Get("Header", "Missing", "fallback  "), "fallback");
  EXPECT_EQ(Get("Header", "Missing", nullptr), "");
}

TEST_F(KernelPrivateProfile, CutsToTheBuffer) {
  EXPECT_EQ(Get("Header", "Description", "", 5), "Knoc");
  EXPECT_EQ(Get("Header", "Missing", "fallback", 4), "fal");
  char buffer[16];
  const DWORD full = GetPrivateProfileStringA("Header", nullptr, "", buffer, sizeof buffer, kIni);
  EXPECT_EQ(full, sizeof buffer - 2);
  EXPECT_EQ(List(buffer, sizeof buffer), "Description\0Fo\0\0"s);
}

TEST_F(KernelPrivateProfile, ListsKeysSectionsAndSectionLines) {
  char buffer[512];
  DWORD n = GetPrivateProfileStringA("header", nullptr, "", buffer, sizeof buffer, kIni);
  EXPECT_EQ(List(buffer, n + 1), "Description\0Format\0Quoted\0Single\0Half\0Number\0Empty\0\0"s);
  n = GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, kIni);
  EXPECT_EQ(List(buffer, n + 1), "Header\0Data\0\0"s);
  n = GetPrivateProfileSectionNamesA(buffer, sizeof buffer, kIni);
  EXPECT_EQ(List(buffer, n + 1), "Header\0Data\0\0"s);
  n = GetPrivateProfileSectionA("DATA", buffer, sizeof buffer, kIni);
  EXPECT_EQ(List(buffer, n + 1), "Q: Who is there?\0A: Nobody=nothing\0\0"s);
  n = GetPrivateProfileSectionA("missing", buffer, sizeof buffer, kIni);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(List(buffer, 2), "\0\0"s);
}

TEST_F(KernelPrivateProfile, ReadsIntegers) {
  EXPECT_EQ(GetPrivateProfileIntA("Header", "Number", 7, kIni), static_cast<UINT>(-42));
  EXPECT_EQ(GetPrivateProfileIntA("Header", "Format", 7, kIni), 0u);
  EXPECT_EQ(GetPrivateProfileIntA("Header", "Empty", 7, kIni), 7u);
  EXPECT_EQ(GetPrivateProfileIntA("Header", "Missing", 7, kIni), 7u);
  EXPECT_EQ(GetPrivateProfileIntA("Header", "Number", 7, "c:\\missing.ini"), 7u);
}

TEST_F(KernelPrivateProfile, WritesKeepEveryOtherLine) {
  const std::string before = ReadHostFile(Host());
  ASSERT_TRUE(WritePrivateProfileStringA("HEADER", "format", "ML", kIni));
  std::string expected = before;
  expected.replace(expected.find("Format=Q&A"), 10, "format=ML");
  EXPECT_EQ(ReadHostFile(Host()), expected);

  ASSERT_TRUE(WritePrivateProfileStringA("Header", "Author", "me", kIni));  // after the last line, before the blank
  expected.insert(expected.find("\r\n\r\n[Data]") + 2, "Author=me\r\n");
  EXPECT_EQ(ReadHostFile(Host()), expected);

  ASSERT_TRUE(WritePrivateProfileStringA("Header", "quoted", nullptr, kIni));
  expected.erase(expected.find("Quoted="), 19);
  EXPECT_EQ(ReadHostFile(Host()), expected);

  ASSERT_TRUE(WritePrivateProfileStringA("New", "Key", "Value", kIni));
  expected += "\r\n[New]\r\nKey=Value\r\n";
  EXPECT_EQ(ReadHostFile(Host()), expected);

  ASSERT_TRUE(WritePrivateProfileStringA("data", nullptr, nullptr, kIni));
  expected.erase(expected.find("[Data]"), expected.find("\r\n[New]") + 2 - expected.find("[Data]"));
  EXPECT_EQ(ReadHostFile(Host()), expected);
  EXPECT_EQ(Get("New", "key"), "Value");

  EXPECT_TRUE(WritePrivateProfileStringA("Header", "Missing", nullptr, kIni));
  EXPECT_TRUE(WritePrivateProfileStringA("Missing", nullptr, nullptr, kIni));
  EXPECT_EQ(ReadHostFile(Host()), expected);
}

TEST_F(KernelPrivateProfile, WritesNewFilesAndRefusesBadOnes) {
  ASSERT_TRUE(WritePrivateProfileStringA("Options", "Sound", "1", "c:\\new.ini"));
  EXPECT_EQ(ReadHostFile(root.DriveC() / "new.ini"), "[Options]\r\nSound=1\r\n");
  // A bare name lies in the Windows folder.
  ASSERT_TRUE(WritePrivateProfileStringA("Options", "Sound", "2", "startlogo.ini"));
  EXPECT_EQ(ReadHostFile(root.DriveC() / "windows" / "startlogo.ini"), "[Options]\r\nSound=2\r\n");
  EXPECT_EQ(GetPrivateProfileIntA("options", "sound", 0, "STARTLOGO.INI"), 2u);

  EXPECT_FALSE(WritePrivateProfileStringA("Options", "Sound", "1", "c:\\missing\\new.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(WritePrivateProfileStringA("Options", "Sound", "1\r\n[Injected]", "c:\\new.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  ASSERT_TRUE(SetFileAttributesA("c:\\new.ini", FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WritePrivateProfileStringA("Options", "Sound", "3", "c:\\new.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadHostFile(root.DriveC() / "new.ini"), "[Options]\r\nSound=1\r\n");
}

TEST_F(KernelPrivateProfile, KeepsLineEndingsOfTheFile) {
  WriteHostFile(root.DriveC() / "unix.ini", "[A]\nx=1");
  ASSERT_TRUE(WritePrivateProfileStringA("A", "y", "2", "c:\\unix.ini"));
  EXPECT_EQ(ReadHostFile(root.DriveC() / "unix.ini"), "[A]\nx=1\ny=2\n");
}

}  // namespace
