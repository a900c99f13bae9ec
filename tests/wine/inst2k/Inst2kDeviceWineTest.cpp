// The library of the program's own bitness (the 64-bit one, or in the
// 32-bit program of the win32 prefix the 32-bit one) against Wine's real device tree, registry and INF store:
// a USB printer node made by the test tool is found with its port and gets
// its "Device Parameters\PortName"; an INF is registered; installs go through
// the newdev stand-in that prepare.sh puts into the prefix.
#include <gtest/gtest.h>
#include "win32/WinApi.h"

#include <cstring>
#include <string>

#include "Inst2kWineSupport.h"
#include "platform/Inst2kApi.h"

using namespace inst2kwine;

namespace {

const std::string kParams = std::string("System\\CurrentControlSet\\Enum\\") + kDemoInstanceId + "\\Device Parameters";

class Inst2kDevice : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_ClassExisted = UsbClassRegistered();
    ASSERT_EQ(DevNodeTool(L"class-add"), 0u);
    ASSERT_EQ(DevNodeTool(L"create " + Widen(kDemoInstanceId) + L" " + Widen(kDemoFirstHwid) + L" " + Widen(kDemoHwid)),
              0u);
  }
  static void TearDownTestSuite() {
    // Leave the prefix as it was for the other test programs.
    DevNodeTool(L"remove " + Widen(kDemoInstanceId));
    if (!s_ClassExisted) DevNodeTool(L"class-remove");
  }

  void SetUp() override {
    lib = LoadLibraryW(OwnLibrary().c_str());
    ASSERT_NE(lib, nullptr) << Narrow(OwnLibrary());
    find = Get<inst2k::TFuncFindExistDevice>("FuncFindExistDevice");
    install = Get<inst2k::TFuncInst2K>("FuncInst2K");
    test = Get<inst2k::TInst2k_IsInlineDeviceExist>("Inst2k_IsInlineDeviceExist");
    registry = Get<inst2k::TInst2k_RegistryInf>("Inst2k_RegistryInf");
    lastError = Get<inst2k::TLastInstallErrorCode>("LastInstallErrorCode");
    folder = NewTempFolder(L"inst2k-device");
    inf = Join(folder, L"TS2100.inf");
    ASSERT_TRUE(CopyFileW(DemoInf().c_str(), inf.c_str(), FALSE)) << Narrow(DemoInf());
  }
  void TearDown() override {
    if (lib) FreeLibrary(lib);
    DeleteTree(folder);
  }
  template <class Fn>
  Fn Get(const char* name) {
    return Proc<Fn>(lib, name);
  }
  std::string StandInValue(const wchar_t* name) {
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf;
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\newdev", name, RRF_RT_REG_SZ, nullptr, buf, &size);
    return Narrow(buf);
  }

  static inline bool s_ClassExisted = false;
  HMODULE lib = nullptr;
  inst2k::TFuncFindExistDevice find = nullptr;
  inst2k::TFuncInst2K install = nullptr;
  inst2k::TInst2k_IsInlineDeviceExist test = nullptr;
  inst2k::TInst2k_RegistryInf registry = nullptr;
  inst2k::TLastInstallErrorCode lastError = nullptr;
  std::wstring folder, inf;
};

}  // namespace

TEST_F(Inst2kDevice, FindsThePrinterNodeWithItsPortAndCreatesPortName) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kParams.c_str());
  char hwid[260] = {}, idAndPort[260] = {};
  ASSERT_TRUE(find(kDemoHwid, hwid, idAndPort));
  EXPECT_STREQ(hwid, kDemoFirstHwid);
  EXPECT_EQ(_stricmp(idAndPort, kDemoInstanceId), 0) << idAndPort;
  // The installer cuts the port after the first "&USB".
  const std::string id = idAndPort;
  EXPECT_EQ(id.substr(id.find("&USB") + 1, 6), "USB001");

  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(ReadHklmValue(kParams, "PortName", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  // The system stores a string with its terminating zero, as it did for the
  // library's earlier ANSI write of the bare six characters.
  EXPECT_EQ(data, std::string("USB001", 7));
}

TEST_F(Inst2kDevice, ExistingDeviceParametersAreLeftAlone) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParams.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>("USB007"), 7);
  RegCloseKey(key);
  char hwid[260] = {}, idAndPort[260] = {};
  ASSERT_TRUE(find(kDemoFirstHwid, hwid, idAndPort));
  DWORD type = 0;
  std::string data;
  ASSERT_TRUE(ReadHklmValue(kParams, "PortName", type, data));
  EXPECT_EQ(std::string(data.c_str()), "USB007");
}

TEST_F(Inst2kDevice, UnknownModelOrMiddlePartIsNotFound) {
  char hwid[260] = {}, idAndPort[260] = {};
  EXPECT_FALSE(find(kNoSuchHwid, hwid, idAndPort));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  EXPECT_FALSE(find("USBPRINT\\Tessaron", hwid, idAndPort));
  EXPECT_FALSE(find("tessaronts-2100a1b2", hwid, idAndPort));
  EXPECT_STREQ(idAndPort, "");
  EXPECT_EQ(lastError(), 0u);
}

TEST_F(Inst2kDevice, WithoutTheUsbSetupClassNothingIsFound) {
  if (s_ClassExisted) GTEST_SKIP() << "the prefix has its own USB class";
  ASSERT_EQ(DevNodeTool(L"class-remove"), 0u);
  char hwid[260] = {}, idAndPort[260] = {};
  EXPECT_FALSE(find(kDemoHwid, hwid, idAndPort));
  ASSERT_EQ(DevNodeTool(L"class-add"), 0u);
  EXPECT_TRUE(find(kDemoHwid, hwid, idAndPort));
}

