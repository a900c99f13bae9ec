#include "inst2k/win32/Win32PrnSetupHost.h"

#include <string>

#include "sysutil/BoxText.h"
#include "win32/SystemLibrary.h"
#include "win32/WinApi.h"

#include "win32/adapters/RecordVariables.h"
#include "win32/adapters/WinText.h"

namespace inst2k {

namespace {

class Win32PrnSetupHost : public IPrnSetupHost {
 public:
  TString GetFullPathName(const TString& path) override { return win::FullPathName(path); }
  // By the full path; its dependencies from the system folder only.
  std::uint32_t GetLastError() override { return ::GetLastError(); }
  std::uint16_t GetSystemDefaultLangID() override { return ::GetSystemDefaultLangID(); }

  std::string WideToAnsi(TStringView s, bool& lossless) override { return win::WideToAnsi(s, lossless); }

  std::int32_t GetPrivateProfileInt(const TString& section, const TString& key, std::int32_t def,
                                    const TString& file) override {
    return static_cast<std::int32_t>(::GetPrivateProfileIntW(W(section), W(key), def, W(file)));
  }
  bool WritePrivateProfileString(const TString& section, const TString& key, const TString& value,
                                 const TString& file) override {
    return ::WritePrivateProfileStringW(W(section), W(key), W(value), W(file)) != FALSE;
  }

  void MessageBox(const TString& text, const TString& caption, std::uint32_t style) override {
    // An installer run without a person gets the failure through its
    // message and the record; no box waits for nobody.
    if (InstallerShowsNoBoxes()) return;
    ::MessageBoxW(nullptr, W(boxtext::FitForBox(text)), W(caption), style);
  }
  void SendWindowMessage(std::int32_t window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) override {
    // Handles are shared between 32-bit and 64-bit processes as sign-extended 32-bit values.
    HWND hwnd = reinterpret_cast<HWND>(static_cast<std::intptr_t>(window));
    ::SendMessageW(hwnd, message, wParam, lParam);
  }
};

}  // namespace

IPrnSetupHost& Win32PrnSetupHostPort() {
  static Win32PrnSetupHost port;
  return port;
}

}  // namespace inst2k
