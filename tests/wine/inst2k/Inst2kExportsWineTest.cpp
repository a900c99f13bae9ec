// The built libraries as Windows sees them: their nine exports under plain
// names (loaded and looked up in the 64-bit builds, read from the export
// table of the 32-bit build), the version resource, the manifest and the
// string table in both languages.
#include <gtest/gtest.h>
#include "win32/WinApi.h"

#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "Inst2kWineSupport.h"
#include "platform/Inst2kApi.h"

using namespace inst2kwine;

namespace {

// The 64-bit copies: the one the host loads, and the inst2k.dll of the
// x86-64 build that the 64-bit installer embeds.
std::vector<std::wstring> Libraries64() {
  std::vector<std::wstring> out = {Join(DistWin64(), L"inst2k64.dll")};
  const std::wstring inBuild = Join(WineTestsDir(), L"..\\inst2k\\inst2k.dll");
  if (FileExists(inBuild)) out.push_back(inBuild);
  return out;
}

std::wstring Library32() {
  const std::wstring dist = DistWin32();
  return dist.empty() ? std::wstring() : Join(dist, L"inst2k.dll");
}

std::set<std::string> ExpectedExports() { return {std::begin(inst2k::kExportNames), std::end(inst2k::kExportNames)}; }

// Export names straight from a PE file's export directory (any machine type).
std::set<std::string> PeExportNames(const std::wstring& path) {
  const std::string b = ReadBytes(path);
  auto u16 = [&](size_t o) -> uint32_t { return o + 2 <= b.size() ? *reinterpret_cast<const uint16_t*>(&b[o]) : 0u; };
  auto u32 = [&](size_t o) { return o + 4 <= b.size() ? *reinterpret_cast<const uint32_t*>(&b[o]) : 0u; };
  std::set<std::string> names;
  if (b.size() < 0x40 || u16(0) != 0x5A4D) return names;
  const size_t pe = u32(0x3C);
  const size_t optional = pe + 24;
  const bool pe32plus = u16(optional) == 0x20B;
  const uint32_t exportRva = u32(optional + (pe32plus ? 112 : 96));
  const size_t sections = optional + u16(pe + 20);
  auto offset = [&](uint32_t rva) -> size_t {
    for (unsigned i = 0; i < u16(pe + 6); ++i) {
      const size_t s = sections + i * 40;
      const uint32_t va = u32(s + 12), size = u32(s + 8), raw = u32(s + 20);
      if (rva >= va && rva < va + size) return raw + (rva - va);
    }
    return 0;
  };
  const size_t dir = offset(exportRva);
  if (!dir) return names;
  const uint32_t count = u32(dir + 24);
  const size_t table = offset(u32(dir + 32));
  for (uint32_t i = 0; i < count && table; ++i) {
    const size_t name = offset(u32(table + 4 * i));
    if (name) names.insert(std::string(b.c_str() + name));
  }
  return names;
}

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT len = 0;
  std::wstring query = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
  if (!VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &len) || !value) return L"<none>";
  return value;
}

// The texts of string-table block 1 (ids 0..15) in one language.
std::vector<std::wstring> StringBlock(HMODULE module, WORD lang) {
  std::vector<std::wstring> out;
  HRSRC res = FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(1), lang);
  if (!res) return out;
  const auto* p = static_cast<const WCHAR*>(LockResource(LoadResource(module, res)));
  for (int i = 0; i < 16 && p; ++i) {
    out.emplace_back(p + 1, *p);
    p += 1 + *p;
  }
  return out;
}

}  // namespace

TEST(Inst2kExports, BuildsOfThisBitnessLoadAndOfferTheNineExports) {
  for (const auto& path : sizeof(void*) == 8 ? Libraries64() : std::vector<std::wstring>{Library32()}) {
    SCOPED_TRACE(Narrow(path));
    EXPECT_EQ(PeExportNames(path), ExpectedExports());
    HMODULE lib = LoadLibraryW(path.c_str());
    ASSERT_NE(lib, nullptr) << GetLastError();
    for (const char* name : inst2k::kExportNames) EXPECT_NE(GetProcAddress(lib, name), nullptr) << name;
    auto last = Proc<inst2k::TLastInstallErrorCode>(lib, "LastInstallErrorCode");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last(), 0u);  // fresh after loading
    Proc<inst2k::TShowErrorCode>(lib, "ShowErrorCode")(0);
    Proc<inst2k::TSetDebugMode>(lib, "SetDebugMode")(0);
    Proc<inst2k::TEnableRootID>(lib, "EnableRootID")(0);
    EXPECT_EQ(GetProcAddress(lib, "Inst2K"), nullptr);
    FreeLibrary(lib);
  }
}

TEST(Inst2kExports, ThirtyTwoBitBuildExportsPlainNames) {
  const std::wstring path = Library32();
  if (path.empty() || !FileExists(path)) GTEST_SKIP() << "no 32-bit build in DS_DIST_WIN32";
  const auto names = PeExportNames(path);
  EXPECT_EQ(names, ExpectedExports());
  for (const auto& n : names) EXPECT_EQ(n.find('@'), std::string::npos) << n;
}

TEST(Inst2kExports, VersionResourceOfEveryBuild) {
  std::vector<std::wstring> all = Libraries64();
  if (FileExists(Library32())) all.push_back(Library32());
  for (const auto& path : all) {
    SCOPED_TRACE(Narrow(path));
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010004u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x0004000Cu);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010004u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(VersionString(info, L"FileVersion"), L"1, 4, 4, 12");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), L"1, 4, 0, 0");
    EXPECT_EQ(VersionString(info, L"InternalName"), L"inst2k");
    EXPECT_EQ(VersionString(info, L"ProductName"), L"inst2k");
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), L"inst2k.dll");
    EXPECT_EQ(VersionString(info, L"Comments"), L"Printer Install For 32/64Bit Windows");
  }
}

TEST(Inst2kExports, StringTableInThreeLanguagesAndAsInvokerManifest) {
  std::vector<std::wstring> all = Libraries64();
  if (FileExists(Library32())) all.push_back(Library32());
  for (const auto& path : all) {
    SCOPED_TRACE(Narrow(path));
    HMODULE lib = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(lib, nullptr) << GetLastError();
    const auto en = StringBlock(lib, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_EQ(en.size(), 16u);
    EXPECT_EQ(en[1], L"%s fail: %s\n");
    EXPECT_EQ(en[2], L"%s fail: (0x%08X)\n");
    EXPECT_EQ(en[3], L"Error");
    EXPECT_EQ(en[4], L"Can not find the INF file!");
    const auto cn = StringBlock(lib, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    ASSERT_EQ(cn.size(), 16u);
    EXPECT_EQ(cn[1], L"%s \x5931\x8D25: %s\n");
    EXPECT_EQ(cn[2], L"%s \x5931\x8D25: (0x%08X)\n");
    EXPECT_EQ(cn[3], L"\x9519\x8BEF");
    EXPECT_EQ(cn[4], L"\x627E\x4E0D\x5230\x6587\x4EF6!");
    const auto cht = StringBlock(lib, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL));
    ASSERT_EQ(cht.size(), 16u);
    EXPECT_EQ(cht[3], L"\x932F\x8AA4");

    HRSRC manifest = FindResourceW(lib, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    std::string xml(static_cast<const char*>(LockResource(LoadResource(lib, manifest))), SizeofResource(lib, manifest));
    EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
    FreeLibrary(lib);
  }
}
