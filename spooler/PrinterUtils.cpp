#include "spooler/PrinterUtils.h"

#include "platform/ISystem.h"
#include "spooler/PrinterHandle.h"
#include "sysutil/MyUtils.h"

namespace {

// Without a size hint from the spooler the driver enumeration gets this much.
constexpr std::uint32_t kDriverBufferFallback = 0x20000;
constexpr std::uint32_t kDefaultPrinterBuffer = 260;
constexpr std::uint32_t kAllJobs = 0xFFFFFFFF;

bool EnumLocalPrinters(std::vector<TPrinterInfo2>& out) {
  return spool::ReadSized([&](std::uint32_t cb, std::uint32_t& needed) {
    return Spooler().EnumPrinters2(spool::kPrinterEnumLocal, cb, out, needed);
  });
}

bool ReadPrinter5(THandle h, TPrinterInfo5& out) {
  return spool::ReadSized(
      [&](std::uint32_t cb, std::uint32_t& needed) { return Spooler().GetPrinter5(h, cb, out, needed); });
}

TStringList g_Printers;
bool g_PrintersFilled = false;

}  // namespace

bool PrinterExists(const TString& name) {
  std::vector<TPrinterInfo2> printers;
  if (!EnumLocalPrinters(printers)) return false;
  for (const auto& p : printers)
    if (text::SameTextAscii(p.PrinterName, name)) return true;
  return false;
}

bool PrinterDriverExists(const TString& driverName) {
  ISpooler& spl = Spooler();
  std::vector<TDriverInfo6> drivers;
  std::uint32_t needed = 0;
  std::uint32_t size = kDriverBufferFallback;
  if (!spl.EnumPrinterDrivers6(u"", 0, drivers, needed)) {
    if (Sys().GetLastError() == kErrorInsufficientBuffer) size = needed + 2;
    if (!spl.EnumPrinterDrivers6(u"", size, drivers, needed)) return false;
  }
  for (const auto& d : drivers)
    if (text::SameTextAscii(d.Name, driverName)) return true;
  return false;
}

bool PortExists(const TString& portName) {
  // The enumeration is sized by the spooler's answer: a machine with many
  // ports must not look as if it had none.
  std::vector<TPortInfo2> ports;
  bool ok = spool::ReadSized(
      [&](std::uint32_t cb, std::uint32_t& needed) { return Spooler().EnumPorts2(cb, ports, needed); });
  if (!ok) return false;
  for (const auto& p : ports)
    if (p.PortName == portName) return true;
  return false;
}

void RefreshPrinters() {
  g_Printers.clear();
  g_PrintersFilled = false;
}

const TStringList& Printers() {
  if (g_PrintersFilled) return g_Printers;
  g_PrintersFilled = true;
  g_Printers.clear();
  std::vector<TPrinterInfo4> printers;
  bool ok = spool::ReadSized([&](std::uint32_t cb, std::uint32_t& needed) {
    return Spooler().EnumPrinters4(spool::kPrinterEnumLocal | spool::kPrinterEnumConnections, cb, printers, needed);
  });
  if (ok)
    for (const auto& p : printers) g_Printers.push_back(p.PrinterName);
  return g_Printers;
}

TStringList ModelQueueNames(const TString& modelName) {
  RefreshPrinters();
  TStringList names = Printers();
  KeepStringsStartingWith(names, modelName);
  return names;
}

std::vector<TPrinterInfo2> PrinterConnections() {
  std::vector<TPrinterInfo2> connections;
  if (!spool::ReadSized([&](std::uint32_t cb, std::uint32_t& needed) {
        return Spooler().EnumPrinters2(spool::kPrinterEnumConnections, cb, connections, needed);
      }))
    connections.clear();
  return connections;
}

void GetPrinterNames(TStringList& list) {
  RefreshPrinters();
  const TStringList& names = Printers();
  if (names.empty()) return;
  list.clear();
  for (const auto& n : names) {
    size_t at = n.find(u" on ");
    list.push_back(at == TString::npos ? n : n.substr(0, at));
  }
}

void GetPrinterPort(const TString& printerName, TString& portName) {
  portName.clear();
  Sys().SetLastError(0);
  if (printerName.empty()) return;
  TPrinterHandle h;
  if (!h.Open(printerName)) return;
  TPrinterInfo5 info;
  if (ReadPrinter5(h.Get(), info)) portName = info.PortName;
}

bool GetDefaultPrinterName(TString& name) {
  ISpooler& spl = Spooler();
  switch (spl.LookupEntry(TSpoolerEntry::GetDefaultPrinterA)) {
    case TEntryLookup::NoLibrary:
      return false;
    case TEntryLookup::NoEntryPoint:
      name.clear();
      return false;
    case TEntryLookup::Found:
      break;
  }
  std::string buffer;
  std::uint32_t cch = kDefaultPrinterBuffer;
  bool ok = spl.GetDefaultPrinterA(buffer, cch);
  if (ok) {
    name = text::FromAnsi(buffer);
  } else {
    std::uint32_t err = Sys().GetLastError();
    name.clear();
    Sys().SetLastError(err);
  }
  return ok;
}

bool IsPrinterOnline(const TString& printerName, bool& online) {
  TPrinterHandle h;
  if (!h.Open(printerName)) return false;
  TPrinterInfo5 info;
  if (!ReadPrinter5(h.Get(), info)) return false;
  online = (info.Attributes & spool::kAttrWorkOffline) == 0;
  return true;
}

void GetPrinterDriverName(const TString& printerName, TString& driverName) {
  driverName.clear();
  TPrinterHandle h;
  if (!h.Open(printerName)) return;
  TPrinterInfo2 info;
  if (spool::ReadPrinter2(h.Get(), info)) driverName = info.DriverName;
}

bool GetPrinterInfo2(const TString& printerName, TPrinterInfo2& info, bool& driverShared) {
  driverShared = false;
  std::vector<TPrinterInfo2> printers;
  if (!EnumLocalPrinters(printers)) return false;
  const TPrinterInfo2* match = nullptr;
  for (const auto& p : printers)
    if (p.PrinterName == printerName) match = &p;
  if (!match) return true;
  info = *match;
  if (!match->DriverName.empty()) {
    int users = 0;
    for (const auto& p : printers)
      if (p.DriverName == match->DriverName) ++users;
    driverShared = users >= 2;
  }
  return true;
}

int GetPrinterJobCount(const TString& printerName) {
  TPrinterHandle h;
  if (!h.Open(printerName)) return 0;
  std::vector<TJobInfo1> jobs;
  bool ok = spool::ReadSized([&](std::uint32_t cb, std::uint32_t& needed) {
    return Spooler().EnumJobs1(h.Get(), 0, kAllJobs, cb, jobs, needed);
  });
  if (!ok) return kJobCountUnknown;
  return static_cast<int>(jobs.size());
}
