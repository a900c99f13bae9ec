// The print spooler (winspool.drv) at the level of the calls the installer
// makes. Records mirror the wide-character winspool structures of the same
// level; texts that the spooler leaves NULL read as empty, and a device mode
// is kept as the bytes the spooler holds (dmSize + dmDriverExtra), empty for none.
//
// Enumerations and reads take the size of the buffer the caller offers (cbBuf,
// in bytes, as the structures and their texts would occupy it). A buffer that is
// too small fails with ERROR_INSUFFICIENT_BUFFER and `needed` holds the size
// required; on success the entries are decoded into the out-parameter.
// Failures leave their code in the thread's last error (ISystem::GetLastError).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Port.h"

namespace spool {
constexpr std::uint32_t kPrinterEnumLocal = 0x2;
constexpr std::uint32_t kPrinterEnumConnections = 0x4;

constexpr std::uint32_t kAttrShared = 0x8;
constexpr std::uint32_t kAttrLocal = 0x40;
constexpr std::uint32_t kAttrWorkOffline = 0x400;
constexpr std::uint32_t kAttrRawOnly = 0x1000;

constexpr std::uint32_t kServerAccessAdminister = 0x1;
constexpr std::uint32_t kPrinterAccessUse = 0x8;
constexpr std::uint32_t kPrinterAllAccess = 0xF000C;
constexpr std::uint32_t kPrinterControlSetStatus = 4;
constexpr std::uint32_t kPrinterStatusOffline = 0x80;

constexpr std::uint32_t kDpdDeleteUnusedFiles = 0x1;
constexpr std::uint32_t kApdCopyNewFiles = 0x8;

// The value OpenPrinterW may hand back instead of a handle.
constexpr THandle kInvalidHandleValue = ~static_cast<THandle>(0);

// The public part of a wide-character device mode (DEVMODEW).
constexpr std::uint32_t kDevModeSize = 220;
}  // namespace spool

using TDevModeBytes = std::vector<std::uint8_t>;

struct TPrinterInfo2 {
  TString ServerName, PrinterName, ShareName, PortName, DriverName, Comment, Location;
  TDevModeBytes DevMode;
  TString SepFile, PrintProcessor, Datatype, Parameters;
  // pSecurityDescriptor is not carried: SetPrinterW and AddPrinterW pass none
  // (keep the queue's security, or the default one).
  std::uint32_t Attributes = 0, Priority = 0, DefaultPriority = 0, StartTime = 0, UntilTime = 0, Status = 0, cJobs = 0,
                AveragePPM = 0;
};

struct TPrinterInfo4 {
  TString PrinterName, ServerName;
  std::uint32_t Attributes = 0;
};

struct TPrinterInfo5 {
  TString PrinterName, PortName;
  std::uint32_t Attributes = 0, DeviceNotSelectedTimeout = 0, TransmissionRetryTimeout = 0;
};

struct TDriverInfo6 {
  std::uint32_t Version = 0;
  TString Name, Environment, DriverPath, DataFile, ConfigFile, HelpFile;
  TStringList DependentFiles;  // the multi-string as separate entries
  TString MonitorName, DefaultDataType;
  TStringList PreviousNames;
  std::uint64_t DriverDate = 0;     // FILETIME
  std::uint64_t DriverVersion = 0;  // DWORDLONG
  TString MfgName, OEMUrl, HardwareID, Provider;
};

struct TPortInfo2 {
  TString PortName, MonitorName, Description;
  std::uint32_t PortType = 0, Reserved = 0;
};

struct TJobInfo1 {
  std::uint32_t JobId = 0;
  TString PrinterName, MachineName, UserName, Document, Datatype, StatusText;
  std::uint32_t Status = 0, Priority = 0, Position = 0, TotalPages = 0, PagesPrinted = 0;
};

// PRINTER_DEFAULTSW.
struct TPrinterDefaults {
  std::optional<TString> Datatype;
  TDevModeBytes DevMode;  // empty = none
  std::uint32_t DesiredAccess = 0;
};

// Entry points that older spoolers lack; the adapter looks them up in
// "winspool.drv" at run time.
enum class TSpoolerEntry { GetDefaultPrinterA, SetDefaultPrinterA, DeletePrinterDriverExA, XcvDataW };
enum class TEntryLookup { NoLibrary, NoEntryPoint, Found };

class ISpooler {
 public:
  virtual ~ISpooler() = default;

