// The install record's file over the kernel's file calls.
#include "win32/WinApi.h"

#include "platform/IRecord.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/WinText.h"

namespace {

class Win32Record : public IRecordFile {
 public:
  bool RecordFolder(TString& folder) override {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) return false;
    folder = T(buffer);
    return true;
  }
  std::uint64_t RecordSize(const TString& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(W(path), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  bool AppendRecord(const TString& path, const std::string& header, const std::string& bytes) override {
    const DWORD keep = ::GetLastError();  // the caller's last error survives the record
    if (m_Kept && (m_KeptPath != path || !KeptIsAt(path))) Close();
    HANDLE h = m_Kept;
    bool created = false;
    if (!h) {
      h = ::CreateFileW(W(path), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h == INVALID_HANDLE_VALUE) {
        ::SetLastError(keep);
        return false;
      }
      created = ::GetLastError() != ERROR_ALREADY_EXISTS;
    }
    const std::string data = created ? header + bytes : bytes;
    DWORD written = 0;
    const bool ok =
        ::WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) && written == data.size();
    if (m_Keep && !m_Kept) {
      m_Kept = h;
      m_KeptPath = path;
    } else if (h != m_Kept) {
      ::CloseHandle(h);
    }
    ::SetLastError(keep);
    return ok;
  }
  void KeepOpen(bool keep) override {
    m_Keep = keep;
    if (!keep) Close();
  }
  bool ReplaceRecord(const TString& from, const TString& to) override {
    const DWORD keep = ::GetLastError();
    Close();
    const bool ok = ::MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING) != FALSE;
    ::SetLastError(keep);
    return ok;
  }
  THandle LockRecord(const TString& path) override {
    const DWORD keep = ::GetLastError();
    const HANDLE h = ::CreateFileW(W(path), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ::SetLastError(keep);
    return h == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<THandle>(h);
  }
  void UnlockRecord(THandle lock) override {
    const DWORD keep = ::GetLastError();
    ::CloseHandle(reinterpret_cast<HANDLE>(lock));
    ::SetLastError(keep);
  }
  TLocalTime LocalTime() override {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
  }
  std::uint32_t ProcessId() override { return ::GetCurrentProcessId(); }

 private:
  // The kept file is still the one at `path`: the file there has its size
  // (a renamed or deleted one would not, or there would be none).
  bool KeptIsAt(const TString& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    LARGE_INTEGER size{};
    return ::GetFileAttributesExW(W(path), GetFileExInfoStandard, &data) && ::GetFileSizeEx(m_Kept, &size) &&
           size.QuadPart == static_cast<LONGLONG>((std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  }
  void Close() {
    if (m_Kept) ::CloseHandle(m_Kept);
    m_Kept = nullptr;
    m_KeptPath.clear();
  }

  bool m_Keep = false;
  HANDLE m_Kept = nullptr;
  TString m_KeptPath;
};

}  // namespace

IRecordFile& Win32RecordInstance() {
  static Win32Record record;
  return record;
}
