#include "installer/InstallPreCheck.h"

#include "config/LangStrings.h"
#include "installer/BufferSwap.h"
#include "installer/NoticeTexts.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "platform/ISystem.h"
#include "spooler/PrinterUtils.h"

namespace {

bool Refuse(TUserDialogs& dialogs, const TString& text) {
  dialogs.Tell(WithRecordLine(text), g_strInstaller.NoticeTitle, mb::Ok | mb::IconError);
  return false;
}

}  // namespace

bool InstallPreChecked(TUserDialogs& dialogs, const TRInstallInfo& model, bool wow64, const TString& manufacturer,
                       const TString& port) {
  const TString infName = wow64 ? model.INFX64 : model.INF2K;
  const TString sourceInf = model.DriverDir + u"\\" + infName;
  // The model name (the driver's name), the hardware ID and the INF paths
  // reach the device-install library and the spooler as 8-bit text: a text
  // the code page cannot hold would name another driver, device or file.
  std::vector<TString> crossing = {model.PrinterName, model.PrinterHWID, sourceInf};
  TString programFiles;
  if (ShellPort().GetProgramFilesFolder(dialogs.View().WindowHandle(), programFiles))
    crossing.push_back(bufferswap::FolderFor(programFiles, manufacturer, model.PrinterName) + u"\\" + infName);
  for (const TString& text : crossing) {
    bool exact = true;
    Sys().WideToAnsi(text, &exact);
    if (!exact) return Refuse(dialogs, notice::TextNotInCodePage(text));
  }
  if (!Fs().DirectoryExists(model.DriverDir)) return Refuse(dialogs, notice::PackageFolderMissing(model.DriverDir));
  if (!Fs().FileExists(sourceInf)) return Refuse(dialogs, notice::PackageFileMissing(sourceInf));
  if (!port.empty() && !PortExists(port)) return Refuse(dialogs, text::Format(LangText(TUiText::PortMissing), {port}));
  return true;
}
