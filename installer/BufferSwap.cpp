#include "installer/BufferSwap.h"

#include <vector>

#include "config/LangStrings.h"
#include "installer/NoticeTexts.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "platform/ISystem.h"
#include "sysutil/Exception.h"
#include "sysutil/Paths.h"

namespace bufferswap {

namespace {

// Written into a copy after its last file; a copy without it is unfinished.
constexpr TStringView kCompleteMarker = u"~DriverSetup.complete";

TString Fresh(const TString& folder) { return folder + u".new"; }
TString Aside(const TString& folder) { return folder + u".old"; }

// The system's text for the last error on a line of its own; empty without one.
TString SystemLine() {
  const std::uint32_t code = Sys().GetLastError();
  return code ? u"\r\n" + Sys().SysErrorMessage(code) : TString();
}

void CreateFolders(const TString& folder) {
  if (folder.empty() || Fs().DirectoryExists(folder)) return;
  CreateFolders(paths::ExtractFileDir(folder));
  if (!Fs().CreateDirectory(folder) && !Fs().DirectoryExists(folder))
    throw Exception(text::Format(LangText(TUiText::BufferCreateFolder), {folder}));
}

// Copies every file and folder of `from` into `to`; links and junctions are
// not followed. A marker of the package's own never makes a copy look complete.
void CopyTree(const TString& from, const TString& to, bool top) {
  CreateFolders(to);
  std::vector<TDirEntry> entries;
  if (!Fs().ListDirectory(from, entries)) throw Exception(text::Format(LangText(TUiText::BufferReadFolder), {from}));
  for (const TDirEntry& e : entries) {
    if (e.IsReparsePoint || (top && text::SameTextAscii(e.Name, kCompleteMarker))) continue;
    const TString source = from + u"\\" + e.Name, target = to + u"\\" + e.Name;
    if (e.IsDirectory)
      CopyTree(source, target, false);
    else if (!Fs().CopyFile(source, target))
      throw Exception(text::Format(LangText(TUiText::BufferCopyFile), {source, target}) + SystemLine());
  }
}

void DeleteIfThere(THandle owner, const TString& folder) {
  if (Fs().DirectoryExists(folder)) ShellPort().DeleteTree(owner, folder);
}

// The new copy takes the buffer's place; the old buffer, moved aside, goes last.
void MoveIn(THandle owner, const TString& folder) {
  if (!Fs().MoveFile(Fresh(folder), folder)) {
    if (!Fs().DirectoryExists(folder)) Fs().MoveFile(Aside(folder), folder);
    throw Exception(text::Format(LangText(TUiText::BufferReplaceFolder), {folder}));
  }
  DeleteIfThere(owner, Aside(folder));
}

}  // namespace

TString FolderFor(const TString& programFiles, const TString& manufacturer, const TString& model) {
  return programFiles + u"\\" + manufacturer + u"\\Printer Drivers\\" + model;
}

bool IsComplete(const TString& folder) { return Fs().FileExists(folder + u"\\" + TString(kCompleteMarker)); }

void Recover(THandle owner, const TString& folder) {
  const TString fresh = Fresh(folder), aside = Aside(folder);
  if (Fs().DirectoryExists(fresh)) {
    if (!IsComplete(fresh)) {
      ShellPort().DeleteTree(owner, fresh);
    } else if (!Fs().DirectoryExists(folder)) {
      MoveIn(owner, folder);  // cut between the two renames
    } else if (Fs().DirectoryExists(aside) || !Fs().MoveFile(folder, aside)) {
      ShellPort().DeleteTree(owner, fresh);  // the buffer stays as it is; the comparison decides
    } else {
      MoveIn(owner, folder);
    }
  }
  if (!Fs().DirectoryExists(aside)) return;
  if (IsComplete(folder))
    ShellPort().DeleteTree(owner, aside);
  else if (!Fs().DirectoryExists(folder) && IsComplete(aside))
    Fs().MoveFile(aside, folder);  // nothing replaced the old buffer: it is put back
  else if (!Fs().DirectoryExists(folder))
    ShellPort().DeleteTree(owner, aside);
}

void Refresh(THandle owner, const TString& source, const TString& folder) {
  const TString fresh = Fresh(folder), aside = Aside(folder);
  DeleteIfThere(owner, fresh);
  try {
    CopyTree(source, fresh, true);
    if (!Fs().WriteFile(fresh + u"\\" + TString(kCompleteMarker), "complete\r\n"))
      throw Exception(text::Format(LangText(TUiText::BufferCopyFile), {TString(kCompleteMarker), fresh}));
  } catch (...) {
    DeleteIfThere(owner, fresh);
    throw;
  }
  if (Fs().DirectoryExists(folder)) {
    // An old buffer that was moved aside earlier and could not be deleted
    // since still holds files in use.
    DeleteIfThere(owner, aside);
    const bool inUse = Fs().DirectoryExists(aside);
    if (inUse || !Fs().MoveFile(folder, aside)) {
      DeleteIfThere(owner, fresh);
      throw Exception(notice::FolderInUse(inUse ? aside : folder));
    }
  }
  MoveIn(owner, folder);
}

}  // namespace bufferswap
