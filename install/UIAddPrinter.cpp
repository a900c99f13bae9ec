#include "install/InstallFunc.h"
#include "platform/ISystem.h"
#include "spooler/PrintUI.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/MyUtils.h"
#include "sysutil/Trace.h"
#include "sysutil/UiTexts.h"

namespace {

TString g_PrintUIReport;

// What the print UI wrote, as the report shows it; empty when it wrote nothing.
TString OutputReport(const TStringList& output) {
  TString wrote;
  for (const TString& chunk : output) wrote += chunk;
  wrote = text::Trim(wrote);
  return wrote.empty() ? TString() : text::Format(SystemUiText(TUiText::PrintUIOutput), {wrote});
}

// The exit code and the output of a print UI that added no printer.
std::uint32_t PrintUIFailed(std::uint32_t code, int run, std::uint32_t exitCode, const TStringList& output) {
  g_PrintUIReport =
      text::Format(SystemUiText(TUiText::PrintUINoPrinter), {run < 0 ? TString(u"-") : text::IntToStr(exitCode)});
  const TString wrote = OutputReport(output);
  if (!wrote.empty()) g_PrintUIReport += u"\r\n" + wrote;
  trace::Error(u"Offline install: " + g_PrintUIReport);
  return code;
}

}  // namespace

TString PrintUIInstallCommand(const TString& modelName, const TString& infPath, const TString& portName) {
  return PrintUICommand(u"/if /b \"%s\" /f \"%s\" /r \"%s\" /m \"%s\" /q", {modelName, infPath, portName, modelName});
}

std::uint32_t UIAddPrinter(const TString& modelName, const TString& infPath, const TString& portName,
                           TString& printerName) {
  // With no model name there is nothing to install, and no queue could be
  // told apart by its name (an empty prefix keeps no names).
  g_PrintUIReport.clear();
  if (modelName.empty()) return UIAddPrinterFailed;
  TString command = PrintUIInstallCommand(modelName, infPath, portName);
  if (command.empty()) {
    trace::Error(u"Offline install: a value cannot be passed to the print UI");
    return UIAddPrinterFailed;
  }

  TStringList before = ModelQueueNames(modelName);
  TStringList output;
  std::uint32_t exitCode = 0;
  const int run = RunCMD(command, output, &exitCode);
  if (run < 0) return PrintUIFailed(UIAddPrinterFailed, run, exitCode, output);
  TStringList after = ModelQueueNames(modelName);

  if (after.size() != before.size() + 1) return PrintUIFailed(UIAddPrinterFailed, run, exitCode, output);
  SubtractStrings(after, before);
  if (after.empty()) return PrintUIFailed(UIAddPrinterUnknown, run, exitCode, output);
  printerName = after.back();
  Sys().SetLastError(0);
  return 0;
}

std::uint32_t UIInstallDriver(const TString& modelName, const TString& infPath) {
  g_PrintUIReport.clear();
  const TString command =
      modelName.empty() ? TString() : PrintUICommand(u"/ia /m \"%s\" /f \"%s\" /q", {modelName, infPath});
  if (command.empty()) {
    trace::Error(u"Driver update: a value cannot be passed to the print UI");
    return UIAddPrinterFailed;
  }
  TStringList output;
  std::uint32_t exitCode = 0;
  const int run = RunCMD(command, output, &exitCode);
  RefreshPrinters();
  if (run < 0 || exitCode != 0 || !PrinterDriverExists(modelName)) {
    g_PrintUIReport = OutputReport(output);
    trace::Fmt(u"Driver update: the print UI ended with %s and the driver %s",
               {run < 0 ? TString(u"-") : text::IntToStr(exitCode),
                PrinterDriverExists(modelName) ? TString(u"is there") : TString(u"is missing")});
    return UIAddPrinterFailed;
  }
  Sys().SetLastError(0);
  return 0;
}

TString LastPrintUIReport() { return g_PrintUIReport; }
