#include "fakes/FakeSpooler.h"

#include <algorithm>

#include "platform/ISystem.h"
#include "spooler/DevMode.h"

namespace {

constexpr std::uint32_t kPtr = 4;  // the installer is a 32-bit program

std::uint32_t Str(const TString& s) { return s.empty() ? 0 : static_cast<std::uint32_t>((s.size() + 1) * 2); }
std::uint32_t MultiStr(const TStringList& l) {
  if (l.empty()) return 0;
  std::uint32_t n = 2;
  for (const auto& s : l) n += Str(s);
  return n;
}

// Decodes an enumeration of `all` into `out` when cbBuf can hold it.
template <class T>
bool Deliver(const std::vector<T>& all, std::uint32_t cbBuf, std::vector<T>& out, std::uint32_t& needed) {
  needed = 0;
  for (const auto& e : all) needed += FakeSpooler::SizeOf(e);
  if (cbBuf < needed) {
    Sys().SetLastError(kErrorInsufficientBuffer);
    return false;
  }
  out = all;
  return true;
}

template <class T>
bool DeliverOne(const T& item, std::uint32_t cbBuf, T& out, std::uint32_t& needed) {
  needed = FakeSpooler::SizeOf(item);
  if (cbBuf < needed) {
    Sys().SetLastError(kErrorInsufficientBuffer);
    return false;
  }
  out = item;
  return true;
}

TString FromUtf16Bytes(const std::vector<std::uint8_t>& b) {
  TString s;
  for (size_t i = 0; i + 1 < b.size(); i += 2) {
    char16_t c = static_cast<char16_t>(b[i] | (b[i + 1] << 8));
    if (!c) break;
    s.push_back(c);
  }
  return s;
}

bool PortListExists(const std::vector<TPortInfo2>& ports, const TString& portNames) {
  // A queue may name several ports, separated by commas.
  if (portNames.empty()) return false;
  size_t start = 0;
  while (start <= portNames.size()) {
    size_t end = portNames.find(u',', start);
    if (end == TString::npos) end = portNames.size();
    TString one = portNames.substr(start, end - start);
    if (!one.empty() && std::none_of(ports.begin(), ports.end(),
                                     [&](const TPortInfo2& p) { return text::SameTextAscii(p.PortName, one); }))
      return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

FakeSpooler::FakeSpooler() {
  for (const char16_t* p : {u"COM1:", u"LPT1:", u"LPT2:", u"FILE:"}) AddPort(p);
}

std::uint32_t FakeSpooler::SizeOf(const TPrinterInfo2& p) {
  return 13 * kPtr + 8 * 4 + Str(p.ServerName) + Str(p.PrinterName) + Str(p.ShareName) + Str(p.PortName) +
         Str(p.DriverName) + Str(p.Comment) + Str(p.Location) + static_cast<std::uint32_t>(p.DevMode.size()) +
         Str(p.SepFile) + Str(p.PrintProcessor) + Str(p.Datatype) + Str(p.Parameters);
}
std::uint32_t FakeSpooler::SizeOf(const TPrinterInfo4& p) {
  return 2 * kPtr + 4 + Str(p.PrinterName) + Str(p.ServerName);
}
std::uint32_t FakeSpooler::SizeOf(const TPrinterInfo5& p) {
  return 2 * kPtr + 12 + Str(p.PrinterName) + Str(p.PortName);
}
std::uint32_t FakeSpooler::SizeOf(const TDriverInfo6& d) {
  return 4 + 14 * kPtr + 16 + Str(d.Name) + Str(d.Environment) + Str(d.DriverPath) + Str(d.DataFile) +
         Str(d.ConfigFile) + Str(d.HelpFile) + MultiStr(d.DependentFiles) + Str(d.MonitorName) +
         Str(d.DefaultDataType) + MultiStr(d.PreviousNames) + Str(d.MfgName) + Str(d.OEMUrl) + Str(d.HardwareID) +
         Str(d.Provider);
}
std::uint32_t FakeSpooler::SizeOf(const TPortInfo2& p) {
  return 3 * kPtr + 8 + Str(p.PortName) + Str(p.MonitorName) + Str(p.Description);
}
std::uint32_t FakeSpooler::SizeOf(const TJobInfo1& j) {
  return 4 + 7 * kPtr + 5 * 4 + 16 + Str(j.PrinterName) + Str(j.MachineName) + Str(j.UserName) + Str(j.Document) +
         Str(j.Datatype) + Str(j.StatusText);
}

bool FakeSpooler::Fail(std::uint32_t error) {
  Sys().SetLastError(error);
  return false;
}

TDriverInfo6& FakeSpooler::AddDriver(const TString& name, const TString& dataFile) {
  TDriverInfo6 d;
  d.Version = 3;
  d.Name = name;
  d.Environment = Environment;
  d.DriverPath = u"C:\\Windows\\System32\\spool\\drivers\\w32x86\\3\\UNIDRV.DLL";
  d.ConfigFile = u"C:\\Windows\\System32\\spool\\drivers\\w32x86\\3\\UNIDRVUI.DLL";
  d.DataFile = dataFile.empty() ? u"C:\\Windows\\System32\\spool\\drivers\\w32x86\\3\\" + name + u".GPD" : dataFile;
  Drivers.push_back(d);
  return Drivers.back();
}

FakeSpooler::Printer& FakeSpooler::AddPrinter(const TString& name, const TString& driver, const TString& port) {
  Printer p;
  p.Info.PrinterName = name;
  p.Info.DriverName = driver;
  p.Info.PortName = port;
  p.Info.PrintProcessor = u"WinPrint";
  p.Info.Datatype = u"RAW";
  p.Info.Attributes = spool::kAttrLocal;
  p.Info.Priority = 1;
  p.Info.DevMode = DriverDevMode(name);
  PrinterList.push_back(p);
  return PrinterList.back();
}

FakeSpooler::Printer& FakeSpooler::AddConnection(const TString& name, const TString& driver) {
  Printer& p = AddPrinter(name, driver, u"");
  p.Connection = true;
  p.Info.Attributes = 0x10;  // PRINTER_ATTRIBUTE_NETWORK
  return p;
}

void FakeSpooler::AddPort(const TString& name) {
  TPortInfo2 p;
  p.PortName = name;
  p.MonitorName = u"Local Port";
  p.Description = u"Local Port";
  p.PortType = 3;  // PORT_TYPE_WRITE | PORT_TYPE_READ
  Ports.push_back(p);
}

void FakeSpooler::AddJobs(const TString& printer, int count) {
  Printer* p = Find(printer);
  for (int i = 0; p && i < count; ++i) {
    TJobInfo1 j;
    j.JobId = m_NextJobId++;
    j.PrinterName = p->Info.PrinterName;
    j.UserName = u"me";
    j.Document = u"Document " + text::IntToStr(j.JobId);
    j.Datatype = u"RAW";
    p->Jobs.push_back(j);
  }
}

FakeSpooler::Printer* FakeSpooler::Find(const TString& name) {
  for (auto& p : PrinterList)
    if (text::SameTextAscii(p.Info.PrinterName, name)) return &p;
  return nullptr;
}

const TDriverInfo6* FakeSpooler::FindDriver(const TString& name) const {
  for (const auto& d : Drivers)
    if (text::SameTextAscii(d.Name, name)) return &d;
  return nullptr;
}

TDevModeBytes FakeSpooler::DriverDevMode(const TString& printerName) const {
  TDevMode dm;
  dm.DeviceName = printerName;
  dm.SpecVersion = 0x0401;
  dm.DriverExtra = DriverExtraBytes;
  dm.Fields = 0x3;  // DM_ORIENTATION | DM_PAPERSIZE
  dm.Orientation = 1;
  dm.PaperSize = 1;  // letter
  TDevModeBytes b = dm.Encode();
  for (std::uint16_t i = 0; i < DriverExtraBytes; ++i) b.push_back(static_cast<std::uint8_t>(0xA0 + i));
  return b;
}

bool FakeSpooler::DriverInUse(const TString& driver) const {
  return std::any_of(PrinterList.begin(), PrinterList.end(),
                     [&](const Printer& p) { return text::SameTextAscii(p.Info.DriverName, driver); });
}

FakeSpooler::OpenHandle* FakeSpooler::Handle(THandle h) {
  auto it = m_Handles.find(h);
  return it == m_Handles.end() ? nullptr : &it->second;
}

FakeSpooler::Printer* FakeSpooler::PrinterOf(THandle h) {
  OpenHandle* oh = Handle(h);
  if (!oh || oh->Xcv) return nullptr;
  return Find(oh->Printer);
}

// --- Enumerations ---

bool FakeSpooler::EnumPrinters2(std::uint32_t flags, std::uint32_t cbBuf, std::vector<TPrinterInfo2>& out,
                                std::uint32_t& needed) {
  needed = 0;
  if (EnumPrintersFails) return Fail(kErrorAccessDenied);
  std::vector<TPrinterInfo2> all;
  for (const auto& p : PrinterList)
    if ((p.Connection ? spool::kPrinterEnumConnections : spool::kPrinterEnumLocal) & flags) {
      all.push_back(p.Info);
      all.back().cJobs = static_cast<std::uint32_t>(p.Jobs.size());
    }
  return Deliver(all, cbBuf, out, needed);
}

bool FakeSpooler::EnumPrinters4(std::uint32_t flags, std::uint32_t cbBuf, std::vector<TPrinterInfo4>& out,
                                std::uint32_t& needed) {
  needed = 0;
  if (EnumPrintersFails) return Fail(kErrorAccessDenied);
  std::vector<TPrinterInfo4> all;
  for (const auto& p : PrinterList)
    if ((p.Connection ? spool::kPrinterEnumConnections : spool::kPrinterEnumLocal) & flags)
      all.push_back({p.Info.PrinterName, p.Info.ServerName, p.Info.Attributes});
  return Deliver(all, cbBuf, out, needed);
}

bool FakeSpooler::EnumPrinterDrivers6(const TString& environment, std::uint32_t cbBuf, std::vector<TDriverInfo6>& out,
                                      std::uint32_t& needed) {
  const TString env = environment.empty() ? Environment : environment;
  std::vector<TDriverInfo6> all;
  for (const auto& d : Drivers)
    if (text::SameTextAscii(d.Environment, env)) all.push_back(d);
  return Deliver(all, cbBuf, out, needed);
}

bool FakeSpooler::EnumPorts2(std::uint32_t cbBuf, std::vector<TPortInfo2>& out, std::uint32_t& needed) {
  return Deliver(Ports, cbBuf, out, needed);
}

bool FakeSpooler::EnumJobs1(THandle h, std::uint32_t firstJob, std::uint32_t noJobs, std::uint32_t cbBuf,
                            std::vector<TJobInfo1>& out, std::uint32_t& needed) {
  needed = 0;
  Printer* p = PrinterOf(h);
  if (!p) return Fail(kErrorInvalidHandle);
  if (EnumJobsFailsFor.count(p->Info.PrinterName)) return Fail(kErrorAccessDenied);
  std::vector<TJobInfo1> slice;
  for (std::uint64_t i = firstJob; i < p->Jobs.size() && i - firstJob < noJobs; ++i) slice.push_back(p->Jobs[i]);
  return Deliver(slice, cbBuf, out, needed);
}

// --- Printers ---

bool FakeSpooler::OpenPrinter(const TString& name, THandle& h, const TPrinterDefaults* defaults) {
  std::uint32_t access = defaults ? defaults->DesiredAccess : spool::kPrinterAccessUse;
  OpenHandle oh;
  oh.Access = access;
  if (name == u",XcvMonitor Local Port") {
    oh.Xcv = true;
  } else {
    Printer* p = Find(name);
    if (!p) return Fail(kErrorInvalidPrinterName);
    if ((access & spool::kPrinterAllAccess) == spool::kPrinterAllAccess && FullAccessDenied.count(p->Info.PrinterName))
      return Fail(kErrorAccessDenied);
    oh.Printer = p->Info.PrinterName;
  }
  h = m_NextHandle++;
  m_Handles[h] = oh;
  OpenDefaults.push_back(defaults ? *defaults : TPrinterDefaults{});
  return true;
}

bool FakeSpooler::ClosePrinter(THandle h) {
  if (!m_Handles.erase(h)) return Fail(kErrorInvalidHandle);
  return true;
}

bool FakeSpooler::GetPrinter2(THandle h, std::uint32_t cbBuf, TPrinterInfo2& out, std::uint32_t& needed) {
  needed = 0;
  Printer* p = PrinterOf(h);
  if (!p) return Fail(kErrorInvalidHandle);
  if (ReadFailsFor.count(p->Info.PrinterName)) return Fail(kErrorAccessDenied);
  TPrinterInfo2 info = p->Info;
  info.cJobs = static_cast<std::uint32_t>(p->Jobs.size());
  return DeliverOne(info, cbBuf, out, needed);
}

bool FakeSpooler::GetPrinter4(THandle h, std::uint32_t cbBuf, TPrinterInfo4& out, std::uint32_t& needed) {
  needed = 0;
  Printer* p = PrinterOf(h);
  if (!p) return Fail(kErrorInvalidHandle);
  if (ReadFailsFor.count(p->Info.PrinterName)) return Fail(kErrorAccessDenied);
  return DeliverOne(TPrinterInfo4{p->Info.PrinterName, p->Info.ServerName, p->Info.Attributes}, cbBuf, out, needed);
}

bool FakeSpooler::GetPrinter5(THandle h, std::uint32_t cbBuf, TPrinterInfo5& out, std::uint32_t& needed) {
  needed = 0;
  Printer* p = PrinterOf(h);
  if (!p) return Fail(kErrorInvalidHandle);
  if (ReadFailsFor.count(p->Info.PrinterName)) return Fail(kErrorAccessDenied);
  return DeliverOne(TPrinterInfo5{p->Info.PrinterName, p->Info.PortName, p->Info.Attributes, 15000, 45000}, cbBuf, out,
                    needed);
}

bool FakeSpooler::Validate(const TPrinterInfo2& info, const Printer* self) {
  if (info.PrinterName.empty()) return Fail(kErrorInvalidPrinterName);
  Printer* other = Find(info.PrinterName);
  if (other && other != self) return Fail(kErrorPrinterAlreadyExists);
  if (!FindDriver(info.DriverName)) return Fail(kErrorUnknownPrinterDriver);
  if (!PortListExists(Ports, info.PortName)) return Fail(kErrorUnknownPort);
  if (std::none_of(PrintProcessors.begin(), PrintProcessors.end(),
                   [&](const TString& pp) { return text::SameTextAscii(pp, info.PrintProcessor); }))
    return Fail(kErrorUnknownPrintProcessor);
  if ((info.Attributes & spool::kAttrShared) && info.ShareName.empty()) return Fail(kErrorInvalidShareName);
  if (!info.DevMode.empty()) {
    TDevMode dm;
    if (!TDevMode::Decode(info.DevMode, dm) || info.DevMode.size() != std::size_t(dm.Size) + dm.DriverExtra)
      return Fail(kErrorInvalidParameter);
  }
  return true;
}

bool FakeSpooler::SetPrinter2(THandle h, const TPrinterInfo2& info, std::uint32_t command) {
  OpenHandle* oh = Handle(h);
  Printer* p = PrinterOf(h);
  if (!p) return Fail(kErrorInvalidHandle);
  if (command != 0) return Fail(kErrorInvalidParameter);
  if ((oh->Access & spool::kPrinterAllAccess) != spool::kPrinterAllAccess) return Fail(kErrorAccessDenied);
  if (!Validate(info, p)) return false;
  TString oldName = p->Info.PrinterName;
  TPrinterInfo2 next = info;
  if (next.DevMode.empty()) next.DevMode = p->Info.DevMode;
  next.cJobs = 0;
  next.Status = p->Info.Status;
  p->Info = next;
  oh->Printer = next.PrinterName;
  if (DefaultPrinter && *DefaultPrinter == oldName) DefaultPrinter = next.PrinterName;
  return true;
}

bool FakeSpooler::SetPrinterStatus(THandle h, std::uint32_t command, std::uint32_t status) {
  OpenHandle* oh = Handle(h);
  Printer* p = PrinterOf(h);
  if (!p) return Fail(kErrorInvalidHandle);
  if (command != spool::kPrinterControlSetStatus) return Fail(kErrorInvalidParameter);
  if ((oh->Access & spool::kPrinterAllAccess) != spool::kPrinterAllAccess) return Fail(kErrorAccessDenied);
  p->Info.Status = status;
  if (OnStatusSet) OnStatusSet(*p);
  return true;
}

THandle FakeSpooler::AddPrinter2(const TPrinterInfo2& info) {
  if (!Validate(info, nullptr)) return 0;
  Printer p;
  p.Info = info;
  p.Info.Attributes |= spool::kAttrLocal;
  if (p.Info.DevMode.empty()) p.Info.DevMode = DriverDevMode(info.PrinterName);
  PrinterList.push_back(p);
  THandle h = m_NextHandle++;
  m_Handles[h] = OpenHandle{info.PrinterName, false, spool::kPrinterAllAccess};
  return h;
}

bool FakeSpooler::DeletePrinter(THandle h) {
  OpenHandle* oh = Handle(h);
  Printer* p = PrinterOf(h);
  if (!p) return Fail(kErrorInvalidHandle);
  if ((oh->Access & spool::kPrinterAllAccess) != spool::kPrinterAllAccess) return Fail(kErrorAccessDenied);
  if (DefaultPrinter && text::SameTextAscii(*DefaultPrinter, p->Info.PrinterName)) DefaultPrinter.reset();
  PrinterList.erase(PrinterList.begin() + (p - PrinterList.data()));
  return true;
}

// --- Drivers ---

bool FakeSpooler::AddPrinterDriverEx6(const TDriverInfo6& info, std::uint32_t) {
  if (info.Name.empty() || info.DriverPath.empty() || info.DataFile.empty() || info.ConfigFile.empty())
    return Fail(kErrorInvalidParameter);
  TDriverInfo6 d = info;
  if (d.Environment.empty()) d.Environment = Environment;
  for (auto& existing : Drivers)
    if (text::SameTextAscii(existing.Name, d.Name) && text::SameTextAscii(existing.Environment, d.Environment)) {
      existing = d;
      return true;
    }
  Drivers.push_back(d);
  return true;
}

bool FakeSpooler::GetPrinterDriver6(THandle h, const TString&, std::uint32_t cbBuf, TDriverInfo6& out,
                                    std::uint32_t& needed) {
  needed = 0;
  Printer* p = PrinterOf(h);
  if (!p) return Fail(kErrorInvalidHandle);
  const TDriverInfo6* d = FindDriver(p->Info.DriverName);
  if (!d) return Fail(kErrorUnknownPrinterDriver);
  return DeliverOne(*d, cbBuf, out, needed);
}

// --- Entry points looked up at run time ---

TEntryLookup FakeSpooler::LookupEntry(TSpoolerEntry entry) {
  if (!HasLibrary) return TEntryLookup::NoLibrary;
  return MissingEntries.count(entry) ? TEntryLookup::NoEntryPoint : TEntryLookup::Found;
}

bool FakeSpooler::GetDefaultPrinterA(std::string& name, std::uint32_t& cch) {
  if (LookupEntry(TSpoolerEntry::GetDefaultPrinterA) != TEntryLookup::Found) return Fail(kErrorProcNotFound);
  if (!DefaultPrinter) return Fail(kErrorFileNotFound);
  std::string ansi = Sys().WideToAnsi(*DefaultPrinter, nullptr);
  std::uint32_t size = static_cast<std::uint32_t>(ansi.size() + 1);
  if (cch < size) {
    cch = size;
    return Fail(kErrorInsufficientBuffer);
  }
  name = ansi;
  cch = size;
  return true;
}

bool FakeSpooler::SetDefaultPrinterA(const std::string& name) {
  if (LookupEntry(TSpoolerEntry::SetDefaultPrinterA) != TEntryLookup::Found) return Fail(kErrorProcNotFound);
  Printer* p = Find(Sys().AnsiToWide(name));
  if (!p) return Fail(kErrorInvalidPrinterName);
  DefaultPrinter = p->Info.PrinterName;
  return true;
}

bool FakeSpooler::DeletePrinterDriverExA(const std::optional<std::string>& server,
                                         const std::optional<std::string>& environment, const std::string& driver,
                                         std::uint32_t deleteFlag, std::uint32_t) {
  if (LookupEntry(TSpoolerEntry::DeletePrinterDriverExA) != TEntryLookup::Found) return Fail(kErrorProcNotFound);
  if (server && !server->empty()) return Fail(kErrorInvalidParameter);
  return RemoveDriver(Sys().AnsiToWide(driver), environment ? Sys().AnsiToWide(*environment) : Environment,
                      (deleteFlag & spool::kDpdDeleteUnusedFiles) != 0);
}

bool FakeSpooler::DeletePrinterDriverW(const TString& driverName) {
  return RemoveDriver(driverName, Environment, false);
}

bool FakeSpooler::RemoveDriver(const TString& name, const TString& env, bool deleteFiles) {
  if (DriverDeleteFailures > 0) {
    --DriverDeleteFailures;
    return Fail(kErrorAccessDenied);
  }
  auto it = std::find_if(Drivers.begin(), Drivers.end(), [&](const TDriverInfo6& d) {
    return text::SameTextAscii(d.Name, name) && text::SameTextAscii(d.Environment, env);
  });
  if (it == Drivers.end()) return Fail(kErrorUnknownPrinterDriver);
  if (DriverInUse(it->Name)) return Fail(kErrorPrinterDriverInUse);
  if (deleteFiles) {
    for (const TString* f : {&it->DriverPath, &it->DataFile, &it->ConfigFile, &it->HelpFile})
      if (!f->empty()) DeletedDriverFiles.push_back(*f);
    for (const auto& f : it->DependentFiles) DeletedDriverFiles.push_back(f);
  }
  Drivers.erase(it);
  return true;
}

bool FakeSpooler::XcvDataW(THandle h, const TString& dataName, const std::vector<std::uint8_t>& input, std::uint32_t,
                           std::vector<std::uint8_t>& output, std::uint32_t& needed, std::uint32_t& status) {
  if (LookupEntry(TSpoolerEntry::XcvDataW) != TEntryLookup::Found) return Fail(kErrorProcNotFound);
  OpenHandle* oh = Handle(h);
  if (!oh || !oh->Xcv) return Fail(kErrorInvalidHandle);
  output.clear();
  needed = 0;
  if ((oh->Access & spool::kServerAccessAdminister) == 0) {
    status = kErrorAccessDenied;
    return true;
  }
  if (dataName != u"AddPort") {
    status = kErrorInvalidParameter;
    return true;
  }
  TString port = FromUtf16Bytes(input);
  if (port.empty() || input.size() != (port.size() + 1) * 2) {
    status = kErrorInvalidParameter;
    return true;
  }
  if (std::any_of(Ports.begin(), Ports.end(),
                  [&](const TPortInfo2& p) { return text::SameTextAscii(p.PortName, port); })) {
    status = kErrorAlreadyExists;
    return true;
  }
  AddPort(port);
  status = 0;
  return true;
}
