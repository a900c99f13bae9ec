// The main window's copy of the selected model's driver folder below Program
// Files, refreshed when the package holds another driver version, and the
// registration of its INF.
#include "config/InstallInfos.h"
#include "config/LangStrings.h"
#include "install/InstallFunc.h"
#include "installer/BufferNames.h"
#include "installer/BufferSwap.h"
#include "installer/uMain.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "platform/ISystem.h"
#include "removal/UnInstallFunc.h"
#include "sysutil/Exception.h"
#include "sysutil/Paths.h"
#include "sysutil/ProfileFile.h"
#include "sysutil/Trace.h"

bool IsBufferFolderName(const TString& name) { return paths::IsPlainFileName(name); }

bool IsNameInsideFolder(const TString& name) {
  for (size_t start = 0;;) {
    const size_t end = name.find_first_of(u"\\/", start);
    if (!paths::IsPlainFileName(name.substr(start, end == TString::npos ? TString::npos : end - start))) return false;
    if (end == TString::npos) return true;
    start = end + 1;
  }
}

namespace {

void RequirePlainName(const TString& name) {
  if (!IsBufferFolderName(name)) throw Exception(text::Format(LangText(TUiText::BufferFolderName), {name}));
}

void RequireNameInside(const TString& name) {
  if (!IsNameInsideFolder(name)) throw Exception(text::Format(LangText(TUiText::BufferNameInside), {name}));
}

size_t TextLength(const TString& path) {
  std::string bytes;
  if (!Fs().ReadFile(path, bytes)) throw Exception(text::Format(LangText(TUiText::BufferReadFile), {path}));
  return DecodeTextFile(bytes).size();
}

}  // namespace

bool TFormMain::BufferDriverFiles(TString& registeredInf) {
  if (m_iSelect < 0) return false;
  TString programFiles;
  if (!ShellPort().GetProgramFilesFolder(m_View.WindowHandle(), programFiles))
    throw Exception(
        text::Format(LangText(TUiText::BufferNoProgramFiles), {Sys().SysErrorMessage(Sys().GetLastError())}));
  TRInstallInfo model;
  g_InstallInfos.GetItem(m_iSelect, model);
  if (!m_strManufactor.empty()) RequirePlainName(m_strManufactor);
  RequirePlainName(model.PrinterName);

  const TString infName = m_bWow64 ? model.INFX64 : model.INF2K;
  RequireNameInside(infName);
  const TString sourceInf = model.DriverDir + u"\\" + infName;
  const TString buffer = bufferswap::FolderFor(programFiles, m_strManufactor, model.PrinterName);
  const TString bufferedInf = buffer + u"\\" + infName;

  // What a cut refresh left is finished or removed first; a buffer not known
  // complete is refreshed whatever its INF says.
  bufferswap::Recover(m_View.WindowHandle(), buffer);
  if (!bufferswap::IsComplete(buffer) || InfCompareVersion(sourceInf, bufferedInf) != 0) {
    if (paths::IsBelow(buffer, model.DriverDir) || paths::IsBelow(model.DriverDir, buffer))
      throw Exception(text::Format(LangText(TUiText::BufferIntoItself), {model.DriverDir, buffer}));
    bufferswap::Refresh(m_View.WindowHandle(), model.DriverDir, buffer);
  }

  registeredInf = bufferedInf;
  // The same file registered before is used again: repeated installs add no copies.
  const TStringList copies = RegisteredCopiesOf(bufferedInf);
  if (!copies.empty()) {
    registeredInf = copies.front();
    trace::Msg(u"The INF is registered already as " + registeredInf);
  } else {
    CopyOemInf(m_strInst2kDll, bufferedInf, registeredInf);
  }
  // The library answers with the registered copy; without one nothing could
  // install from it.
  if (registeredInf.empty() || !Fs().FileExists(registeredInf))
    throw Exception(text::Format(LangText(TUiText::InfNotRegistered), {bufferedInf}));
  if (TextLength(registeredInf) != TextLength(sourceInf)) registeredInf = sourceInf;
  return true;
}
