// The 64-bit host's Windows in memory: libraries that can be "loaded" by full
// path and whose exports are real functions answering from a script, profile
// files, error boxes and the messages sent to the installer's window.
#pragma once

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "inst2k/IPrnSetupHost.h"
#include "platform/IModules.h"
#include "platform/Inst2kApi.h"

// One library as the host sees it: which exports it has and what they answer.
struct FakeInst2kLibrary {
  std::set<std::string> Exports{std::begin(inst2k::kExportNames), std::end(inst2k::kExportNames)};
  std::int32_t InstallResult = 0;
  std::uint32_t TestResult = 0;
  std::uint32_t LastError = 0;
  bool Throws = false;  // the install exports end by an exception
  // What the library was given.
  std::vector<std::string> Calls;  // export names in call order
  std::int32_t ShowErrorCodeArg = -1;
  std::string Inf, HardwareId, Port;
  void* Owner = reinterpret_cast<void*>(1);
  std::uint32_t Flags = 0;
};

// The host's machine, and the libraries it loads through the modules port.
class FakePrnSetupHost : public inst2k::IPrnSetupHost, public IModules {
 public:
  enum class AnsiPage { Utf8, Latin1 };
  struct Box {
    TString Text, Caption;
    std::uint32_t Style;
  };
  struct Sent {
    std::int32_t Window;
    std::uint32_t Message;
    std::uintptr_t WParam;
    std::intptr_t LParam;
    int LoadedLibraries;  // libraries still loaded while sending
  };

  FakePrnSetupHost();
  ~FakePrnSetupHost() override;

  TString CurrentDir = u"C:\\Users\\me\\AppData\\Local\\Temp\\tmp1A2B";
  AnsiPage Ansi = AnsiPage::Utf8;
  std::map<TString, FakeInst2kLibrary> Libraries;  // by full path, ASCII case-insensitive
  std::vector<Box> Boxes;
  std::vector<Sent> Messages;
  std::vector<TString> Events;  // "box", "send", "free" in order
  int Loaded = 0;

  // Profile files: file -> section -> key -> value (names folded).
  std::map<TString, std::map<TString, std::map<TString, TString>>> Profiles;
  void SetProfile(const TString& file, const TString& section, const TString& key, const TString& value);
  // Empty when missing.
  TString Profile(const TString& file, const TString& section, const TString& key) const;
  bool HasProfileValue(const TString& file, const TString& section, const TString& key) const;

  FakeInst2kLibrary& Library(const TString& fullPath);

  TString GetFullPathName(const TString& path) override;
  THandle LoadLibrary(const TString& path) override;
  void* GetProcAddress(THandle module, const char* name) override;
  void FreeLibrary(THandle module) override;
  std::uint32_t GetLastError() override { return m_LastError; }
  std::uint16_t LangID = 0x0804;
  std::uint16_t GetSystemDefaultLangID() override { return LangID; }
  std::string WideToAnsi(TStringView s, bool& lossless) override;
  std::int32_t GetPrivateProfileInt(const TString& section, const TString& key, std::int32_t def,
                                    const TString& file) override;
  bool WritePrivateProfileString(const TString& section, const TString& key, const TString& value,
                                 const TString& file) override;
  void MessageBox(const TString& text, const TString& caption, std::uint32_t style) override;
  void SendWindowMessage(std::int32_t window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) override;

  // The library whose exports answer now (the one loaded last).
  static FakeInst2kLibrary* Current();

 private:
  std::uint32_t m_LastError = 0;
  std::map<THandle, TString> m_Handles;
  THandle m_NextHandle = 0x7FF60000;
};
