#include "win32/WinApi.h"

#include "platform/IFileSystem.h"
#include "win32/adapters/WinText.h"

namespace {

DWORD Attributes(const TString& path) { return ::GetFileAttributesW(W(path)); }

bool WriteAll(HANDLE h, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), written = 0;
    if (!::WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

class Win32FileSystem : public IFileSystem {
 public:
  bool FileExists(const TString& path) override {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool DirectoryExists(const TString& path) override {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool CreateDirectory(const TString& path) override { return ::CreateDirectoryW(W(path), nullptr) != FALSE; }

  TString GetFullPathName(const TString& path) override { return win::FullPathName(path); }

  bool ReadFile(const TString& path, std::string& bytes) override {
    win::ScopedKernelHandle file(::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const HANDLE h = file.Get();
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(h, &size) && size.QuadPart < (1LL << 30);
    if (ok) {
      bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
      size_t done = 0;
      while (ok && done < bytes.size()) {
        DWORD got = 0;
        ok = ::ReadFile(h, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr) && got > 0;
        done += got;
      }
    }
    return ok;
  }

  bool WriteFile(const TString& path, const std::string& bytes) override {
    win::ScopedKernelHandle h(
        ::CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return h && WriteAll(h.Get(), bytes);
  }

  bool WriteFileLocked(const TString& path, const std::string& bytes, THandle& lock) override {
    // Written alone and closed, then reopened for reading with read sharing
    // only: the loader and CreateProcess open an image without write sharing,
    // so no handle with write access may stay open. From the reopening on,
    // nobody can change, rename or delete the file; what the reopened handle
    // reads must be what was written, or someone changed it in between.
    if (!WriteFile(path, bytes)) return false;
    win::ScopedKernelHandle h(
        ::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    std::string back(bytes.size() + 1, '\0');
    size_t done = 0;
    for (DWORD got = 1; got > 0 && done < back.size(); done += got) {
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(back.size() - done, 1u << 20));
      if (!::ReadFile(h.Get(), back.data() + done, chunk, &got, nullptr)) return false;
    }
    if (done != bytes.size() || back.compare(0, done, bytes) != 0) return false;
    lock = TH(h.Release());
    return true;
  }

  void CloseLocked(THandle lock) override {
    if (lock) ::CloseHandle(H(lock));
  }

  bool MoveFile(const TString& from, const TString& to) override { return ::MoveFileW(W(from), W(to)); }
  bool CopyFile(const TString& from, const TString& to) override { return ::CopyFileW(W(from), W(to), FALSE); }
  bool WriteProfileString(const TString& file, const TString& section, const TString& key,
                          const TString& value) override {
    return ::WritePrivateProfileStringW(W(section), W(key), W(value), W(file));
  }

  TString GetSystemDirectory() override {
    wchar_t buf[MAX_PATH + 1] = {};
    UINT n = ::GetSystemDirectoryW(buf, MAX_PATH + 1);
    return n > 0 && n <= MAX_PATH ? T(buf, n) : TString();
  }

  bool ListDirectory(const TString& path, std::vector<TDirEntry>& entries) override {
    entries.clear();
    WIN32_FIND_DATAW fd;
    TString pattern = path + (path.empty() || path.back() != u'\\' ? u"\\*" : u"*");
    win::ScopedFindHandle find(::FindFirstFileExW(W(pattern), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0));
    if (!find) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
      TString name = T(fd.cFileName);
      if (name == u"." || name == u"..") continue;
      entries.push_back(TDirEntry{name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                  (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (::FindNextFileW(find.Get(), &fd));
    return true;
  }

  bool SetAttributesNormal(const TString& path) override {
    return ::SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL) != FALSE;
  }
  bool DeleteFile(const TString& path) override { return ::DeleteFileW(W(path)) != FALSE; }
  bool RemoveDirectory(const TString& path) override { return ::RemoveDirectoryW(W(path)) != FALSE; }
};

}  // namespace

IFileSystem& Win32FileSystemInstance() {
  static Win32FileSystem s;
  return s;
}
