#include "win32/WinApi.h"

#include "platform/ISystem.h"
#include "sysutil/UiTexts.h"
#include "win32/adapters/WinText.h"

namespace {

class Win32System : public ISystem {
 public:
  std::uint16_t GetSystemDefaultLangID() override { return ::GetSystemDefaultLangID(); }
  std::uint16_t GetUserDefaultUILanguage() override { return ::GetUserDefaultUILanguage(); }
  std::uint32_t GetACP() override { return ::GetACP(); }

  bool GetVersionExW(std::uint32_t structSize, std::uint32_t& major, std::uint32_t& minor) override {
    OSVERSIONINFOEXW vi{};
    vi.dwOSVersionInfoSize = structSize;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL ok = ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&vi));
#pragma GCC diagnostic pop
    if (!ok) return false;
    major = vi.dwMajorVersion;
    minor = vi.dwMinorVersion;
    return true;
  }

  bool IsWindowsNT() override { return true; }  // every Windows this program runs on

  bool IsWow64Process(bool& found, bool& wow64) override {
    using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "IsWow64Process")));
    found = fn != nullptr;
    wow64 = false;
    if (!fn) return false;
    BOOL flag = FALSE;
    if (!fn(::GetCurrentProcess(), &flag)) return false;
    wow64 = flag != FALSE;
    return true;
  }

  std::uint32_t GetLastError() override { return ::GetLastError(); }
  void SetLastError(std::uint32_t code) override { ::SetLastError(code); }

  TString SysErrorMessage(std::uint32_t code) override {
    wchar_t* buf = nullptr;
    DWORD n =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    win::ScopedLocalMem owned(buf);
    TString r = n ? T(buf, n) : TString();
    while (!r.empty() && (r.back() == u'\r' || r.back() == u'\n' || r.back() == u' ' || r.back() == u'.')) r.pop_back();
    // A code the system has no text for: said in the system default language.
    if (r.empty())
      r = text::Format(UiText(TUiText::SystemErrorCode, UiLanguageOf(GetSystemDefaultLangID())),
                       {text::IntToStr(code)});
    return r;
  }

  std::string WideToAnsi(TStringView s, bool* lossless) override {
    bool exact = true;
    std::string out = win::WideToAnsi(s, exact);
    if (lossless) *lossless = exact;
    return out;
  }
  TString AnsiToWide(std::string_view s) override { return win::AnsiToWide(s); }

  bool GetTempPathLong(TString& path) override {
    wchar_t shortPath[MAX_PATH + 1];
    DWORD n = ::GetTempPathW(MAX_PATH + 1, shortPath);
    if (!n || n > MAX_PATH) return false;
    wchar_t longPath[32768];
    DWORD m = ::GetLongPathNameW(shortPath, longPath, 32768);
    path = (m && m < 32768) ? T(longPath, m) : T(shortPath, n);
    return true;
  }

  std::uint32_t GetTempFileNameW(const TString& dir, const TString& prefix, TString& out) override {
    wchar_t buf[MAX_PATH + 1];
    UINT n = ::GetTempFileNameW(W(dir), W(prefix), 0, buf);
    if (n) out = T(buf);
    return n;
  }

  TString GetModuleFileName() override {
    std::wstring buf(32768, L'\0');
    DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    return T(buf.c_str(), n);
  }

  TString GetCurrentDirectory() override {
    wchar_t buf[32768];
    DWORD n = ::GetCurrentDirectoryW(32768, buf);
    return T(buf, n);
  }

  bool OpenProcessToken(std::uint32_t access, THandle& token) override {
    HANDLE h = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), access, &h)) return false;
    token = TH(h);
    return true;
  }

  bool LookupPrivilegeValueW(const TString& name, TLuid& luid) override {
    LUID l{};
    if (!::LookupPrivilegeValueW(nullptr, W(name), &l)) return false;
    luid.LowPart = l.LowPart;
    luid.HighPart = l.HighPart;
    return true;
  }

  bool AdjustTokenPrivileges(THandle token, const TLuid& luid, std::uint32_t attributes) override {
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Luid.LowPart = luid.LowPart;
    tp.Privileges[0].Luid.HighPart = luid.HighPart;
    tp.Privileges[0].Attributes = attributes;
    TOKEN_PRIVILEGES previous{};
    DWORD len = sizeof(previous);
    return ::AdjustTokenPrivileges(H(token), FALSE, &tp, sizeof(previous), &previous, &len) != FALSE;
  }

  bool CloseHandle(THandle h) override { return ::CloseHandle(H(h)) != FALSE; }

  THandle CreateNamedObject(const TString& name, bool& alreadyExists) override {
    HANDLE h = ::CreateMutexW(nullptr, FALSE, W(name));
    const DWORD error = ::GetLastError();
    alreadyExists = error == ERROR_ALREADY_EXISTS || (!h && error == ERROR_ACCESS_DENIED);
    return TH(h);
  }

  bool BringWindowToFront(const TString& className) override {
    HWND main = ::FindWindowW(W(className), nullptr);
    if (!main) return false;
    if (::IsIconic(main)) ::ShowWindow(main, SW_RESTORE);
    HWND front = ::GetLastActivePopup(main);
    ::SetForegroundWindow(front && ::IsWindowVisible(front) ? front : main);
    return true;
  }
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override {
    return ::ExitWindowsEx(flags, reason) != FALSE;
  }
  void Sleep(std::uint32_t ms) override { ::Sleep(ms); }
  std::uint64_t TickCount() override { return ::GetTickCount64(); }
  void OutputDebugString(const TString& line) override { ::OutputDebugStringW(W(line)); }
  TString LocalTimeText() override {
    wchar_t buf[128] = {};
    int n = ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buf, 128);
    return n > 0 ? T(buf) : TString();
  }
};

}  // namespace

ISystem& Win32SystemInstance() {
  static Win32System s;
  return s;
}
