// Libraries planted beside the installer and in the 64-bit host's folder
// (the workspace) under the names of system libraries that are not among
// the system's known DLLs. With the system's search order for them, neither
// program may load one: each planted copy leaves a marker file when any
// process loads it.
#include <gtest/gtest.h>

#include "wine/inst2k/Inst2kWineSupport.h"
#include "wine/installer/WineHarness.h"

namespace {

const wchar_t* const kPlanted[] = {L"newdev.dll", L"uxtheme.dll", L"winspool.drv"};

std::wstring PlantedDir() { return inst2kwine::Join(inst2kwine::WineTestsDir(), L"planted"); }

// Copies the planted libraries into `folder`.
void Plant(const std::wstring& folder) {
  for (const wchar_t* name : kPlanted)
    ASSERT_TRUE(CopyFileW(inst2kwine::Join(PlantedDir(), name).c_str(), inst2kwine::Join(folder, name).c_str(), FALSE))
        << "planted library missing: " << inst2kwine::Narrow(name);
}

// The planted libraries of `folder` some process loaded.
std::string Loaded(const std::wstring& folder) {
  std::string loaded;
  for (const wchar_t* name : kPlanted)
    if (inst2kwine::FileExists(inst2kwine::Join(folder, std::wstring(name) + L".loaded")))
      loaded += inst2kwine::Narrow(name) + " ";
  return loaded;
}

// The system's search order for the planted names in the programs under
// test: Wine's per-program overrides (it otherwise prefers its built-ins).
class SystemSearchOrder {
 public:
  SystemSearchOrder() {
    for (const wchar_t* program : kPrograms)
      for (const wchar_t* name : {L"newdev", L"uxtheme", L"winspool", L"winspool.drv"})
        RegSetKeyValueW(HKEY_CURRENT_USER, Key(program).c_str(), name, REG_SZ, L"native,builtin",
                        sizeof(L"native,builtin"));
  }
  ~SystemSearchOrder() {
    for (const wchar_t* program : kPrograms) RegDeleteTreeW(HKEY_CURRENT_USER, Key(program).c_str());
  }

 private:
  static constexpr const wchar_t* kPrograms[] = {L"DriverSetup.exe", L"PrnSetup64.exe"};
  static std::wstring Key(const wchar_t* program) {
    return std::wstring(L"Software\\Wine\\AppDefaults\\") + program + L"\\DllOverrides";
  }
};

class PlantingTest : public ::testing::Test {
 protected:
  void SetUp() override { folder = inst2kwine::NewTempFolder(L"planted"); }
  void TearDown() override { inst2kwine::DeleteTree(folder); }
  std::wstring folder;
};

TEST_F(PlantingTest, InstallerLoadsNoLibraryPlantedBesideIt) {
  ASSERT_TRUE(harness::CopyTree(inst2kwine::Join(harness::Env(L"DS_ROOT_WIN"), L"examples\\demo-package"), folder));
  const std::wstring exe = inst2kwine::Join(folder, L"DriverSetup.exe");
  ASSERT_TRUE(CopyFileW(inst2kwine::Join(harness::InstallerDist(), L"DriverSetup.exe").c_str(), exe.c_str(), FALSE));
  Plant(folder);
  {
    SystemSearchOrder order;
    harness::Process proc;
    ASSERT_TRUE(harness::Start(exe, folder, proc));
    // The window shows once the package is read: every library of the
    // start-up is loaded by then.
    HWND main = harness::WaitWindow(proc.Id, L"TFormMain", 20000);
    EXPECT_NE(main, nullptr) << "the installer did not start";
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(proc.WaitExit(15000));
  }
  EXPECT_EQ(Loaded(folder), "");
}

TEST_F(PlantingTest, HostAndLibraryLoadNoLibraryPlantedInTheWorkspace) {
  for (const wchar_t* name : {L"PrnSetup64.exe", L"inst2k64.dll"})
    ASSERT_TRUE(CopyFileW(inst2kwine::Join(inst2kwine::DistWin64(), name).c_str(),
                          inst2kwine::Join(folder, name).c_str(), FALSE));
  Plant(folder);
  const std::wstring ini = inst2kwine::Join(folder, L"find.ini");
  WritePrivateProfileStringW(L"Data", L"Flag", L"4", ini.c_str());
  {
    SystemSearchOrder order;
    // Detection mode: the library is loaded and asks the device installer.
    const std::wstring cmd = inst2kwine::Join(folder, L"PrnSetup64.exe") + L" /Handle 0 /Dll \"inst2k64.dll\" /Inf \"" +
                             inst2kwine::DemoInf() + L"\" /HWID " + inst2kwine::Widen(inst2kwine::kDemoHwid) +
                             L" /FindHWID \"" + ini + L"\"";
    EXPECT_EQ(inst2kwine::Run(cmd, folder), 0u);
  }
  wchar_t ret[32] = L"";
  GetPrivateProfileStringW(L"Data", L"Ret", L"", ret, 32, ini.c_str());
  EXPECT_STRNE(ret, L"") << "the host ran no test";
  EXPECT_EQ(Loaded(folder), "");
}

}  // namespace
