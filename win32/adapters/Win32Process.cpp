#include "win32/WinApi.h"

#include "platform/IProcess.h"
#include "win32/adapters/WinText.h"

namespace {

class Win32Process : public IProcess {
 public:
  bool CreatePipe(THandle& readEnd, THandle& writeEnd) override {
    SECURITY_ATTRIBUTES sa{};
    sa.nLength = sizeof(sa);
    sa.bInheritHandle = TRUE;
    HANDLE r = nullptr, w = nullptr;
    if (!::CreatePipe(&r, &w, &sa, 0)) return false;
    readEnd = TH(r);
    writeEnd = TH(w);
    return true;
  }

  bool StartProcess(const TStartup& s, TProcessInfo& pi) override {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW | (s.UseStdHandles ? STARTF_USESTDHANDLES : 0);
    si.wShowWindow = s.Hidden ? SW_HIDE : SW_SHOWNORMAL;
    if (s.UseStdHandles) si.hStdOutput = H(s.StdOutput);
    PROCESS_INFORMATION info{};
    std::u16string buffer = s.CommandLine;
    buffer.push_back(u'\0');
    const wchar_t* dir =
        s.CurrentDirectory.empty() ? nullptr : reinterpret_cast<const wchar_t*>(s.CurrentDirectory.c_str());
    if (!::CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(buffer.data()), nullptr, nullptr, s.InheritHandles,
                          s.CreationFlags, nullptr, dir, &si, &info))
      return false;
    pi.Process = TH(info.hProcess);
    pi.Thread = TH(info.hThread);
    return true;
  }

  bool GetExitCodeProcess(THandle process, std::uint32_t& code) override {
    DWORD c = 0;
    if (!::GetExitCodeProcess(H(process), &c)) return false;
    code = c;
    return true;
  }

  bool PeekNamedPipe(THandle readEnd, std::uint32_t& available) override {
    char probe;
    DWORD read = 0, avail = 0;
    if (!::PeekNamedPipe(H(readEnd), &probe, 1, &read, &avail, nullptr)) return false;
    available = avail;
    return true;
  }

  bool ReadFile(THandle h, char* buffer, std::uint32_t size, std::uint32_t& read) override {
    DWORD got = 0;
    bool ok = ::ReadFile(H(h), buffer, size, &got, nullptr) != FALSE;
    read = got;
    return ok;
  }

  std::uint32_t WaitForSingleObject(THandle h, std::uint32_t timeoutMs) override {
    return ::WaitForSingleObject(H(h), timeoutMs);
  }

  bool CloseHandle(THandle h) override { return h && ::CloseHandle(H(h)) != FALSE; }
};

}  // namespace

IProcess& Win32ProcessInstance() {
  static Win32Process s;
  return s;
}
