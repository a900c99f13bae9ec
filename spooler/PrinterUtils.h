// The installer's conversation with the print spooler: the questions it asks
// (printers, drivers, ports, jobs, the default printer), the application
// printer list, and the few changes it makes outside the print UI.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ISpooler.h"
#include "sysutil/StringList.h"
#include "sysutil/Text.h"

// --- Queries ---------------------------------------------------------------

// A local printer of that name exists (letter case ignored for a..z only).
bool PrinterExists(const TString& name);
// An installed driver of that name exists for this environment (a..z folded).
bool PrinterDriverExists(const TString& driverName);
// A port of exactly that name exists (letter case significant).
bool PortExists(const TString& portName);
// Refreshes the application printer list and, when it holds names, replaces
// `list` by them, each cut before its first " on ".
void GetPrinterNames(TStringList& list);
// The printer's port (level 5); empty when the printer cannot be read.
void GetPrinterPort(const TString& printerName, TString& portName);
// The default printer. False when there is none (last error 2), when the entry
// point is missing (name empty) or the library does not load (name untouched).
bool GetDefaultPrinterName(TString& name);
// True when the printer's state was read; online = its work-offline bit is clear.
bool IsPrinterOnline(const TString& printerName, bool& online);
// The printer's driver (level 2); empty when the printer cannot be read.
void GetPrinterDriverName(const TString& printerName, TString& driverName);
// Looks the local printer of exactly that name up (level 2). True when the
// printers were enumerated. `info` receives the entry (untouched when none
// matches); driverShared tells whether two or more local printers use its driver.
bool GetPrinterInfo2(const TString& printerName, TPrinterInfo2& info, bool& driverShared);

// The jobs of a printer that could not be counted.
constexpr int kJobCountUnknown = -1;
// Number of jobs queued on the printer, every one counted; 0 when the printer
// does not open. kJobCountUnknown when it opened but its jobs could not be
// enumerated: a caller about to delete the printer must treat that as busy.
int GetPrinterJobCount(const TString& printerName);

// --- The application printer list -----------------------------------------
// The names of the local printers and printer connections in the spooler's
// order. It is filled at its first read after start or after a refresh and
// then kept until the next refresh; a failed fill leaves it empty.
void RefreshPrinters();
const TStringList& Printers();
// A model's queues: the list refreshed, then the names that begin with the
// model's name (a..z folded); an empty name has none.
TStringList ModelQueueNames(const TString& modelName);
// The printer connections (queues of other computers) as the spooler lists
// them now (level 2); empty when they cannot be enumerated.
std::vector<TPrinterInfo2> PrinterConnections();

// --- Changes ---------------------------------------------------------------

// SetDefaultPrinterA, looked up at run time.
bool SetDefaultPrinterName(const std::string& ansiName);
// DeletePrinterDriverExA, looked up at run time; the arguments pass unchanged.
bool DynDeletePrinterDriverEx(const std::optional<std::string>& server, const std::optional<std::string>& environment,
                              const std::string& driverName, std::uint32_t deleteFlag, std::uint32_t versionFlag);
// Adds a port to the standard local port monitor. True whenever the monitor
// was reached; its status is left in the last error (0 added, 183 exists).
// False for a name of more than 255 characters. Raises Exception when the
// spooler has no "XcvDataW".
bool AddLocalPort(const TString& portName);
// Moves the printer to the port (level 2). False for an empty port name.
bool SetPrinterPort(const TString& printerName, const TString& portName);
// Creates a queue on LPT1: for an installed driver with an A4 portrait device mode.
bool AddLptPrinter(const TString& driverName, const TString& printerName);

// The description and device mode AddLptPrinter hands to the spooler.
TPrinterInfo2 LptPrinterDescription(const TString& driverName, const TString& printerName);
