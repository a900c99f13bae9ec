// The ports the package check needs, over a POSIX system, for the native
// command: Windows paths "Z:\dir\file" name the POSIX paths "/dir/file" (the
// form Wine gives them), and each name matches a file whatever its letter
// case, as on Windows. The program's resources are the built-in strings
// files and logos compiled into the command.
#pragma once

#include <string>
#include <vector>

#include "platform/IFileSystem.h"
#include "platform/IResources.h"
#include "platform/ISystem.h"

namespace pkgcheck {

// "/dir/file" -> "Z:\dir\file".
TString WindowsPathOf(const std::string& posixPath);
// "Z:\dir\file" -> the POSIX path, each name resolved without regard to letter
// case (a..z) when it does not exist as written; empty for other drives.
std::string PosixPathOf(const TString& windowsPath);

class TPosixFileSystem : public IFileSystem {
 public:
  bool FileExists(const TString& path) override;
  bool DirectoryExists(const TString& path) override;
  TString GetFullPathName(const TString& path) override;
  bool ReadFile(const TString& path, std::string& bytes) override;
  bool ListDirectory(const TString& path, std::vector<TDirEntry>& entries) override;
  TString GetSystemDirectory() override { return u"C:\\Windows\\system32"; }
  // The check writes nothing: every change fails.
  bool CreateDirectory(const TString&) override { return false; }
  bool WriteFile(const TString&, const std::string&) override { return false; }
  bool WriteFileLocked(const TString&, const std::string&, THandle&) override { return false; }
  void CloseLocked(THandle) override {}
  bool MoveFile(const TString&, const TString&) override { return false; }
  bool CopyFile(const TString&, const TString&) override { return false; }
  bool WriteProfileString(const TString&, const TString&, const TString&, const TString&) override { return false; }
  bool SetAttributesNormal(const TString&) override { return false; }
  bool DeleteFile(const TString&) override { return false; }
  bool RemoveDirectory(const TString&) override { return false; }
};

// The system of an English Windows: code page 1252 read as Latin-1.
class TPosixSystem : public ISystem {
 public:
  explicit TPosixSystem(TString moduleFile) : m_Module(std::move(moduleFile)) {}
  std::uint16_t GetSystemDefaultLangID() override { return 0x0409; }
  std::uint16_t GetUserDefaultUILanguage() override { return 0x0409; }
  std::uint32_t GetACP() override { return 1252; }
  bool GetVersionExW(std::uint32_t, std::uint32_t& major, std::uint32_t& minor) override {
    major = 10, minor = 0;
    return true;
  }
  bool IsWindowsNT() override { return true; }
  bool IsWow64Process(bool& found, bool& wow64) override {
    found = true, wow64 = false;
    return true;
  }
  std::uint32_t GetLastError() override { return m_Error; }
  void SetLastError(std::uint32_t code) override { m_Error = code; }
  TString SysErrorMessage(std::uint32_t) override { return {}; }
  std::string WideToAnsi(TStringView s, bool* lossless) override;
  TString AnsiToWide(std::string_view s) override;
  bool GetTempPathLong(TString&) override { return false; }
  std::uint32_t GetTempFileNameW(const TString&, const TString&, TString&) override { return 0; }
  TString GetModuleFileName() override { return m_Module; }
  TString GetCurrentDirectory() override;
  bool OpenProcessToken(std::uint32_t, THandle&) override { return false; }
  bool LookupPrivilegeValueW(const TString&, TLuid&) override { return false; }
  bool AdjustTokenPrivileges(THandle, const TLuid&, std::uint32_t) override { return false; }
  bool CloseHandle(THandle) override { return true; }
  THandle CreateNamedObject(const TString&, bool& alreadyExists) override {
    alreadyExists = false;
    return THandle();
  }
  bool BringWindowToFront(const TString&) override { return false; }
  bool ExitWindowsEx(std::uint32_t, std::uint32_t) override { return false; }
  void Sleep(std::uint32_t) override {}
  void OutputDebugString(const TString&) override {}
  TString LocalTimeText() override { return {}; }
  std::uint64_t TickCount() override { return 0; }

 private:
  TString m_Module;
  std::uint32_t m_Error = 0;
};

struct TEmbeddedResource {
  const char* Name;
  const unsigned char* Data;
  size_t Size;
};

class TEmbeddedResources : public IResources {
 public:
  TEmbeddedResources(const TEmbeddedResource* table, size_t count) : m_Table(table), m_Count(count) {}
  bool LoadRCData(const TString& name, std::string& bytes) override;

 private:
  const TEmbeddedResource* m_Table;
  size_t m_Count;
};

}  // namespace pkgcheck
