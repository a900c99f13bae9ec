// Installing a printer model and configuring its new print queue.
#pragma once

#include <cstdint>

#include "sysutil/Text.h"

// --- Offline installation through the print UI ----------------------------

constexpr std::uint32_t UIAddPrinterFailed = 0x20280001;
constexpr std::uint32_t UIAddPrinterUnknown = 0x20280020;

// Runs the print UI quietly to install `modelName` from `infPath` as a queue on
// `portName` and finds the queue it created by comparing the printer names
// before and after. 0 on success, with the new queue's name in printerName
// (untouched otherwise); UIAddPrinterFailed or UIAddPrinterUnknown.
std::uint32_t UIAddPrinter(const TString& modelName, const TString& infPath, const TString& portName,
                           TString& printerName);

// The print UI command line that installs a model; empty when a value cannot
// be passed safely inside its quotes.
TString PrintUIInstallCommand(const TString& modelName, const TString& infPath, const TString& portName);

// --- Print queue configuration --------------------------------------------

// A request to configure a print queue.
struct TChangePrinterInfo {
  TString OrgName;    // the queue to configure
  TString NewName;    // empty = keep the name
  TString ShareName;  // empty = not shared
  TString Port;       // "ADDLOCAL:<name>" (any case) creates a local port first
  bool bSetDefault = false;
  TString Process;  // empty or "WinPrint" = the standard processor
};

// Applies the request; true when the spooler accepted the changed description.
bool ChangePrinterInfo(TChangePrinterInfo info);

// --- INF comparison ----------------------------------------------------------

// InfCompareVersion when either file is missing.
constexpr std::int32_t kInfMissing = 2147483647;

// Compares the DriverVer entries of two INF files: 1 when the first is newer
// (or either has no version), 0 for the same version with dates at most a day
// apart, -1 when it is older, kInfMissing when a file is missing. Raises
// Exception naming both dates when they must be compared and do not parse.
std::int32_t InfCompareVersion(const TString& inf1Path, const TString& inf2Path);

// --- Device detection and online installation ---------------------------------

// ExistReqInlineSetupDevice: a queue of the model is online on the printer's
// port or on a USB port; install offline.
constexpr std::uint32_t ReqOfflineInstall = 0x20280010;

// The host's command line (detection appends its exchange file): the library
// and the INF relative to the host's folder, full paths on another drive.
TString HostCommandLine(const TString& hostPath, std::int32_t window, const TString& dllPath, const TString& infPath,
                        const TString& hardwareId, const TString& currentDir);
// "...USBPRINT...&USB001" -> "USB001", "...LPTENUM...&LPT1" -> "LPT1:", else empty.
TString CutPortFromInstanceId(const TString& idAndPort);
