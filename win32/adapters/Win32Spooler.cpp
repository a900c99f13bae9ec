// The spooler port over winspool.drv: a pass-through that turns the records
// into the wide-character winspool structures and back.
#include "win32/adapters/Win32Spooler.h"

#include "win32/WinApi.h"

#include <winspool.h>

#include <cstddef>
#include <cstring>
#include <memory>

#include "platform/ISpooler.h"
#include "win32/SystemLibrary.h"
#include "win32/adapters/WinText.h"

namespace {

// --- Reading the spooler's structures ---

TString S(const wchar_t* p) { return T(p); }

TStringList MultiS(const wchar_t* p) {
  TStringList out;
  while (p && *p) {
    out.push_back(T(p));
    p += wcslen(p) + 1;
  }
  return out;
}

TDevModeBytes DevModeBytes(const DEVMODEW* d) {
  if (!d) return {};
  const auto* b = reinterpret_cast<const std::uint8_t*>(d);
  return TDevModeBytes(b, b + d->dmSize + d->dmDriverExtra);
}

TPrinterInfo2 From(const PRINTER_INFO_2W& p) {
  TPrinterInfo2 r;
  r.ServerName = S(p.pServerName);
  r.PrinterName = S(p.pPrinterName);
  r.ShareName = S(p.pShareName);
  r.PortName = S(p.pPortName);
  r.DriverName = S(p.pDriverName);
  r.Comment = S(p.pComment);
  r.Location = S(p.pLocation);
  r.DevMode = DevModeBytes(p.pDevMode);
  r.SepFile = S(p.pSepFile);
  r.PrintProcessor = S(p.pPrintProcessor);
  r.Datatype = S(p.pDatatype);
  r.Parameters = S(p.pParameters);
  r.Attributes = p.Attributes;
  r.Priority = p.Priority;
  r.DefaultPriority = p.DefaultPriority;
  r.StartTime = p.StartTime;
  r.UntilTime = p.UntilTime;
  r.Status = p.Status;
  r.cJobs = p.cJobs;
  r.AveragePPM = p.AveragePPM;
  return r;
}

TPrinterInfo4 From(const PRINTER_INFO_4W& p) { return {S(p.pPrinterName), S(p.pServerName), p.Attributes}; }

TPrinterInfo5 From(const PRINTER_INFO_5W& p) {
  return {S(p.pPrinterName), S(p.pPortName), p.Attributes, p.DeviceNotSelectedTimeout, p.TransmissionRetryTimeout};
}

TDriverInfo6 From(const DRIVER_INFO_6W& d) {
  TDriverInfo6 r;
  r.Version = d.cVersion;
  r.Name = S(d.pName);
  r.Environment = S(d.pEnvironment);
  r.DriverPath = S(d.pDriverPath);
  r.DataFile = S(d.pDataFile);
  r.ConfigFile = S(d.pConfigFile);
  r.HelpFile = S(d.pHelpFile);
  r.DependentFiles = MultiS(d.pDependentFiles);
  r.MonitorName = S(d.pMonitorName);
  r.DefaultDataType = S(d.pDefaultDataType);
  r.PreviousNames = MultiS(d.pszzPreviousNames);
  r.DriverDate = (static_cast<std::uint64_t>(d.ftDriverDate.dwHighDateTime) << 32) | d.ftDriverDate.dwLowDateTime;
  r.DriverVersion = d.dwlDriverVersion;
  r.MfgName = S(d.pszMfgName);
  r.OEMUrl = S(d.pszOEMUrl);
  r.HardwareID = S(d.pszHardwareID);
  r.Provider = S(d.pszProvider);
  return r;
}

TPortInfo2 From(const PORT_INFO_2W& p) {
  return {S(p.pPortName), S(p.pMonitorName), S(p.pDescription), p.fPortType, p.Reserved};
}

TJobInfo1 From(const JOB_INFO_1W& j) {
  TJobInfo1 r;
  r.JobId = j.JobId;
  r.PrinterName = S(j.pPrinterName);
  r.MachineName = S(j.pMachineName);
  r.UserName = S(j.pUserName);
  r.Document = S(j.pDocument);
  r.Datatype = S(j.pDatatype);
  r.StatusText = S(j.pStatus);
  r.Status = j.Status;
  r.Priority = j.Priority;
  r.Position = j.Position;
  r.TotalPages = j.TotalPages;
  r.PagesPrinted = j.PagesPrinted;
  return r;
}

// --- Handing records to the spooler ---

// Owns the texts and device mode of one outgoing structure.
class Outgoing {
 public:
  wchar_t* Str(const TString& s) { return const_cast<wchar_t*>(W(Keep(s))); }
  wchar_t* StrOrNull(const TString& s) { return s.empty() ? nullptr : Str(s); }
  wchar_t* Multi(const TStringList& l) {
    if (l.empty()) return nullptr;
    TString joined;
    for (const auto& s : l) joined += s + TString(1, u'\0');
    return Str(joined);  // the kept string adds the final zero
  }
  // A device mode must hold the bytes it announces; null for none.
  bool DevMode(const TDevModeBytes& b, DEVMODEW*& out) {
    out = nullptr;
    if (b.empty()) return true;
    if (b.size() < offsetof(DEVMODEW, dmFields)) return false;
    DEVMODEW head;
    std::memcpy(&head, b.data(), offsetof(DEVMODEW, dmFields));
    if (b.size() < std::size_t(head.dmSize) + head.dmDriverExtra) return false;
    m_DevMode.assign(b.begin(), b.end());
    out = reinterpret_cast<DEVMODEW*>(m_DevMode.data());
    return true;
  }

