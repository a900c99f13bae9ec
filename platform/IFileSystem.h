// File system services at the level of the Win32 calls the logic makes.
// Paths are Windows paths ("C:\\dir\\file"); fakes model them in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Owned.h"
#include "platform/Port.h"

struct TDirEntry {
  TString Name;  // file name only
  bool IsDirectory = false;
  bool IsReparsePoint = false;  // a symbolic link or junction: never followed
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  virtual bool FileExists(const TString& path) = 0;       // a file, not a folder
  virtual bool DirectoryExists(const TString& path) = 0;  // a folder
  virtual bool CreateDirectory(const TString& path) = 0;  // one level
  // GetFullPathNameW: relative to the process's current directory; empty when
  // the system cannot resolve the path.
  virtual TString GetFullPathName(const TString& path) = 0;

  virtual bool ReadFile(const TString& path, std::string& bytes) = 0;
  // Creates or replaces the file with exactly these bytes.
  virtual bool WriteFile(const TString& path, const std::string& bytes) = 0;
  // Creates or replaces the file and keeps it open with read sharing only, so
  // nobody can change or delete it until CloseLocked; loading and running work
  // (no handle with write access stays open). Fails when the file read back
  // through the lock differs from the bytes.
  virtual bool WriteFileLocked(const TString& path, const std::string& bytes, THandle& lock) = 0;
  virtual void CloseLocked(THandle lock) = 0;

  // MoveFileW: renames a file or a folder on the same drive.
  virtual bool MoveFile(const TString& from, const TString& to) = 0;
  // CopyFileW, replacing an existing target.
  virtual bool CopyFile(const TString& from, const TString& to) = 0;
  // WritePrivateProfileStringW: creates the file, the section or the key as needed.
  virtual bool WriteProfileString(const TString& file, const TString& section, const TString& key,
                                  const TString& value) = 0;
  // The system folder (GetSystemDirectoryW), without a trailing backslash.
  virtual TString GetSystemDirectory() = 0;

  virtual bool ListDirectory(const TString& path, std::vector<TDirEntry>& entries) = 0;
  virtual bool SetAttributesNormal(const TString& path) = 0;
  virtual bool DeleteFile(const TString& path) = 0;
  virtual bool RemoveDirectory(const TString& path) = 0;  // an empty folder, or a link itself
};

inline IFileSystem& Fs() { return PortSlot<IFileSystem>::Get(); }

// A file written with WriteFileLocked, held until the owner goes.
struct FileLockTraits : TPortHandleTraits {
  static void Close(THandle h) { Fs().CloseLocked(h); }
};
using TFileLock = TOwned<FileLockTraits>;
