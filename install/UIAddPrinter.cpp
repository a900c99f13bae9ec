#include "install/InstallFunc.h"
#include "platform/ISystem.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/MyUtils.h"

namespace {

// A value goes to the print UI inside double quotes. A quote inside it would
// close them early and let the rest read as further switches; a backslash
// before the closing quote would escape it. Such values are refused.
bool QuotableValue(const TString& v) {
  if (v.find(u'"') != TString::npos) return false;
  return v.empty() || v.back() != u'\\';
}

TStringList PrinterNamesStartingWith(const TString& prefix) {
  RefreshPrinters();
  TStringList names = Printers();
  KeepStringsStartingWith(names, prefix);
  return names;
}

}  // namespace

TString PrintUIInstallCommand(const TString& modelName, const TString& infPath, const TString& portName) {
  if (!QuotableValue(modelName) || !QuotableValue(infPath) || !QuotableValue(portName)) return {};
  return u"rundll32" + text::Format(u" printui.dll,PrintUIEntry /if /b \"%s\" /f \"%s\" /r \"%s\" /m \"%s\" /q",
                                    {modelName, infPath, portName, modelName});
}

std::uint32_t UIAddPrinter(const TString& modelName, const TString& infPath, const TString& portName,
                           TString& printerName) {
  // With no model name there is nothing to install, and no queue could be
  // told apart by its name (an empty prefix keeps no names).
  if (modelName.empty()) return UIAddPrinterFailed;
  TString command = PrintUIInstallCommand(modelName, infPath, portName);
  if (command.empty()) return UIAddPrinterFailed;

  TStringList before = PrinterNamesStartingWith(modelName);
  TStringList output;
  if (RunCMD(command, output) < 0) return UIAddPrinterFailed;
  TStringList after = PrinterNamesStartingWith(modelName);

  if (after.size() != before.size() + 1) return UIAddPrinterFailed;
  SubtractStrings(after, before);
  if (after.empty()) return UIAddPrinterUnknown;
  printerName = after.back();
  Sys().SetLastError(0);
  return 0;
}