 private:
  const TString& Keep(const TString& s) {
    m_Texts.push_back(std::make_unique<TString>(s));
    return *m_Texts.back();
  }
  std::vector<std::unique_ptr<TString>> m_Texts;
  std::vector<std::uint8_t> m_DevMode;
};

bool ToPrinterInfo2(const TPrinterInfo2& r, Outgoing& o, PRINTER_INFO_2W& p) {
  p = PRINTER_INFO_2W{};
  if (!o.DevMode(r.DevMode, p.pDevMode)) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  p.pServerName = o.StrOrNull(r.ServerName);
  p.pPrinterName = o.Str(r.PrinterName);
  p.pShareName = o.Str(r.ShareName);
  p.pPortName = o.Str(r.PortName);
  p.pDriverName = o.Str(r.DriverName);
  p.pComment = o.Str(r.Comment);
  p.pLocation = o.Str(r.Location);
  p.pSepFile = o.Str(r.SepFile);
  p.pPrintProcessor = o.Str(r.PrintProcessor);
  p.pDatatype = o.Str(r.Datatype);
  p.pParameters = o.Str(r.Parameters);
  p.pSecurityDescriptor = nullptr;
  p.Attributes = r.Attributes;
  p.Priority = r.Priority;
  p.DefaultPriority = r.DefaultPriority;
  p.StartTime = r.StartTime;
  p.UntilTime = r.UntilTime;
  p.Status = r.Status;
  p.cJobs = r.cJobs;
  p.AveragePPM = r.AveragePPM;
  return true;
}

// Calls an enumeration into a buffer of cbBuf bytes and decodes its entries.
template <class Raw, class Rec, class Call>
bool Enumerate(std::uint32_t cbBuf, std::vector<Rec>& out, std::uint32_t& needed, Call call) {
  std::vector<std::uint64_t> buf((cbBuf + 7) / 8);  // 8-byte aligned
  DWORD need = 0, count = 0;
  BOOL ok = call(cbBuf ? reinterpret_cast<LPBYTE>(buf.data()) : nullptr, cbBuf, &need, &count);
  needed = need;
  if (!ok) return false;
  out.clear();
  const Raw* entries = reinterpret_cast<const Raw*>(buf.data());
  for (DWORD i = 0; i < count; ++i) out.push_back(From(entries[i]));
  return true;
}

// Calls a read of one structure into a buffer of cbBuf bytes and decodes it.
template <class Raw, class Rec, class Call>
bool ReadOne(std::uint32_t cbBuf, Rec& out, std::uint32_t& needed, Call call) {
  std::vector<std::uint64_t> buf((cbBuf + 7) / 8);
  DWORD need = 0;
  BOOL ok = call(cbBuf ? reinterpret_cast<LPBYTE>(buf.data()) : nullptr, cbBuf, &need);
  needed = need;
  if (!ok) return false;
  out = From(*reinterpret_cast<const Raw*>(buf.data()));
  return true;
}

const char* EntryName(TSpoolerEntry e) {
  switch (e) {
    case TSpoolerEntry::GetDefaultPrinterA:
      return "GetDefaultPrinterA";
    case TSpoolerEntry::SetDefaultPrinterA:
      return "SetDefaultPrinterA";
    case TSpoolerEntry::DeletePrinterDriverExA:
      return "DeletePrinterDriverExA";
    case TSpoolerEntry::XcvDataW:
      return "XcvDataW";
  }
  return "";
}

// winspool.drv from the system folder, loaded at the first spooler call and
// kept for the program's life. Its entries are looked up by name; a missing
// library or entry makes the call fail with the system's code for it.
struct Winspool {
  HMODULE Module = nullptr;
  decltype(&::EnumPrintersW) EnumPrintersW = nullptr;
  decltype(&::EnumPrinterDriversW) EnumPrinterDriversW = nullptr;
  decltype(&::EnumPortsW) EnumPortsW = nullptr;
  decltype(&::EnumJobsW) EnumJobsW = nullptr;
  decltype(&::OpenPrinterW) OpenPrinterW = nullptr;
  decltype(&::ClosePrinter) ClosePrinter = nullptr;
  decltype(&::GetPrinterW) GetPrinterW = nullptr;
  decltype(&::SetPrinterW) SetPrinterW = nullptr;
  decltype(&::AddPrinterW) AddPrinterW = nullptr;
  decltype(&::DeletePrinter) DeletePrinter = nullptr;
  decltype(&::AddPrinterDriverExW) AddPrinterDriverExW = nullptr;
  decltype(&::GetPrinterDriverW) GetPrinterDriverW = nullptr;
  decltype(&::DeletePrinterDriverW) DeletePrinterDriverW = nullptr;
};

const Winspool& Spool() {
  static const Winspool api = [] {
    Winspool a;
    a.Module = win::LoadSystemLibrary(L"winspool.drv");
#define DS_ENTRY(name) a.name = win::Proc<decltype(a.name)>(a.Module, #name)
    DS_ENTRY(EnumPrintersW);
    DS_ENTRY(EnumPrinterDriversW);
    DS_ENTRY(EnumPortsW);
    DS_ENTRY(EnumJobsW);
    DS_ENTRY(OpenPrinterW);
    DS_ENTRY(ClosePrinter);
    DS_ENTRY(GetPrinterW);
    DS_ENTRY(SetPrinterW);
    DS_ENTRY(AddPrinterW);
    DS_ENTRY(DeletePrinter);
    DS_ENTRY(AddPrinterDriverExW);
    DS_ENTRY(GetPrinterDriverW);
    DS_ENTRY(DeletePrinterDriverW);
#undef DS_ENTRY
    return a;
  }();
  return api;
}

// Calls a winspool entry; without it, fails as a failed call does.
template <class Fn, class... Args>
auto Call(Fn fn, Args... args) -> decltype(fn(args...)) {
  if (!fn) {
    ::SetLastError(Spool().Module ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
    return {};
  }
  return fn(args...);
}

using GetDefaultPrinterAFn = BOOL(WINAPI*)(LPSTR, LPDWORD);
using SetDefaultPrinterAFn = BOOL(WINAPI*)(LPCSTR);
using DeletePrinterDriverExAFn = BOOL(WINAPI*)(LPSTR, LPSTR, LPSTR, DWORD, DWORD);
using XcvDataWFn = BOOL(WINAPI*)(HANDLE, PCWSTR, PBYTE, DWORD, PBYTE, DWORD, PDWORD, PDWORD);

HANDLE PH(THandle h) { return reinterpret_cast<HANDLE>(h); }

class Win32Spooler : public ISpooler {
 public:
  bool EnumPrinters2(std::uint32_t flags, std::uint32_t cbBuf, std::vector<TPrinterInfo2>& out,
                     std::uint32_t& needed) override {
    return Enumerate<PRINTER_INFO_2W>(cbBuf, out, needed, [&](LPBYTE b, DWORD cb, LPDWORD n, LPDWORD c) {
      return Call(Spool().EnumPrintersW, flags, nullptr, 2, b, cb, n, c);
    });
  }
  bool EnumPrinters4(std::uint32_t flags, std::uint32_t cbBuf, std::vector<TPrinterInfo4>& out,
                     std::uint32_t& needed) override {
    return Enumerate<PRINTER_INFO_4W>(cbBuf, out, needed, [&](LPBYTE b, DWORD cb, LPDWORD n, LPDWORD c) {
      return Call(Spool().EnumPrintersW, flags, nullptr, 4, b, cb, n, c);
    });
  }
  bool EnumPrinterDrivers6(const TString& environment, std::uint32_t cbBuf, std::vector<TDriverInfo6>& out,
                           std::uint32_t& needed) override {
    Outgoing o;
    return Enumerate<DRIVER_INFO_6W>(cbBuf, out, needed, [&](LPBYTE b, DWORD cb, LPDWORD n, LPDWORD c) {
      return Call(Spool().EnumPrinterDriversW, nullptr, o.StrOrNull(environment), 6, b, cb, n, c);
    });
  }
  bool EnumPorts2(std::uint32_t cbBuf, std::vector<TPortInfo2>& out, std::uint32_t& needed) override {
    return Enumerate<PORT_INFO_2W>(cbBuf, out, needed, [&](LPBYTE b, DWORD cb, LPDWORD n, LPDWORD c) {
      return Call(Spool().EnumPortsW, nullptr, 2, b, cb, n, c);
    });
  }
  bool EnumJobs1(THandle printer, std::uint32_t firstJob, std::uint32_t noJobs, std::uint32_t cbBuf,
                 std::vector<TJobInfo1>& out, std::uint32_t& needed) override {
    return Enumerate<JOB_INFO_1W>(cbBuf, out, needed, [&](LPBYTE b, DWORD cb, LPDWORD n, LPDWORD c) {
      return Call(Spool().EnumJobsW, PH(printer), firstJob, noJobs, 1, b, cb, n, c);
    });
  }

  bool OpenPrinter(const TString& name, THandle& printer, const TPrinterDefaults* defaults) override {
    Outgoing o;
    PRINTER_DEFAULTSW pd{};
    if (defaults) {
      pd.pDatatype = defaults->Datatype ? o.Str(*defaults->Datatype) : nullptr;
      if (!o.DevMode(defaults->DevMode, pd.pDevMode)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
      }
      pd.DesiredAccess = defaults->DesiredAccess;
    }
    HANDLE h = nullptr;
    if (!Call(Spool().OpenPrinterW, o.Str(name), &h, defaults ? &pd : nullptr)) return false;
    printer = reinterpret_cast<THandle>(h);
    return true;
  }
  bool ClosePrinter(THandle printer) override { return Call(Spool().ClosePrinter, PH(printer)); }

  bool GetPrinter2(THandle printer, std::uint32_t cbBuf, TPrinterInfo2& out, std::uint32_t& needed) override {
    return ReadOne<PRINTER_INFO_2W>(cbBuf, out, needed, [&](LPBYTE b, DWORD cb, LPDWORD n) {
      return Call(Spool().GetPrinterW, PH(printer), 2, b, cb, n);
    });
  }
  bool GetPrinter4(THandle printer, std::uint32_t cbBuf, TPrinterInfo4& out, std::uint32_t& needed) override {
    return ReadOne<PRINTER_INFO_4W>(cbBuf, out, needed, [&](LPBYTE b, DWORD cb, LPDWORD n) {
      return Call(Spool().GetPrinterW, PH(printer), 4, b, cb, n);
    });
  }
  bool GetPrinter5(THandle printer, std::uint32_t cbBuf, TPrinterInfo5& out, std::uint32_t& needed) override {
    return ReadOne<PRINTER_INFO_5W>(cbBuf, out, needed, [&](LPBYTE b, DWORD cb, LPDWORD n) {
      return Call(Spool().GetPrinterW, PH(printer), 5, b, cb, n);
    });
  }
  bool SetPrinter2(THandle printer, const TPrinterInfo2& info, std::uint32_t command) override {
    Outgoing o;
    PRINTER_INFO_2W p;
    if (!ToPrinterInfo2(info, o, p)) return false;
    return Call(Spool().SetPrinterW, PH(printer), 2, reinterpret_cast<LPBYTE>(&p), command);
  }
  bool SetPrinterStatus(THandle printer, std::uint32_t command, std::uint32_t status) override {
    DWORD value = status;
    return Call(Spool().SetPrinterW, PH(printer), 0, reinterpret_cast<LPBYTE>(&value), command);
  }
  THandle AddPrinter2(const TPrinterInfo2& info) override {
    Outgoing o;
    PRINTER_INFO_2W p;
    if (!ToPrinterInfo2(info, o, p)) return 0;
    return reinterpret_cast<THandle>(Call(Spool().AddPrinterW, nullptr, 2, reinterpret_cast<LPBYTE>(&p)));
  }
  bool DeletePrinter(THandle printer) override { return Call(Spool().DeletePrinter, PH(printer)); }

  bool AddPrinterDriverEx6(const TDriverInfo6& info, std::uint32_t copyFlags) override {
    Outgoing o;
    DRIVER_INFO_6W d{};
    d.cVersion = info.Version;
    d.pName = o.Str(info.Name);
    d.pEnvironment = o.StrOrNull(info.Environment);
    d.pDriverPath = o.Str(info.DriverPath);
    d.pDataFile = o.Str(info.DataFile);
    d.pConfigFile = o.Str(info.ConfigFile);
    d.pHelpFile = o.StrOrNull(info.HelpFile);
    d.pDependentFiles = o.Multi(info.DependentFiles);
    d.pMonitorName = o.StrOrNull(info.MonitorName);
    d.pDefaultDataType = o.StrOrNull(info.DefaultDataType);
    d.pszzPreviousNames = o.Multi(info.PreviousNames);
    d.ftDriverDate.dwLowDateTime = static_cast<DWORD>(info.DriverDate);
    d.ftDriverDate.dwHighDateTime = static_cast<DWORD>(info.DriverDate >> 32);
    d.dwlDriverVersion = info.DriverVersion;
    d.pszMfgName = o.StrOrNull(info.MfgName);
    d.pszOEMUrl = o.StrOrNull(info.OEMUrl);
    d.pszHardwareID = o.StrOrNull(info.HardwareID);
    d.pszProvider = o.StrOrNull(info.Provider);
    return Call(Spool().AddPrinterDriverExW, nullptr, 6, reinterpret_cast<LPBYTE>(&d), copyFlags);
  }
  bool GetPrinterDriver6(THandle printer, const TString& environment, std::uint32_t cbBuf, TDriverInfo6& out,
                         std::uint32_t& needed) override {
    Outgoing o;
    return ReadOne<DRIVER_INFO_6W>(cbBuf, out, needed, [&](LPBYTE b, DWORD cb, LPDWORD n) {
      return Call(Spool().GetPrinterDriverW, PH(printer), o.StrOrNull(environment), 6, b, cb, n);
    });
  }

  TEntryLookup LookupEntry(TSpoolerEntry entry) override {
    win::SystemLibrary lib(L"winspool.drv");
    if (!lib.Get()) return TEntryLookup::NoLibrary;
    return win::Proc<void (*)()>(lib.Get(), EntryName(entry)) ? TEntryLookup::Found : TEntryLookup::NoEntryPoint;
  }

  bool GetDefaultPrinterA(std::string& name, std::uint32_t& cch) override {
    win::SystemLibrary lib(L"winspool.drv");
    auto fn = lib.Entry<GetDefaultPrinterAFn>(EntryName(TSpoolerEntry::GetDefaultPrinterA));
    if (!fn) return false;
    std::string buf(cch + 1, '\0');
    DWORD size = cch;
    BOOL ok = fn(buf.data(), &size);
    cch = size;
    if (ok) name = buf.c_str();
    return ok;
  }
  bool SetDefaultPrinterA(const std::string& name) override {
    win::SystemLibrary lib(L"winspool.drv");
    auto fn = lib.Entry<SetDefaultPrinterAFn>(EntryName(TSpoolerEntry::SetDefaultPrinterA));
    return fn && fn(name.c_str());
  }
  bool DeletePrinterDriverW(const TString& driverName) override {
    std::wstring name(driverName.begin(), driverName.end());
    return Call(Spool().DeletePrinterDriverW, nullptr, nullptr, name.data());
  }
  bool DeletePrinterDriverExA(const std::optional<std::string>& server, const std::optional<std::string>& environment,
                              const std::string& driver, std::uint32_t deleteFlag, std::uint32_t versionFlag) override {
    win::SystemLibrary lib(L"winspool.drv");
    auto fn = lib.Entry<DeletePrinterDriverExAFn>(EntryName(TSpoolerEntry::DeletePrinterDriverExA));
    if (!fn) return false;
    std::string s = server.value_or(""), env = environment.value_or(""), drv = driver;
    return fn(server ? s.data() : nullptr, environment ? env.data() : nullptr, drv.data(), deleteFlag, versionFlag);
  }
  bool XcvDataW(THandle xcv, const TString& dataName, const std::vector<std::uint8_t>& input, std::uint32_t cbOutput,
                std::vector<std::uint8_t>& output, std::uint32_t& needed, std::uint32_t& status) override {
    win::SystemLibrary lib(L"winspool.drv");
    auto fn = lib.Entry<XcvDataWFn>(EntryName(TSpoolerEntry::XcvDataW));
    if (!fn) return false;
    std::vector<std::uint8_t> in(input);
    output.assign(cbOutput, 0);
    DWORD need = 0, st = 0;
    BOOL ok = fn(PH(xcv), W(dataName), in.empty() ? nullptr : in.data(), static_cast<DWORD>(in.size()),
                 cbOutput ? output.data() : nullptr, cbOutput, &need, &st);
    needed = need;
    status = st;
    return ok;
  }
};

}  // namespace

void InstallWin32Spooler() {
  static Win32Spooler spooler;
  PortSlot<ISpooler>::Set(&spooler);
}