  // EnumPrintersW(flags, no name, level 2 / level 4, ...).
  virtual bool EnumPrinters2(std::uint32_t flags, std::uint32_t cbBuf, std::vector<TPrinterInfo2>& out,
                             std::uint32_t& needed) = 0;
  virtual bool EnumPrinters4(std::uint32_t flags, std::uint32_t cbBuf, std::vector<TPrinterInfo4>& out,
                             std::uint32_t& needed) = 0;
  // EnumPrinterDriversW(no server, environment (empty = the caller's own), level 6, ...).
  virtual bool EnumPrinterDrivers6(const TString& environment, std::uint32_t cbBuf, std::vector<TDriverInfo6>& out,
                                   std::uint32_t& needed) = 0;
  // EnumPortsW(no server, level 2, ...).
  virtual bool EnumPorts2(std::uint32_t cbBuf, std::vector<TPortInfo2>& out, std::uint32_t& needed) = 0;
  // EnumJobsW(printer, firstJob, noJobs, level 1, ...).
  virtual bool EnumJobs1(THandle printer, std::uint32_t firstJob, std::uint32_t noJobs, std::uint32_t cbBuf,
                         std::vector<TJobInfo1>& out, std::uint32_t& needed) = 0;

  // OpenPrinterW; defaults null = no printer defaults. The name may also be a
  // port monitor's transceiver (",XcvMonitor Local Port").
  virtual bool OpenPrinter(const TString& name, THandle& printer, const TPrinterDefaults* defaults) = 0;
  virtual bool ClosePrinter(THandle printer) = 0;
  virtual bool GetPrinter2(THandle printer, std::uint32_t cbBuf, TPrinterInfo2& out, std::uint32_t& needed) = 0;
  virtual bool GetPrinter4(THandle printer, std::uint32_t cbBuf, TPrinterInfo4& out, std::uint32_t& needed) = 0;
  virtual bool GetPrinter5(THandle printer, std::uint32_t cbBuf, TPrinterInfo5& out, std::uint32_t& needed) = 0;
  // SetPrinterW(printer, level 2, info, command).
  virtual bool SetPrinter2(THandle printer, const TPrinterInfo2& info, std::uint32_t command) = 0;
  // SetPrinterW(printer, level 0, &status, command): the printer control
  // commands that take a status value.
  virtual bool SetPrinterStatus(THandle printer, std::uint32_t command, std::uint32_t status) = 0;
  // AddPrinterW(no server, level 2, info): a handle with full access, 0 on failure.
  virtual THandle AddPrinter2(const TPrinterInfo2& info) = 0;
  virtual bool DeletePrinter(THandle printer) = 0;

  // AddPrinterDriverExW(no server, level 6, info, copyFlags).
  virtual bool AddPrinterDriverEx6(const TDriverInfo6& info, std::uint32_t copyFlags) = 0;
  // GetPrinterDriverW(printer, environment (empty = the caller's own), level 6, ...).
  virtual bool GetPrinterDriver6(THandle printer, const TString& environment, std::uint32_t cbBuf, TDriverInfo6& out,
                                 std::uint32_t& needed) = 0;

  // Loads "winspool.drv" and looks the entry point up, then releases the library.
  virtual TEntryLookup LookupEntry(TSpoolerEntry entry) = 0;
  // The looked-up calls. Each fails with ERROR_MOD_NOT_FOUND or
  // ERROR_PROC_NOT_FOUND when its library or entry point is missing.
  // GetDefaultPrinterA: `cch` is the buffer size in bytes on entry; on return
  // the characters copied (with the zero) or, on ERROR_INSUFFICIENT_BUFFER, needed.
  virtual bool GetDefaultPrinterA(std::string& name, std::uint32_t& cch) = 0;
  virtual bool SetDefaultPrinterA(const std::string& name) = 0;
  // DeletePrinterDriverW(no server, the caller's environment, name).
  virtual bool DeletePrinterDriverW(const TString& driverName) = 0;
  virtual bool DeletePrinterDriverExA(const std::optional<std::string>& server,
                                      const std::optional<std::string>& environment, const std::string& driver,
                                      std::uint32_t deleteFlag, std::uint32_t versionFlag) = 0;
  // XcvDataW(xcv, dataName, input, cbOutput, ...): the monitor's own answer in status.
  virtual bool XcvDataW(THandle xcv, const TString& dataName, const std::vector<std::uint8_t>& input,
                        std::uint32_t cbOutput, std::vector<std::uint8_t>& output, std::uint32_t& needed,
                        std::uint32_t& status) = 0;
};

inline ISpooler& Spooler() { return PortSlot<ISpooler>::Get(); }
