#include <cstring>

#include "registry_test_support.h"

namespace {

using RegistryCalls = MachineRootTest;

std::vector<BYTE> Bytes(std::string_view text, bool withNul) {
  std::vector<BYTE> data(text.begin(), text.end());
  if (withNul) data.push_back(0);
  return data;
}

struct StoredValue {
  const char* name;
  DWORD type;
  std::vector<BYTE> data;
};

TEST_F(RegistryCalls, EveryTypeComesBackFromTheHiveFile) {
  const std::vector<StoredValue> cases = {
      {"LastUsedDir", REG_SZ, Bytes(R"(C:\My Documents\"logos")", true)},
      {"", REG_SZ, Bytes("the default", true)},
      {"a \"quoted\" = [name]", REG_SZ, Bytes("", true)},
      {"back\\slash", REG_SZ, Bytes("two\r\nlines", true)},
      {"NoNul", REG_SZ, Bytes("bare", false)},
      {"LastUsedIndex", REG_DWORD, {3, 0, 0, 0}},
      {"Left", REG_DWORD, {0xf6, 0xff, 0xff, 0xff}},
      {"MainForm", REG_BINARY, {4, 0, 0, 0, 1}},
      {"Empty", REG_BINARY, {}},
      {"Expand", REG_EXPAND_SZ, Bytes("%windir%", true)},
      {"Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}},
  };
  HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Ostrelle\\Corvane 2.0");
  for (const StoredValue& c : cases)
    ASSERT_EQ(RegSetValueExA(key, c.name, 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size())), ERROR_SUCCESS)
        << c.name;

  // The same text as a new file: the next call has to read it back from disk.
  const auto file = HiveFile(root, "HKEY_CURRENT_USER");
  const std::string text = FileText(file);
  EXPECT_NE(text.find("\"LastUsedDir\"=\"C:\\\\My Documents\\\\\\\"logos\\\"\"\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"LastUsedIndex\"=dword:00000003\r\n"), std::string::npos) << text;
  WriteFileText(file, text + "[HKEY_CURRENT_USER\\Software\\Ostrelle\\Corvane 2.0]\r\n\"Marker\"=\"on disk\"\r\n");
  EXPECT_EQ(QueryString(key, "Marker"), "on disk");

  for (const StoredValue& c : cases) {
    DWORD type = 0, size = 64;
    BYTE data[64];
    ASSERT_EQ(RegQueryValueExA(key, c.name, nullptr, &type, data, &size), ERROR_SUCCESS) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(std::vector<BYTE>(data, data + size), c.data) << c.name;
  }
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryCalls, NamesMatchWithoutRegardToCaseAndKeepTheirStoredCase) {
  HKEY created = CreateKey(HKEY_LOCAL_MACHINE, "Software\\Halvetra\\Tarnquill\\fmLogo");
  ASSERT_EQ(SetString(created, "ScreenRes", "640x480"), ERROR_SUCCESS);
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\halvetra\\TARNQUILL\\FMLOGO", 0, KEY_READ, &opened),
            ERROR_SUCCESS);
  EXPECT_EQ(QueryString(opened, "screenres"), "640x480");
  ASSERT_EQ(SetString(opened, "SCREENRES", "800x600"), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(created, "ScreenRes"), "800x600");

  char name[32];
  DWORD size = sizeof name;
  ASSERT_EQ(RegEnumValueA(created, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "ScreenRes");
  HKEY software = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software", 0, KEY_READ, &software), ERROR_SUCCESS);
  ASSERT_EQ(RegEnumKeyA(software, 0, name, sizeof name), ERROR_SUCCESS);
  EXPECT_STREQ(name, "Halvetra");
  EXPECT_NE(FileText(HiveFile(root, "HKEY_LOCAL_MACHINE"))
                .find("[HKEY_LOCAL_MACHINE\\Software\\Halvetra\\Tarnquill\\fmLogo]"),
            std::string::npos);
  for (HKEY k : {created, opened, software}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
}

TEST_F(RegistryCalls, QueriesReportSizesAsWindowsDoes) {
  HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
  ASSERT_EQ(SetString(key, "PATH", "C:\\MSINFO32.EXE"), ERROR_SUCCESS);
  ASSERT_EQ(SetString(key, nullptr, "default"), ERROR_SUCCESS);

  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "PATH", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 16u);  // the NUL counts
  char small[8] = "xxxxxxx";
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExA(key, "PATH", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 16u);
  EXPECT_STREQ(small, "xxxxxxx");
  char exact[16];
  size = sizeof exact;
  EXPECT_EQ(RegQueryValueExA(key, "PATH", nullptr, nullptr, reinterpret_cast<BYTE*>(exact), &size), ERROR_SUCCESS);
  EXPECT_STREQ(exact, "C:\\MSINFO32.EXE");
  type = 0;
  EXPECT_EQ(RegQueryValueExA(key, "path", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(RegQueryValueExA(key, "PATH", nullptr, nullptr, reinterpret_cast<BYTE*>(exact), nullptr),
            ERROR_INVALID_PARAMETER);

  EXPECT_EQ(QueryString(key, nullptr), "default");
  EXPECT_EQ(QueryString(key, ""), "default");
  LONG status = 0;
  QueryString(key, "Missing", &status);
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryCalls, EnumerationAndInformation) {
  HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Halvetra\\Tarnquill\\fmLogo");
  for (const char* sub : {"seFirst", "cbTiled", "laJokeFile", "Bar_2"}) RegCloseKey(CreateKey(key, sub));
  ASSERT_EQ(SetString(key, "ScreenRes", "640x480"), ERROR_SUCCESS);
  const DWORD left = 10;
  ASSERT_EQ(RegSetValueExA(key, "Left", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&left), 4), ERROR_SUCCESS);
  const BYTE check[] = {4, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(RegSetValueExA(key, "LogoCheck", 0, REG_BINARY, check, sizeof check), ERROR_SUCCESS);

  std::vector<std::string> subKeys;
  char name[64];
  DWORD size = sizeof name;
  FILETIME time{1, 1};
  for (DWORD i = 0;
       (size = sizeof name, RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, &time)) == ERROR_SUCCESS;
       ++i) {
    EXPECT_EQ(size, std::strlen(name));
    subKeys.push_back(name);
  }
  EXPECT_EQ(subKeys, (std::vector<std::string>{"Bar_2", "cbTiled", "laJokeFile", "seFirst"}));
  EXPECT_EQ(RegEnumKeyA(key, 4, name, sizeof name), ERROR_NO_MORE_ITEMS);
  size = 10;  // "laJokeFile" needs 11 with its NUL
  EXPECT_EQ(RegEnumKeyExA(key, 2, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  EXPECT_EQ(RegEnumKeyA(key, 2, name, 11), ERROR_SUCCESS);

  std::vector<std::string> values;
  std::vector<DWORD> types;
  for (DWORD i = 0;; ++i) {
    DWORD type = 0;
    size = sizeof name;
    const LONG status = RegEnumValueA(key, i, name, &size, nullptr, &type, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(status, ERROR_SUCCESS);
    values.push_back(name);
    types.push_back(type);
  }
  EXPECT_EQ(values, (std::vector<std::string>{"ScreenRes", "Left", "LogoCheck"}));
  EXPECT_EQ(types, (std::vector<DWORD>{REG_SZ, REG_DWORD, REG_BINARY}));
  BYTE data[4];
  DWORD dataSize = sizeof data;
  size = sizeof name;
  EXPECT_EQ(RegEnumValueA(key, 2, name, &size, nullptr, nullptr, data, &dataSize), ERROR_MORE_DATA);
  EXPECT_EQ(dataSize, sizeof check);
  dataSize = sizeof data;
  size = sizeof name;
  EXPECT_EQ(RegEnumValueA(key, 1, name, &size, nullptr, nullptr, data, &dataSize), ERROR_SUCCESS);
  EXPECT_EQ(dataSize, 4u);
  EXPECT_EQ(std::memcmp(data, &left, 4), 0);
  size = 4;  // "Left" needs 5
  EXPECT_EQ(RegEnumValueA(key, 1, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

  DWORD subCount = 0, maxSub = 0, valueCount = 0, maxName = 0, maxData = 0, classLength = 7;
  char className[8] = "x";
  ASSERT_EQ(RegQueryInfoKeyA(key, className, &classLength, nullptr, &subCount, &maxSub, nullptr, &valueCount, &maxName,
                             &maxData, nullptr, &time),
            ERROR_SUCCESS);
  EXPECT_EQ(subCount, 4u);
  EXPECT_EQ(maxSub, 10u);  // "laJokeFile"
  EXPECT_EQ(valueCount, 3u);
  EXPECT_EQ(maxName, 9u);  // "ScreenRes" and "LogoCheck"
  EXPECT_EQ(maxData, sizeof check);
  EXPECT_EQ(classLength, 0u);
  EXPECT_STREQ(className, "");
  EXPECT_EQ(time.dwLowDateTime | time.dwHighDateTime, 0u);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryCalls, DeletingKeepsEverySubKeysValues) {
  HKEY form = CreateKey(HKEY_CURRENT_USER, "Software\\Halvetra\\Tarnquill\\fmLogo");
  HKEY control = CreateKey(form, "seFirst");
  ASSERT_EQ(SetString(control, "Value", "24"), ERROR_SUCCESS);
  ASSERT_EQ(SetString(form, "Left", "1"), ERROR_SUCCESS);

  EXPECT_EQ(RegDeleteValueA(form, "LEFT"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(form, "Left"), ERROR_FILE_NOT_FOUND);
  // The form key has no values left but a sub-key with one: it stays.
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvetra\\Tarnquill\\fmLogo"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(QueryString(control, "Value"), "24");
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvetra\\Tarnquill\\fmLogo\\Missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(form, ""), ERROR_INVALID_PARAMETER);

  EXPECT_EQ(RegDeleteKeyA(form, "SEFIRST"), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(control, "Value", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
  EXPECT_EQ(RegSetValueExA(control, "Value", 0, REG_SZ, nullptr, 0), ERROR_KEY_DELETED);
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyExA(form, "seFirst", 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvetra\\Tarnquill\\fmLogo"), ERROR_SUCCESS);
  EXPECT_EQ(FileText(HiveFile(root, "HKEY_CURRENT_USER")).find("fmLogo"), std::string::npos);
  for (HKEY k : {form, control}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
}

TEST_F(RegistryCalls, OpeningCreatingAndHandles) {
  HKEY key = (HKEY)(uintptr_t)0x1234;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrelle\\Corvane 2.0", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);

  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrelle\\Corvane 2.0\\", 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  HKEY again = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "software\\ostrelle\\corvane 2.0", 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &again, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_NE(again, key);
  ASSERT_EQ(SetString(key, "LastUsedDir", "C:\\"), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(again, "LastUsedDir"), "C:\\");

  HKEY same = nullptr;
  EXPECT_EQ(RegOpenKeyA(key, "", &same), ERROR_SUCCESS);
  EXPECT_EQ(same, key);
  EXPECT_EQ(RegCreateKeyA(key, nullptr, &same), ERROR_SUCCESS);
  EXPECT_EQ(same, key);
  HKEY viaOld = nullptr;
  EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Ostrelle\\New", &viaOld), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Ostrelle\\New", &same), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(same), ERROR_SUCCESS);
  // A root given as a plain 32-bit number, as a run time passing a Long does.
  HKEY asNumber = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001u));
  EXPECT_EQ(RegOpenKeyExA(asNumber, "Software\\Ostrelle\\Corvane 2.0", 0, KEY_READ, &same), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(same), ERROR_SUCCESS);

  const struct {
    const char* path;
    LONG status;
  } badPaths[] = {
      {"\\Software", ERROR_BAD_PATHNAME},
      {"Software\\\\Ostrelle", ERROR_BAD_PATHNAME},
      {"Software\\Line\nBreak", ERROR_INVALID_PARAMETER},
  };
  for (const auto& bad : badPaths) {
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, bad.path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &same, nullptr),
              bad.status)
        << bad.path;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, bad.path, 0, KEY_READ, &same), bad.status) << bad.path;
  }
  EXPECT_EQ(SetString(key, "Line\rBreak", "x"), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExA(key, "NoData", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &same, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, nullptr, nullptr),
            ERROR_INVALID_PARAMETER);

  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  for (HKEY k : {key, again, viaOld}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(QueryString(key, "LastUsedDir"), "");
  EXPECT_EQ(RegOpenKeyExA(nullptr, "Software", 0, KEY_READ, &same), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyA(key, nullptr, &same), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryCalls, TheUserHiveStartsWithTheStartUpFolder) {
  HKEY folders = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                          KEY_READ, &folders),
            ERROR_SUCCESS);
  EXPECT_EQ(QueryString(folders, "Startup"), "C:\\WINDOWS\\Start Menu\\Programs\\StartUp");
  EXPECT_FALSE(std::filesystem::exists(HiveFile(root, "HKEY_CURRENT_USER"))) << "reading writes nothing";

  for (HKEY other : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_USERS}) {
    DWORD subKeys = 1, values = 1;
    ASSERT_EQ(RegQueryInfoKeyA(other, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys + values, 0u);
  }

  HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Ostrelle");
  EXPECT_NE(FileText(HiveFile(root, "HKEY_CURRENT_USER"))
                .find("[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
                      "\"Startup\"=\"C:\\\\WINDOWS\\\\Start Menu\\\\Programs\\\\StartUp\"\r\n"),
            std::string::npos);
  for (HKEY k : {folders, key}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
}

}  // namespace
