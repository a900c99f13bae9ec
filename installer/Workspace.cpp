#include "installer/Workspace.h"

#include <vector>

#include "platform/IFileSystem.h"
#include "platform/ISystem.h"
#include "sysutil/Paths.h"

namespace workspace {

TString CreateUnique(const TString& tempPath) {
  constexpr int kAttempts = 16;
  std::vector<TString> reserved;
  TString folder;
  for (int i = 0; i < kAttempts && folder.empty(); ++i) {
    TString name;
    if (Sys().GetTempFileNameW(tempPath, u"tmp", name) == 0) break;
    reserved.push_back(name);
    const TString candidate = paths::RemoveFileExt(name);
    if (Fs().DirectoryExists(candidate)) continue;
    if (!ForceDirectories(paths::ExtractFileDir(candidate)) || !Fs().CreateDirectory(candidate)) break;
    folder = candidate;
  }
  const std::uint32_t error = Sys().GetLastError();
  for (const TString& name : reserved) Fs().DeleteFile(name);
  Sys().SetLastError(error);
  return folder;
}

bool ForceDirectories(const TString& path) {
  IFileSystem& fs = Fs();
  TString p = path;
  while (p.size() > 3 && p.back() == u'\\') p.pop_back();
  if (p.empty() || fs.DirectoryExists(p)) return !p.empty();
  TString parent = paths::ExtractFileDir(p);
  if (!parent.empty() && parent != p && !ForceDirectories(parent)) return false;
  return fs.CreateDirectory(p) || fs.DirectoryExists(p);
}

namespace {

void DeleteEntry(IFileSystem& fs, const TString& path, const TDirEntry& e) {
  if (e.IsReparsePoint) {
    // A link: remove the link itself, whatever it points to stays.
    if (e.IsDirectory ? !fs.RemoveDirectory(path) : !fs.DeleteFile(path)) {
      fs.SetAttributesNormal(path);
      e.IsDirectory ? fs.RemoveDirectory(path) : fs.DeleteFile(path);
    }
    return;
  }
  if (e.IsDirectory) {
    std::vector<TDirEntry> children;
    if (fs.ListDirectory(path, children))
      for (const auto& c : children) DeleteEntry(fs, path + u"\\" + c.Name, c);
    fs.SetAttributesNormal(path);
    fs.RemoveDirectory(path);
    return;
  }
  fs.SetAttributesNormal(path);
  fs.DeleteFile(path);
}

}  // namespace

void DeleteTree(const TString& path) {
  IFileSystem& fs = Fs();
  if (!fs.DirectoryExists(path)) return;
  // Find out how the folder itself is entered in its parent: if it has been
  // replaced by a link, only the link goes.
  TDirEntry self{paths::ExtractFileName(path), true, false};
  std::vector<TDirEntry> siblings;
  if (fs.ListDirectory(paths::ExtractFileDir(path), siblings)) {
    for (const auto& s : siblings)
      if (text::SameTextAscii(s.Name, self.Name)) self = s;
  }
  DeleteEntry(fs, path, self);
}

}  // namespace workspace
