// Removing one print queue, and its driver when no other queue uses it.
#include "platform/ISpooler.h"
#include "platform/ISystem.h"
#include "removal/UnInstallFunc.h"
#include "spooler/PrintUI.h"
#include "spooler/PrinterHandle.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/MyUtils.h"

namespace {

constexpr std::uint32_t kDriverRetryPauseMs[] = {0, 1000, 100};
constexpr std::uint32_t kDriverUIPauseMs[] = {10, 100, 10};

// Jobs are pending, or nobody can tell. When the jobs cannot be enumerated
// the printer's own record still counts them.
bool HasJobs(const TString& printerName) {
  int jobs = GetPrinterJobCount(printerName);
  if (jobs != kJobCountUnknown) return jobs > 0;
  TPrinterHandle printer;
  TPrinterInfo2 info;
  if (!printer.Open(printerName)) return true;
  return !spool::ReadPrinter2(printer.Get(), info) || info.cJobs > 0;
}

bool SetStatus(TPrinterHandle& printer, std::uint32_t status) {
  return printer.Get() && Spooler().SetPrinterStatus(printer.Get(), spool::kPrinterControlSetStatus, status);
}

bool RunPrintUI(TStringView switches, const TString& value) {
  const TString command = PrintUICommand(switches, {value});
  TStringList output;
  return !command.empty() && RunCMD(command, output) >= 0;
}

}  // namespace

TString UIDeletePrinter(const TString& printerName) {
  RefreshPrinters();
  if (!RunPrintUI(u"/dl /n \"%s\" /h \"intel\" /q", printerName)) return {};
  RefreshPrinters();
  return PrinterExists(printerName) ? TString() : printerName;
}

TString UIDeletePrinterDriver(const TString& driverName, const TString& manufacturer) {
  for (std::uint32_t ms : kDriverUIPauseMs) Sys().Sleep(ms);
  RefreshPrinters();
  if (!RunPrintUI(u"/dd /m \"%s\" /h \"intel\" /q", driverName)) return {};
  RefreshPrinters();
  if (PrinterDriverExists(driverName)) return {};
  if (!manufacturer.empty()) DelRegUninstallInfo(driverName, manufacturer);
  return driverName;
}

bool DelSpecPrnDrv(const TString& driverName, const TString& manufacturer) {
  if (GetWindowsVersion() < 50) {
    if (!Spooler().DeletePrinterDriverW(driverName)) return false;
  } else {
    std::string ansi;
    const bool exact = text::ExactAnsi(driverName, ansi);
    auto remove = [&] {
      return exact && DynDeletePrinterDriverEx(std::nullopt, std::nullopt, ansi, spool::kDpdDeleteUnusedFiles, 0);
    };
    if (!remove()) {
      for (std::uint32_t ms : kDriverRetryPauseMs) Sys().Sleep(ms);
      if (!remove()) return false;
    }
  }
  if (!manufacturer.empty()) DelRegUninstallInfo(driverName, manufacturer);
  return true;
}

void ResetDefaultPrinter() {
  TString current;
  if (!GetDefaultPrinterName(current)) {
    std::uint32_t err = Sys().GetLastError();
    if (err != kErrorFileNotFound) {
      Sys().OutputDebugString(text::Format(u"GetDefaultPrinter Fail, Error Code :0x%.8x", {err}));
      return;
    }
    current.clear();
  }
  TStringList names;
  GetPrinterNames(names);
  if (!PrinterExists(current) && !names.empty()) SetDefaultPrinterName(Sys().WideToAnsi(names.front(), nullptr));
}

std::uint32_t DeletePrinterAndDriver(const TString& manufacturer, const TString& printerName, bool& deleteDriver,
                                     const TString& uninstaller) {
  if (HasJobs(printerName)) return kDeletePrinting;

  TPrinterInfo2 info;
  bool shared = false;
  // A connection to another computer, or a queue that is gone: there is no
  // local queue to take offline and no driver to look at.
  if (!GetPrinterInfo2(printerName, info, shared) || info.DriverName.empty()) return kDeleteNotRemoved;
  const TString driverName = info.DriverName;

  {
    TPrinterDefaults defaults;
    defaults.DesiredAccess = spool::kPrinterAllAccess;
    TPrinterHandle printer;
    if (printer.Open(printerName, &defaults)) {
      SetStatus(printer, spool::kPrinterStatusOffline);
      // A job that came in since the first look would go with the queue.
      if (HasJobs(printerName)) {
        SetStatus(printer, 0);
        return kDeletePrinting;
      }
    }
  }

  if (UIDeletePrinter(printerName) != printerName) return kDeleteNotRemoved;
  ResetDefaultPrinter();

  std::uint32_t result = kDeleteDone;
  if (deleteDriver && !shared && UIDeletePrinterDriver(driverName, manufacturer) != driverName &&
      !DelSpecPrnDrv(driverName, manufacturer)) {
    deleteDriver = false;
    // Only a scheduled uninstaller removes the files after a restart.
    result = !uninstaller.empty() && ScheduleUninstaller(uninstaller, driverName) ? kDeleteDriverRemained
                                                                                  : kDeleteDriverNotScheduled;
  }
  return result;
}
