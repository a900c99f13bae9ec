// An in-memory print spooler for the native tests: printers (local ones and
// connections), drivers with their files, ports, jobs, print processors, the
// default printer and the standard local port monitor. Buffer sizes follow the
// 32-bit layout of the wide-character structures; failures leave the spooler's
// real error codes in the fake system's last error.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>

#include "platform/ISpooler.h"

class FakeSpooler : public ISpooler {
 public:
  struct Printer {
    TPrinterInfo2 Info;
    bool Connection = false;  // a printer connection, not a local printer
    std::vector<TJobInfo1> Jobs;
  };

  FakeSpooler();

  // --- The machine's state (tests read and arrange it directly) ---
  std::vector<Printer> PrinterList;  // in enumeration order
  std::vector<TDriverInfo6> Drivers;
  std::vector<TPortInfo2> Ports;
  std::set<TString> PrintProcessors = {u"WinPrint"};
  std::optional<TString> DefaultPrinter;
  TString Environment = u"Windows NT x86";
  std::vector<TString> DeletedDriverFiles;
  // Private bytes a driver adds to the device modes it creates.
  std::uint16_t DriverExtraBytes = 16;

  // --- Faults ---
  bool HasLibrary = true;
  std::set<TSpoolerEntry> MissingEntries;
  bool EnumPrintersFails = false;
  std::set<TString> EnumJobsFailsFor;         // printers whose jobs cannot be enumerated
  std::set<TString> FullAccessDenied;         // printers that refuse PRINTER_ALL_ACCESS
  std::set<TString> ReadFailsFor;             // printers whose GetPrinterW fails (access denied)
  int DriverDeleteFailures = 0;               // the next driver deletions that fail (access denied)
  std::function<void(Printer&)> OnStatusSet;  // runs after a status change (a job arriving)

  // --- Observations ---
  std::vector<TPrinterDefaults> OpenDefaults;  // the defaults of every successful open
  int OpenHandles() const { return static_cast<int>(m_Handles.size()); }

  // --- Arranging ---
  TDriverInfo6& AddDriver(const TString& name, const TString& dataFile = u"");
  Printer& AddPrinter(const TString& name, const TString& driver, const TString& port = u"LPT1:");
  Printer& AddConnection(const TString& name, const TString& driver);
  void AddPort(const TString& name);
  void AddJobs(const TString& printer, int count);
  Printer* Find(const TString& name);  // a..z folded, as the spooler matches names
  const TDriverInfo6* FindDriver(const TString& name) const;
  // A device mode as a driver creates it: public part plus DriverExtraBytes.
  TDevModeBytes DriverDevMode(const TString& printerName) const;

  // --- ISpooler ---
  bool EnumPrinters2(std::uint32_t flags, std::uint32_t cbBuf, std::vector<TPrinterInfo2>& out,
                     std::uint32_t& needed) override;
  bool EnumPrinters4(std::uint32_t flags, std::uint32_t cbBuf, std::vector<TPrinterInfo4>& out,
                     std::uint32_t& needed) override;
  bool EnumPrinterDrivers6(const TString& environment, std::uint32_t cbBuf, std::vector<TDriverInfo6>& out,
                           std::uint32_t& needed) override;
  bool EnumPorts2(std::uint32_t cbBuf, std::vector<TPortInfo2>& out, std::uint32_t& needed) override;
  bool EnumJobs1(THandle printer, std::uint32_t firstJob, std::uint32_t noJobs, std::uint32_t cbBuf,
                 std::vector<TJobInfo1>& out, std::uint32_t& needed) override;
  bool OpenPrinter(const TString& name, THandle& printer, const TPrinterDefaults* defaults) override;
  bool ClosePrinter(THandle printer) override;
  bool GetPrinter2(THandle printer, std::uint32_t cbBuf, TPrinterInfo2& out, std::uint32_t& needed) override;
  bool GetPrinter4(THandle printer, std::uint32_t cbBuf, TPrinterInfo4& out, std::uint32_t& needed) override;
  bool GetPrinter5(THandle printer, std::uint32_t cbBuf, TPrinterInfo5& out, std::uint32_t& needed) override;
  bool SetPrinter2(THandle printer, const TPrinterInfo2& info, std::uint32_t command) override;
  bool SetPrinterStatus(THandle printer, std::uint32_t command, std::uint32_t status) override;
  THandle AddPrinter2(const TPrinterInfo2& info) override;
  bool DeletePrinter(THandle printer) override;
  bool AddPrinterDriverEx6(const TDriverInfo6& info, std::uint32_t copyFlags) override;
  bool GetPrinterDriver6(THandle printer, const TString& environment, std::uint32_t cbBuf, TDriverInfo6& out,
                         std::uint32_t& needed) override;
  TEntryLookup LookupEntry(TSpoolerEntry entry) override;
  bool GetDefaultPrinterA(std::string& name, std::uint32_t& cch) override;
  bool SetDefaultPrinterA(const std::string& name) override;
  bool DeletePrinterDriverW(const TString& driverName) override;
  bool DeletePrinterDriverExA(const std::optional<std::string>& server, const std::optional<std::string>& environment,
                              const std::string& driver, std::uint32_t deleteFlag, std::uint32_t versionFlag) override;
  bool XcvDataW(THandle xcv, const TString& dataName, const std::vector<std::uint8_t>& input, std::uint32_t cbOutput,
                std::vector<std::uint8_t>& output, std::uint32_t& needed, std::uint32_t& status) override;

  // Sizes of the 32-bit structures with their texts, as the spooler counts them.
  static std::uint32_t SizeOf(const TPrinterInfo2& p);
  static std::uint32_t SizeOf(const TPrinterInfo4& p);
  static std::uint32_t SizeOf(const TPrinterInfo5& p);
  static std::uint32_t SizeOf(const TDriverInfo6& d);
  static std::uint32_t SizeOf(const TPortInfo2& p);
  static std::uint32_t SizeOf(const TJobInfo1& j);

 private:
  struct OpenHandle {
    TString Printer;  // empty for the port monitor's transceiver
    bool Xcv = false;
    std::uint32_t Access = 0;
  };
  bool Fail(std::uint32_t error);
  OpenHandle* Handle(THandle h);
  Printer* PrinterOf(THandle h);
  bool Validate(const TPrinterInfo2& info, const Printer* self);
  bool DriverInUse(const TString& driver) const;
  bool RemoveDriver(const TString& name, const TString& environment, bool deleteFiles);

  std::map<THandle, OpenHandle> m_Handles;
  THandle m_NextHandle = 0x100;
  std::uint32_t m_NextJobId = 1;
};
