// The main window's copy of the selected model's driver folder below Program
// Files, refreshed when the package holds another driver version, and the
// registration of its INF.
#include "config/InstallInfos.h"
#include "config/LangStrings.h"
#include "install/InstallFunc.h"
#include "installer/uMain.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "sysutil/Exception.h"
#include "sysutil/Paths.h"
#include "sysutil/ProfileFile.h"

namespace {

// A name from the package that becomes one folder of the buffer path.
void RequirePlainName(const TString& name) {
  if (!paths::IsPlainFileName(name)) throw Exception(text::Format(LangText(TUiText::BufferFolderName), {name}));
}

// The INF is named inside the model's driver folder: one or more plain names.
void RequireNameInside(const TString& name) {
  for (size_t start = 0;;) {
    const size_t end = name.find_first_of(u"\\/", start);
    if (!paths::IsPlainFileName(name.substr(start, end == TString::npos ? TString::npos : end - start)))
      throw Exception(text::Format(LangText(TUiText::BufferNameInside), {name}));
    if (end == TString::npos) return;
    start = end + 1;
  }
}

void CreateFolders(const TString& folder) {
  if (folder.empty() || Fs().DirectoryExists(folder)) return;
  CreateFolders(paths::ExtractFileDir(folder));
  if (!Fs().CreateDirectory(folder) && !Fs().DirectoryExists(folder))
    throw Exception(text::Format(LangText(TUiText::BufferCreateFolder), {folder}));
}

// Copies every file and folder of `from` into `to`; links and junctions are
// not followed.
void CopyTree(const TString& from, const TString& to) {
  CreateFolders(to);
  std::vector<TDirEntry> entries;
  if (!Fs().ListDirectory(from, entries)) throw Exception(text::Format(LangText(TUiText::BufferReadFolder), {from}));
  for (const TDirEntry& e : entries) {
    if (e.IsReparsePoint) continue;
    const TString source = from + u"\\" + e.Name, target = to + u"\\" + e.Name;
    if (e.IsDirectory)
      CopyTree(source, target);
    else if (!Fs().CopyFile(source, target))
      throw Exception(text::Format(LangText(TUiText::BufferCopyFile), {source, target}));
  }
}

size_t TextLength(const TString& path) {
  std::string bytes;
  if (!Fs().ReadFile(path, bytes)) throw Exception(text::Format(LangText(TUiText::BufferReadFile), {path}));
  return DecodeTextFile(bytes).size();
}

// Puts a complete copy of `source` at `buffer`: copied beside it first, the
// old copy replaced only when the new one is whole.
void RefreshBuffer(THandle owner, const TString& source, const TString& buffer) {
  const TString fresh = buffer + u".new";
  if (Fs().DirectoryExists(fresh)) ShellPort().DeleteTree(owner, fresh);
  try {
    CopyTree(source, fresh);
  } catch (...) {
    ShellPort().DeleteTree(owner, fresh);
    throw;
  }
  if (Fs().DirectoryExists(buffer)) ShellPort().DeleteTree(owner, buffer);
  if (!Fs().MoveFile(fresh, buffer)) throw Exception(text::Format(LangText(TUiText::BufferReplaceFolder), {buffer}));
}

}  // namespace

bool TFormMain::BufferDriverFiles(TString& registeredInf) {
  if (m_iSelect < 0) return false;
  TString programFiles;
  if (!ShellPort().GetProgramFilesFolder(m_View.WindowHandle(), programFiles)) return false;
  TRInstallInfo model;
  g_InstallInfos.GetItem(m_iSelect, model);
  if (!m_strManufactor.empty()) RequirePlainName(m_strManufactor);
  RequirePlainName(model.PrinterName);

  const TString infName = m_bWow64 ? model.INFX64 : model.INF2K;
  RequireNameInside(infName);
  const TString sourceInf = model.DriverDir + u"\\" + infName;
  const TString buffer = programFiles + u"\\" + m_strManufactor + u"\\Printer Drivers\\" + model.PrinterName;
  const TString bufferedInf = buffer + u"\\" + infName;

  if (InfCompareVersion(sourceInf, bufferedInf) != 0) {
    if (paths::IsBelow(buffer, model.DriverDir) || paths::IsBelow(model.DriverDir, buffer))
      throw Exception(text::Format(LangText(TUiText::BufferIntoItself), {model.DriverDir, buffer}));
    RefreshBuffer(m_View.WindowHandle(), model.DriverDir, buffer);
  }

  registeredInf = bufferedInf;
  CopyOemInf(m_strInst2kDll, bufferedInf, registeredInf);
  if (registeredInf.empty() || !Fs().FileExists(registeredInf)) return false;
  if (TextLength(registeredInf) != TextLength(sourceInf)) registeredInf = sourceInf;
  return true;
}
