// Deleting the registered copies of a removed driver's INF file.
#include "platform/IFileSystem.h"
#include "removal/UnInstallFunc.h"
#include "sysutil/Paths.h"
#include "sysutil/ProfileFile.h"

namespace {

bool IsRegisteredCopyName(const TString& name) {
  return text::StartsWithTextAscii(name, u"oem") && name.size() >= 7 &&
         text::SameTextAscii(TStringView(name).substr(name.size() - 4), u".inf");
}

}  // namespace

TString SystemInfFolder(const TString& systemDirectory) {
  TString folder = systemDirectory;
  size_t at = text::LowerAscii(folder).find(u"system32");
  if (at != TString::npos) folder.erase(at);
  return folder + u"inf\\";
}

bool InfContainsDriver(const TString& driverName, const TString& infPath, const TString& infClass) {
  TProfileFile inf;
  inf.Open(infPath);  // a file that cannot be read has no entries and matches nothing
  return InfContainsDriver(driverName, inf, infClass);
}

bool InfContainsDriver(const TString& driverName, const TProfileFile& inf, const TString& infClass) {
  TString provider = inf.ReadString(u"Strings", u"ProviderName", u"");
  if (provider.empty() || inf.ReadString(u"Version", u"Class", u"") != infClass) return false;
  // The provider's section lists the models by name, as written (quotes kept).
  const TString quoted = u"\"" + driverName + u"\"";
  for (const auto& section : inf.Sections()) {
    if (!section.Listed || !text::SameTextAscii(section.Name, provider)) continue;
    for (const auto& entry : section.Entries)
      if (entry.HasValue && (entry.Name == quoted || entry.Name == driverName)) return true;
    break;  // the first section of a name is the one that counts
  }
  return false;
}

TStringList RegisteredCopiesOf(const TString& infPath) {
  TStringList copies;
  std::string bytes;
  if (infPath.empty() || !Fs().ReadFile(infPath, bytes)) return copies;
  const TString folder = SystemInfFolder(Fs().GetSystemDirectory());
  const TString ownName = paths::ExtractFileName(infPath);
  std::vector<TDirEntry> entries;
  if (!Fs().ListDirectory(folder, entries)) return copies;
  for (const TDirEntry& e : entries) {
    if (e.IsDirectory || !(IsRegisteredCopyName(e.Name) || text::SameTextAscii(e.Name, ownName))) continue;
    const TString path = folder + e.Name;
    // The copy itself is never its own registered copy.
    if (text::SameTextAscii(paths::Normalize(path), paths::Normalize(infPath))) continue;
    std::string other;
    if (Fs().ReadFile(path, other) && other == bytes) copies.push_back(path);
  }
  return copies;
}

int DeleteRegisteredCopies(const TString& infPath) {
  int count = 0;
  for (const TString& copy : RegisteredCopiesOf(infPath)) {
    if (!Fs().DeleteFile(copy)) continue;
    Fs().DeleteFile(paths::RemoveFileExt(copy) + u".pnf");
    ++count;
  }
  return count;
}

int LeaveOEMInf(const TString& driverName, const TString& infClass) {
  const TString folder = SystemInfFolder(Fs().GetSystemDirectory());
  std::vector<TDirEntry> entries;
  if (!Fs().DirectoryExists(folder) || !Fs().ListDirectory(folder, entries)) return 0;
  int count = 0;
  for (const TDirEntry& e : entries) {
    if (e.IsDirectory || !IsRegisteredCopyName(e.Name) || !InfContainsDriver(driverName, folder + e.Name, infClass))
      continue;
    size_t ext = e.Name.find(u".inf");
    TString base = ext == TString::npos ? e.Name : e.Name.substr(0, ext);
    Fs().DeleteFile(folder + base + u".inf");
    Fs().DeleteFile(folder + base + u".pnf");
    ++count;
  }
  return count;
}
