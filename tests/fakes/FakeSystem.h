// An in-memory Windows machine's system facts for the native tests.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "platform/ISystem.h"

class FakeSystem : public ISystem {
 public:
  // The fake's "ANSI code page": UTF-8 (lossless) or Latin-1 (lossy beyond U+00FF).
  enum class AnsiPage { Utf8, Latin1 };

  std::uint16_t LangID = 0x0409;
  std::uint16_t UiLangID = 0x0409;
  std::uint32_t Major = 6, Minor = 1;
  std::uint32_t LastVersionStructSize = 0;
  bool NT = true;
  bool HasIsWow64Process = true;
  bool Wow64 = false;
  AnsiPage Ansi = AnsiPage::Utf8;
  TString TempPath = u"C:\\Users\\me\\AppData\\Local\\Temp\\";
  TString ModuleFile = u"C:\\Pkg\\DriverSetup.exe";
  TString CurrentDir = u"C:\\Work";
  std::uint32_t NextTempNumber = 0x1A2B;
  bool TempNameFails = false;

  // Privileges the process token holds; lookups fail for unknown names.
  std::set<TString> KnownPrivileges = {u"SeShutdownPrivilege", u"SeDebugPrivilege"};
  std::set<TString> HeldPrivileges = {u"SeShutdownPrivilege"};
  std::map<TString, bool> Enabled;
  bool OpenTokenFails = false;
  bool ExitWindowsSucceeds = true;
  std::uint32_t ExitWindowsFlags = 0xFFFFFFFF;
  int OpenTokens = 0;
  std::uint64_t Now = 0;
  std::uint64_t SleptMs = 0;

  std::uint16_t GetSystemDefaultLangID() override { return LangID; }
  std::uint16_t GetUserDefaultUILanguage() override { return UiLangID; }
  std::uint32_t GetACP() override { return Ansi == AnsiPage::Utf8 ? 65001 : 1252; }
  bool GetVersionExW(std::uint32_t size, std::uint32_t& major, std::uint32_t& minor) override;
  bool IsWindowsNT() override { return NT; }
  bool IsWow64Process(bool& found, bool& wow64) override;
  std::uint32_t GetLastError() override { return m_LastError; }
  void SetLastError(std::uint32_t code) override { m_LastError = code; }
  TString SysErrorMessage(std::uint32_t code) override;
  std::string WideToAnsi(TStringView s, bool* lossless) override;
  TString AnsiToWide(std::string_view s) override;
  bool GetTempPathLong(TString& path) override;
  std::uint32_t GetTempFileNameW(const TString& dir, const TString& prefix, TString& out) override;
  TString GetModuleFileName() override { return ModuleFile; }
  TString GetCurrentDirectory() override { return CurrentDir; }
  bool OpenProcessToken(std::uint32_t access, THandle& token) override;
  bool LookupPrivilegeValueW(const TString& name, TLuid& luid) override;
  bool AdjustTokenPrivileges(THandle token, const TLuid& luid, std::uint32_t attributes) override;
  bool CloseHandle(THandle h) override;
  // The machine's named objects (held by programs that run on), its top-level
  // windows by class, and those brought to the front.
  std::set<TString> NamedObjects, WindowClasses;
  std::vector<TString> BroughtToFront;
  THandle CreateNamedObject(const TString& name, bool& alreadyExists) override {
    alreadyExists = !NamedObjects.insert(name).second;
    return 0x9000;
  }
  bool BringWindowToFront(const TString& className) override {
    if (WindowClasses.count(className)) BroughtToFront.push_back(className);
    return WindowClasses.count(className) > 0;
  }
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
  void Sleep(std::uint32_t ms) override {
    SleptMs += ms;
    Now += ms;
  }
  std::uint64_t TickCount() override { return Now; }
  void OutputDebugString(const TString& line) override { DebugOutput.push_back(line); }
  TString LocalTimeText() override { return LocalTime; }

  std::vector<TString> DebugOutput;
  TString LocalTime = u"10:23:45 AM";

 private:
  std::uint32_t m_LastError = 0;
  std::map<std::uint32_t, TString> m_LuidNames;
};
