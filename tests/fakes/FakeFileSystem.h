// An in-memory Windows file system: drive-letter paths, case-insensitive
// names, folders that must exist before their children, links that are never
// followed by listing, files that can be held open without delete sharing.
#pragma once

#include <functional>
#include <map>
#include <set>

#include "platform/IFileSystem.h"

class FakeFileSystem : public IFileSystem {
 public:
  struct Node {
    TString Path;  // as created
    bool IsDirectory = false;
    bool IsReparsePoint = false;
    bool ReadOnly = false;
    std::string Bytes;
  };

  FakeFileSystem();
  ~FakeFileSystem() override;
  static FakeFileSystem* Current();

  TString CurrentDir = u"C:\\Work";
  TString SystemDirectory = u"C:\\Windows\\system32";
  std::set<TString> Undeletable;  // upper-case paths that refuse deletion

  // A cut (power loss, killed process): before the change for which CutBefore
  // answers true the machine stops, and that change and every later one throw
  // PowerCut until the test switches it on again (Off = false).
  struct PowerCut {};
  std::function<bool(const char* change, const TString& path)> CutBefore;
  bool Off = false;

  // Test set-up helpers (create parents as needed).
  void AddDir(const TString& path);
  void AddFile(const TString& path, const std::string& bytes = {});
  void AddLink(const TString& path);  // a junction/symlink entry (a reparse point)
  std::string Contents(const TString& path) const;
  bool IsLocked(const TString& path) const;
  size_t CountUnder(const TString& path) const;

  bool FileExists(const TString& path) override;
  bool DirectoryExists(const TString& path) override;
  bool CreateDirectory(const TString& path) override;
  TString GetFullPathName(const TString& path) override;
  bool ReadFile(const TString& path, std::string& bytes) override;
  bool WriteFile(const TString& path, const std::string& bytes) override;
  bool WriteFileLocked(const TString& path, const std::string& bytes, THandle& lock) override;
  void CloseLocked(THandle lock) override;
  TString GetSystemDirectory() override { return SystemDirectory; }
  bool ListDirectory(const TString& path, std::vector<TDirEntry>& entries) override;
  bool SetAttributesNormal(const TString& path) override;
  bool DeleteFile(const TString& path) override;
  bool CopyFile(const TString& from, const TString& to) override;
  bool MoveFile(const TString& from, const TString& to) override;
  int CopyFailsAfter = -1;  // copies that succeed before every further one fails
  bool WriteProfileString(const TString& file, const TString& section, const TString& key,
                          const TString& value) override;
  bool RemoveDirectory(const TString& path) override;

  static TString Key(const TString& path);
  static TString Parent(const TString& key);

 private:
  void Change(const char* change, const TString& path);
  std::map<TString, Node> m_Nodes;  // by Key()
  std::map<THandle, TString> m_Locks;
  THandle m_NextLock = 0x100;
};
