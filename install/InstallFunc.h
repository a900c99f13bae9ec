// Installing a printer model and configuring its new print queue.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// What the last UIAddPrinter that failed learned of the print UI, for the
// failure box: its exit code and what it wrote; empty after a success.
TString LastPrintUIReport();
// The print UI's install-driver command for the model from the INF: the
// queues that use the driver take the new files. 0, or UIAddPrinterFailed.
std::uint32_t UIInstallDriver(const TString& modelName, const TString& infPath);

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

// The DriverVer entry of an INF's [Version] section, as the comparison reads it.
struct TDriverVer {
  TString Date;                          // as read, before the comma
  std::vector<std::int64_t> Components;  // non-integers count as 0
};
class TProfileFile;
TDriverVer DriverVerOf(const TProfileFile& inf);
// A month/day/year date as days since 1 March of year 0; false when it does not parse.
bool DriverVerDay(const TString& date, std::int64_t& days);

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

class TModule;
struct TStartup;
class Exception;

// The error that ends an install whose 64-bit host cannot be started: its
// path and the system's reason.
Exception HostNotStarted(const TString& hostExe);

// Loads the device-install library or raises "DllNotFound :" with its path.
void LoadInst2k(TModule& library, const TString& path);
// How the host is started: hidden, detached, in its own folder.
TStartup HostStartup(const TString& commandLine, const TString& hostPath);

// The silent test installation (in this process, or through the host on
// 64-bit Windows) and the queue check: 0 (found: installed by the test; not
// found: may be connected), ReqOfflineInstall, or the test's error code.
std::uint32_t ExistReqInlineSetupDevice(THandle window, const TString& inst2kDll, const TString& hostExe,
                                        const TString& inst2k64Dll, const std::string& hardwareId,
                                        const std::string& infPath, const TString& modelName, bool& found);
// The host's test installation; 1067 when it gave no answer.
std::uint32_t ExistInlineDevice64(THandle window, const TString& hardwareId, const TString& infPath,
                                  const TString& hostExe, const TString& inst2k64Dll, std::uint32_t installFlags);
// A device node with the hardware ID: its first hardware ID and its port.
bool FindExistDevice(const TString& inst2kDll, const TString& hardwareId, TString& deviceHwid, TString& port,
                     bool rescan);
void RefreshSystemHW(const TString& inst2kDll);
// RefreshSystemHW on a background thread nobody waits for.
void RefreshSystemHW_Thread(const TString& inst2kDll);
void ShowInst2kErrorCode(const TString& inst2kDll, bool show);
// The library's LastInstallErrorCode, or 1.
std::uint32_t GetLastInstallErrorCode(THandle library);

// Installs the model for every present device in this process (32-bit
// Windows). True when installed; errorCode is the library's last code.
bool InstallSpecPrinter2k(THandle window, std::uint32_t& errorCode, const TString& infPath,
                          const TString& offlineHwidPrefix, const TString& hardwareId, const TString& inst2kDll,
                          TString& port);
// Starts the host in install mode (64-bit Windows) without waiting; its
// process handle is handed back, its outcome arrives as a window message.
void InstallSpecPrinter64(THandle window, const TString& hostExe, const TString& infPath,
                          const TString& offlineHwidPrefix, const TString& hardwareId, const TString& inst2k64Dll,
                          const TString& inst2kDll, THandle& process, TString& port);
// Registers the INF with the system; the registered copy's path, or empty.
bool CopyOemInf(const TString& inst2kDll, const TString& infPath, TString& oemInfPath);
