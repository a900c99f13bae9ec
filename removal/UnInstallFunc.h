// Removing print queues and printer drivers: one queue with its driver, the
// driver's uninstall record and registered INF copies, and the outdated
// drivers of a model before a newer one is installed.
#pragma once

#include <cstdint>

#include "sysutil/StringList.h"
#include "sysutil/Text.h"

// --- One queue and its driver ----------------------------------------------

// Results of DeletePrinterAndDriver.
enum TDeleteResult : std::uint32_t {
  kDeleteDone = 0,                // the queue is gone (and its driver, when asked and unshared)
  kDeletePrinting = 1,            // the queue holds jobs; nothing was changed
  kDeleteUnexpected = 2,          // the starting value; callers treat it like kDeleteNotRemoved
  kDeleteNotRemoved = 3,          // the queue was not removed
  kDeleteDriverRemained = 4,      // the queue is gone, its driver is not; its removal waits for a restart
  kDeleteDriverNotScheduled = 5,  // the queue is gone, its driver is not, and no removal after a restart is arranged
};

// Removes the local queue printerName and, when deleteDriver is true and no
// other local queue uses it, its driver. deleteDriver becomes false when the
// driver removal failed. With an uninstaller (a full path), a failed driver
// removal schedules it for the next start of Windows.
std::uint32_t DeletePrinterAndDriver(const TString& manufacturer, const TString& printerName, bool& deleteDriver,
                                     const TString& uninstaller = {});
// The print UI's delete-queue command; printerName when the queue is gone, else empty.
TString UIDeletePrinter(const TString& printerName);
// The print UI's delete-driver command; driverName when the driver is gone, else empty.
TString UIDeletePrinterDriver(const TString& driverName, const TString& manufacturer);
// The spooler's driver deletion, retried once.
bool DelSpecPrnDrv(const TString& driverName, const TString& manufacturer);
// Makes the first listed printer the default when the default printer is gone.
void ResetDefaultPrinter();
// Schedules `uninstaller /Driver "driverName"` under RunOnce (a copy in the
// temporary folder); nothing when an equal command is already there.
bool ScheduleUninstaller(const TString& uninstaller, const TString& driverName);

// --- Uninstall records and registered INF copies ----------------------------

// Removes the driver's uninstall record below the manufacturer's key, the key
// itself once no record is left, and (unless the record says to leave them)
// the registered copies of the driver's INF.
bool DelRegUninstallInfo(const TString& driverName, const TString& manufacturer);
// Deletes the registered copies (oem*.inf and .pnf) of INFs of class infClass
// that list driverName as a model. The number of matching copies.
int LeaveOEMInf(const TString& driverName, const TString& infClass);
// The class of the INF files the driver removal cleans up.
inline constexpr char16_t kPrinterInfClass[] = u"Printer";
bool InfContainsDriver(const TString& driverName, const TString& infPath, const TString& infClass);
class TProfileFile;
// The same rule over an INF already read.
bool InfContainsDriver(const TString& driverName, const TProfileFile& inf, const TString& infClass);
// The registered copies of this INF file: files in the system's INF folder,
// named oem*.inf or as the INF itself, with the same bytes. Full paths.
TStringList RegisteredCopiesOf(const TString& infPath);
// Deletes each registered copy of the INF and its .pnf; the number deleted.
int DeleteRegisteredCopies(const TString& infPath);
// "C:\Windows\system32" -> "C:\Windows\inf\".
TString SystemInfFolder(const TString& systemDirectory);

// --- The queues of a model ---------------------------------------------------

// The local queues (not connections) whose driver is the model's.
TStringList QueuesOfDriver(const TString& modelName);
// Removes every local queue of the model's driver and then the driver, its
// uninstall record and the registered copies of the INF. A queue with jobs
// stops the removal (kDeletePrinting) with the queues before it gone. With
// an uninstaller (a full path) a driver that cannot be removed now is
// scheduled for the next start of Windows (kDeleteDriverRemained).
std::uint32_t UninstallModel(const TString& modelName, const TString& manufacturer, const TString& infPath,
                             const TString& uninstaller = {});

// --- Outdated drivers of a model --------------------------------------------

// The local queues using the model's driver, and the version of its data
// file; false when a data file of the driver cannot be read.
bool GetInstalledGPDVersion(const TString& modelName, TStringList& printerList, TString& version);
// True when an installed driver of the model is older than requiredVersion,
// or damaged (its data file cannot be read).
bool NeedUninstallOldDriver(const TString& modelName, const TString& requiredVersion, TStringList& printerList);
// Removes every queue of an outdated driver of the model, and the driver with
// the last one. False at the first failing removal, with its code. An
// uninstaller outside programDir is not used.
bool UninstallOldDriver(const TString& modelName, const TString& requiredVersion, const TString& manufacturer,
                        std::uint32_t& resultCode, const TString& uninstaller = {}, const TString& programDir = {});

// The version of a driver data file's last "*GPDFileVersion: \"" line (empty
// when its closing quote is not among the ten characters after the tag), and
// that line's number (1 for the first, 0 when there is none).
TString GpdFileVersion(TStringView content, size_t& line);

// Compares dotted versions component by component; the first differing one
// decides, and a version that is a prefix of the other counts as equal.
// Raises Exception for a compared component that is no integer.
bool VersionOlder(const TString& installed, const TString& required);
