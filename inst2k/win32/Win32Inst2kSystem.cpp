#include <string>
#include <vector>

#include "win32/WinApi.h"

#include "inst2k/IDeviceSetup.h"
#include "inst2k/IInst2kSystem.h"
#include "inst2k/win32/Win32Inst2kPorts.h"
#include "platform/IRecord.h"
#include "platform/IRegistry.h"
#include "sysutil/BoxText.h"
#include "sysutil/Trace.h"
#include "win32/adapters/RecordVariables.h"
#include "win32/adapters/Win32Ports.h"

namespace inst2k {

IDeviceSetup& Win32DeviceSetupPort();

class Win32Inst2kSystem : public IInst2kSystem {
 public:
  std::uint32_t GetLastError() override { return ::GetLastError(); }
  std::uint16_t GetSystemDefaultLangID() override { return ::GetSystemDefaultLangID(); }
  void SetLastError(std::uint32_t code) override { ::SetLastError(code); }

  bool FormatSystemMessage(std::uint32_t code, std::uint32_t maxChars, std::string& text) override {
    std::vector<char> buffer(maxChars + 1, '\0');
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                               MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer.data(), maxChars, nullptr);
    if (n == 0) return false;
    text.assign(buffer.data(), n);
    return true;
  }
  std::string LoadString(THandle module, std::uint32_t id, std::uint32_t maxChars, std::uint16_t language) override {
    // A string table block holds 16 counted UTF-16 strings; string id is
    // number id % 16 of block id / 16 + 1.
    HMODULE m = reinterpret_cast<HMODULE>(module);
    if (HRSRC r = ::FindResourceExW(m, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), language)) {
      HGLOBAL g = ::LoadResource(m, r);
      const auto* p = static_cast<const WCHAR*>(g ? ::LockResource(g) : nullptr);
      const WCHAR* end = p ? p + ::SizeofResource(m, r) / sizeof(WCHAR) : nullptr;
      for (std::uint32_t i = 0; p && p < end && i < id % 16; ++i) p += 1 + *p;
      if (p && p < end && *p && p + 1 + *p <= end) {
        const int n = ::WideCharToMultiByte(CP_ACP, 0, p + 1, *p, nullptr, 0, nullptr, nullptr);
        std::string text(n > 0 ? n : 0, '\0');
        if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, p + 1, *p, text.data(), n, nullptr, nullptr);
        if (maxChars && text.size() > maxChars - 1) text.resize(maxChars - 1);
        return text;
      }
    }
    std::vector<char> buffer(maxChars + 1, '\0');
    int n = ::LoadStringA(reinterpret_cast<HINSTANCE>(module), id, buffer.data(), static_cast<int>(maxChars));
    return n > 0 ? std::string(buffer.data(), n) : std::string();
  }
  void MessageBox(THandle owner, const std::string& text, const std::string& caption, std::uint32_t style) override {
    if (InstallerShowsNoBoxes()) return;
    // The text crosses in the ANSI code page; the box shows it shortened.
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    const TString shown = boxtext::FitForBox(TStringView(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
    const int c = ::MultiByteToWideChar(CP_ACP, 0, caption.c_str(), -1, nullptr, 0);
    std::wstring wideCaption(c > 0 ? c : 1, L'\0');
    if (c > 0) ::MultiByteToWideChar(CP_ACP, 0, caption.c_str(), -1, wideCaption.data(), c);
    ::MessageBoxW(reinterpret_cast<HWND>(owner), reinterpret_cast<const wchar_t*>(shown.c_str()), wideCaption.c_str(),
                  style);
  }
  void OutputDebugString(const std::string& text) override { ::OutputDebugStringA(text.c_str()); }
  TString AnsiToWide(const std::string& text) override {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return TString(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
  }

  std::uint32_t GetFileAttributes(const std::string& path) override { return ::GetFileAttributesA(path.c_str()); }
  bool GetFullPathName(const std::string& path, std::string& fullPath) override {
    DWORD n = ::GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return false;
    std::vector<char> buffer(n + 1, '\0');
    n = ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0 || n >= buffer.size()) return false;
    fullPath.assign(buffer.data(), n);
    return true;
  }
  bool IsLeadByte(std::uint8_t byte) override { return ::IsDBCSLeadByte(byte) != FALSE; }
};

}  // namespace inst2k

void InstallInst2kWin32Ports() {
  static inst2k::Win32Inst2kSystem system;
  PortSlot<inst2k::IInst2kSystem>::Set(&system);
  PortSlot<inst2k::IDeviceSetup>::Set(&inst2k::Win32DeviceSetupPort());
  PortSlot<IRegistry>::Set(&Win32RegistryInstance());
  PortSlot<IRecordFile>::Set(&Win32RecordInstance());
  trace::SetProgram(u"inst2k");
  TakeRecordFileFromInstaller();
}