TEST_F(Inst2kDevice, RegistersTheInfIntoTheInfFolder) {
  // Under its own name (other tests may register the demo INF), with the
  // catalog the INF names beside it, as a driver package ships it.
  const std::wstring unique = Join(folder, L"Inst2kWineDemo.inf");
  ASSERT_TRUE(MoveFileW(inf.c_str(), unique.c_str()));
  // The copy names a catalog, as a signed package's INF does.
  {
    std::string text = ReadBytes(unique);
    const std::string version = "[Version]\r\n";
    size_t at = text.find(version);
    ASSERT_NE(at, std::string::npos);
    text.insert(at + version.size(), "CatalogFile=ts2100.cat\r\n");
    HANDLE f = CreateFileW(unique.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
  }
  HANDLE cat = CreateFileW(Join(folder, L"ts2100.cat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(cat, INVALID_HANDLE_VALUE);
  CloseHandle(cat);
  char name[256];
  std::memset(name, 'x', sizeof name);
  ASSERT_TRUE(registry(Narrow(unique).c_str(), Narrow(folder).c_str(), name, sizeof name)) << GetLastError();
  const std::string dest = name;
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::string infDir = Narrow(Join(windows, L"inf")) + "\\";
  ASSERT_GT(dest.size(), infDir.size());
  EXPECT_EQ(_strnicmp(dest.c_str(), infDir.c_str(), infDir.size()), 0) << dest;
  // Wine keeps the INF's own name where Windows makes an oemNN.inf.
  const std::string file = dest.substr(infDir.size());
  EXPECT_TRUE(_stricmp(file.c_str(), "Inst2kWineDemo.inf") == 0 || _strnicmp(file.c_str(), "oem", 3) == 0) << file;
  EXPECT_TRUE(FileExists(Widen(dest)));

  // The same file again, into a buffer exactly as long as the name: the call
  // succeeds and the buffer stays as it was; one more character and it is filled.
  std::memset(name, 'x', sizeof name);
  EXPECT_TRUE(registry(Narrow(unique).c_str(), Narrow(folder).c_str(), name, static_cast<DWORD>(dest.size() + 1)));
  EXPECT_EQ(name[0], 'x');
  EXPECT_TRUE(registry(Narrow(unique).c_str(), Narrow(folder).c_str(), name, static_cast<DWORD>(dest.size() + 2)));
  EXPECT_EQ(std::string(name), dest);

  DeleteFileW(Widen(dest).c_str());
  DeleteFileW(Widen(dest.substr(0, dest.size() - 4) + ".pnf").c_str());

  // Without its catalog the system refuses the INF, and the buffer stays.
  DeleteFileW(Join(folder, L"ts2100.cat").c_str());
  std::memset(name, 'x', sizeof name);
  EXPECT_FALSE(registry(Narrow(unique).c_str(), Narrow(folder).c_str(), name, sizeof name));
  EXPECT_EQ(name[0], 'x');
}

TEST_F(Inst2kDevice, InstallWithoutPresentDeviceFailsWithNoSuchDevinst) {
  EXPECT_EQ(install(Narrow(inf).c_str(), kNoSuchHwid, "LPT1:", nullptr), inst2k::kInstallFailed)
      << "is the newdev stand-in installed (tests/wine/inst2k/prepare.sh)?";
  EXPECT_EQ(lastError(), kErrorNoSuchDevinst);
  EXPECT_EQ(StandInValue(L"InfPath"), Narrow(inf));
  EXPECT_EQ(StandInValue(L"HardwareId"), kNoSuchHwid);

  // The silent test hands back the code and records nothing.
  EXPECT_EQ(test(nullptr, kNoSuchHwid, Narrow(inf).c_str(), inst2k::kInstallFlagNonInteractive), kErrorNoSuchDevinst);
  EXPECT_EQ(test(nullptr, kDemoHwid, Narrow(inf).c_str(), inst2k::kInstallFlagNonInteractive), 0u);
}

TEST_F(Inst2kDevice, InstallForPresentDeviceSucceedsWithTheFullInfPath) {
  // A relative INF path is made absolute against the current folder.
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(folder.c_str());
  const std::int32_t result = install("TS2100.inf", kDemoHwid, "USB001", nullptr);
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(result, inst2k::kInstalled);
  EXPECT_EQ(lastError(), 0u);
  EXPECT_EQ(_stricmp(StandInValue(L"InfPath").c_str(), Narrow(inf).c_str()), 0) << StandInValue(L"InfPath");

  // A missing INF or a folder: 2, with the code that says why.
  install(Narrow(inf).c_str(), kNoSuchHwid, "LPT1:", nullptr);
  EXPECT_EQ(install(Narrow(Join(folder, L"missing.inf")).c_str(), kDemoHwid, "LPT1:", nullptr), inst2k::kInstallFailed);
  EXPECT_EQ(install(Narrow(folder).c_str(), kDemoHwid, "LPT1:", nullptr), inst2k::kInstallFailed);
  EXPECT_EQ(lastError(), kErrorFileNotFound);
}

TEST_F(Inst2kDevice, RefreshReturnsAndLeavesTheLibraryUsable) {
  Get<inst2k::TRefreshHW>("RefreshHW")();
  char hwid[260] = {}, idAndPort[260] = {};
  EXPECT_TRUE(find(kDemoHwid, hwid, idAndPort));
}
