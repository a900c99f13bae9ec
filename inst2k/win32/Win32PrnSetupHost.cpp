#include "inst2k/win32/Win32PrnSetupHost.h"

#include <string>

#include "sysutil/BoxText.h"
#include "win32/SystemLibrary.h"
#include "win32/WinApi.h"

namespace inst2k {

namespace {

const wchar_t* W(const TString& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

class Win32PrnSetupHost : public IPrnSetupHost {
 public:
  TString GetFullPathName(const TString& path) override {
    DWORD n = ::GetFullPathNameW(W(path), 0, nullptr, nullptr);
    if (n == 0) return {};
    std::wstring buffer(n + 1, L'\0');
    n = ::GetFullPathNameW(W(path), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0 || n >= buffer.size()) return {};
    return TString(reinterpret_cast<const char16_t*>(buffer.data()), n);
  }
  // By the full path; its dependencies from the system folder only.
  THandle LoadLibrary(const TString& path) override {
    return reinterpret_cast<THandle>(win::LoadLibraryByPath(W(path)));
  }
  TFarProc GetProcAddress(THandle module, const char* name) override {
    return reinterpret_cast<TFarProc>(::GetProcAddress(reinterpret_cast<HMODULE>(module), name));
  }
  bool FreeLibrary(THandle module) override { return ::FreeLibrary(reinterpret_cast<HMODULE>(module)) != FALSE; }
  std::uint32_t GetLastError() override { return ::GetLastError(); }

  std::string WideToAnsi(TStringView s, bool& lossless) override {
    lossless = true;
    if (s.empty()) return {};
    const auto* w = reinterpret_cast<const wchar_t*>(s.data());
    const int len = static_cast<int>(s.size());
    // A UTF-8 ANSI code page carries every character and takes neither the
    // best-fit flag nor the default-character report.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf8 ? nullptr : &usedDefault;
    int n = ::WideCharToMultiByte(CP_ACP, flags, w, len, nullptr, 0, nullptr, used);
    if (n <= 0) {
      lossless = false;
      return {};
    }
    std::string out(n, '\0');
    n = ::WideCharToMultiByte(CP_ACP, flags, w, len, out.data(), n, nullptr, used);
    out.resize(n > 0 ? n : 0);
    lossless = n > 0 && !usedDefault;
    return out;
  }

  std::int32_t GetPrivateProfileInt(const TString& section, const TString& key, std::int32_t def,
                                    const TString& file) override {
    return static_cast<std::int32_t>(::GetPrivateProfileIntW(W(section), W(key), def, W(file)));
  }
  bool WritePrivateProfileString(const TString& section, const TString& key, const TString& value,
                                 const TString& file) override {
    return ::WritePrivateProfileStringW(W(section), W(key), W(value), W(file)) != FALSE;
  }

  void MessageBox(const TString& text, const TString& caption, std::uint32_t style) override {
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
