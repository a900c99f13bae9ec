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
