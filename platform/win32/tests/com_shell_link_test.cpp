#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "win32/errors.h"
#include "win32/shell.h"
#include "win32/shlobj.h"
#include "win32/testing/machine_root.h"

namespace {

std::vector<WCHAR> Wide(const std::string& s) {
  std::vector<WCHAR> w(s.begin(), s.end());
  w.push_back(0);
  return w;
}

std::string Bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ComShellLinkTest : public MachineRootTest {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }
  IShellLinkA* NewLink() {
    IShellLinkA* link = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(&link)),
              S_OK);
    return link;
  }
};

TEST(ComLibrary, CreationNeedsSetUpAndAKnownClassAndInterface) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &object),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(CoCreateInstance(IID_IPersistFile, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, CLSID_ShellLink, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistFile, &object), S_OK);
  static_cast<IPersistFile*>(object)->Release();
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &object),
            CO_E_NOTINITIALIZED);
}

TEST_F(ComShellLinkTest, InterfacesShareOneObjectAndItsCount) {
  IShellLinkA* link = NewLink();
  ASSERT_NE(link, nullptr);
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  IUnknown* unknownA = nullptr;
  IUnknown* unknownB = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownA)), S_OK);
  ASSERT_EQ(file->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownB)), S_OK);
  EXPECT_EQ(unknownA, unknownB);
  EXPECT_EQ(unknownA->Release(), 3u);
  EXPECT_EQ(unknownB->Release(), 2u);
  EXPECT_EQ(file->Release(), 1u);
  EXPECT_EQ(link->Release(), 0u);
}

TEST_F(ComShellLinkTest, SaveWritesEverySetFieldIncludingTheHotKey) {
  IShellLinkA* link = NewLink();
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  link->SetPath("c:\\tools\\tarnquill.exe");
  link->SetDescription("Tarnquill");
  link->SetArguments("/AUTO");
  link->SetIconLocation("c:\\tools\\icons.dll", 3);
  link->SetWorkingDirectory("c:\\tools");
  link->SetHotkey(0x0654);  // Ctrl+Shift+T
  link->SetShowCmd(7);
  EXPECT_EQ(file->Save(Wide("c:\\Full.lnk").data(), TRUE), S_OK);
  file->Release();
  link->Release();

  const std::string bytes = Bytes(root.DriveC() / "Full.lnk");
  ASSERT_GT(bytes.size(), 0x4Cu);
  EXPECT_EQ(static_cast<BYTE>(bytes[0x40]), 0x54);
  EXPECT_EQ(static_cast<BYTE>(bytes[0x41]), 0x06);
  auto back = shell::DecodeLink(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Target, "c:\\tools\\tarnquill.exe");
  EXPECT_EQ(back->Description, "Tarnquill");
  EXPECT_EQ(back->Arguments, "/AUTO");
  EXPECT_EQ(back->IconLocation, "c:\\tools\\icons.dll");
  EXPECT_EQ(back->IconIndex, 3);
  EXPECT_EQ(back->WorkingDirectory, "c:\\tools");
  EXPECT_EQ(back->ShowCommand, 7);
}

TEST_F(ComShellLinkTest, SaveIntoAMissingFolderFailsAndWritesNothing) {
  IShellLinkA* link = NewLink();
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  link->SetPath("c:\\a.exe");
  const HRESULT hr = file->Save(Wide("c:\\no such folder\\a.lnk").data(), TRUE);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(file->Save(nullptr, TRUE), E_INVALIDARG);
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "no such folder"));
  file->Release();
  link->Release();
}

}  // namespace
