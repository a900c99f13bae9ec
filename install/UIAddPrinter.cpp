#include "install/InstallFunc.h"
#include "platform/ISystem.h"
#include "spooler/PrintUI.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/MyUtils.h"

TString PrintUIInstallCommand(const TString& modelName, const TString& infPath, const TString& portName) {
  return PrintUICommand(u"/if /b \"%s\" /f \"%s\" /r \"%s\" /m \"%s\" /q", {modelName, infPath, portName, modelName});
}

std::uint32_t UIAddPrinter(const TString& modelName, const TString& infPath, const TString& portName,
                           TString& printerName) {
  // With no model name there is nothing to install, and no queue could be
  // told apart by its name (an empty prefix keeps no names).
  if (modelName.empty()) return UIAddPrinterFailed;
  TString command = PrintUIInstallCommand(modelName, infPath, portName);
  if (command.empty()) return UIAddPrinterFailed;

  TStringList before = ModelQueueNames(modelName);
  TStringList output;
  if (RunCMD(command, output) < 0) return UIAddPrinterFailed;
  TStringList after = ModelQueueNames(modelName);

  if (after.size() != before.size() + 1) return UIAddPrinterFailed;
  SubtractStrings(after, before);
  if (after.empty()) return UIAddPrinterUnknown;
  printerName = after.back();
  Sys().SetLastError(0);
  return 0;
}
