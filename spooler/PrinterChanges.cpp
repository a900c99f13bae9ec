#include "platform/ISystem.h"
#include "spooler/DevMode.h"
#include "spooler/PrinterHandle.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Exception.h"
#include "sysutil/UiTexts.h"

namespace {

constexpr size_t kMaxLocalPortChars = 255;  // the monitor's 512-byte name buffer

bool EntryFound(TSpoolerEntry e) { return Spooler().LookupEntry(e) == TEntryLookup::Found; }

TDevMode LptDevMode(const TString& printerName) {
  TDevMode dm;
  dm.DeviceName = printerName.substr(0, 31);
  dm.SpecVersion = 0x0401;
  dm.DriverVersion = 0x0100;
  dm.Size = spool::kDevModeSize;
  dm.DriverExtra = 0;
  dm.Fields = 0x0581CF43;
  dm.Orientation = 1;     // DMORIENT_PORTRAIT
  dm.PaperSize = 9;       // DMPAPER_A4
  dm.PaperLength = 2970;  // tenths of a millimetre
  dm.PaperWidth = 2100;
  dm.Scale = 100;
  dm.Copies = 1;
  dm.DefaultSource = 15;  // DMBIN_FORMSOURCE
  dm.PrintQuality = 180;
  dm.Color = 1;   // DMCOLOR_MONOCHROME
  dm.Duplex = 1;  // DMDUP_SIMPLEX
  dm.YResolution = 180;
  dm.TTOption = 2;  // DMTT_DOWNLOAD
  dm.Collate = 1;   // DMCOLLATE_TRUE
  dm.FormName = u"A4";
  dm.Nup = 1;        // DMNUP_SYSTEM
  dm.ICMMethod = 1;  // DMICMMETHOD_NONE
  dm.ICMIntent = 2;  // DMICM_CONTRAST
  dm.MediaType = 1;  // DMMEDIA_STANDARD
  dm.DitherType = 0xFFFFFFFF;
  return dm;
}

}  // namespace

bool SetDefaultPrinterName(const std::string& ansiName) {
  if (!EntryFound(TSpoolerEntry::SetDefaultPrinterA)) return false;
  return Spooler().SetDefaultPrinterA(ansiName);
}

bool DynDeletePrinterDriverEx(const std::optional<std::string>& server, const std::optional<std::string>& environment,
                              const std::string& driverName, std::uint32_t deleteFlag, std::uint32_t versionFlag) {
  if (!EntryFound(TSpoolerEntry::DeletePrinterDriverExA)) return false;
  return Spooler().DeletePrinterDriverExA(server, environment, driverName, deleteFlag, versionFlag);
}

bool AddLocalPort(const TString& portName) {
  ISpooler& spl = Spooler();
  switch (spl.LookupEntry(TSpoolerEntry::XcvDataW)) {
    case TEntryLookup::NoLibrary:
      return false;
    case TEntryLookup::NoEntryPoint:
      throw Exception(SystemUiText(TUiText::XcvDataMissing));
    case TEntryLookup::Found:
      break;
  }
  // A longer name does not fit the monitor's buffer; it is refused, not cut.
  if (portName.size() > kMaxLocalPortChars) {
    Sys().SetLastError(kErrorInvalidParameter);
    return false;
  }
  TPrinterDefaults defaults;
  defaults.DesiredAccess = spool::kServerAccessAdminister;
  TPrinterHandle xcv;
  if (!xcv.Open(u",XcvMonitor Local Port", &defaults)) return false;

  std::vector<std::uint8_t> input;
  for (char16_t c : portName) {
    input.push_back(static_cast<std::uint8_t>(c & 0xFF));
    input.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  input.push_back(0);
  input.push_back(0);
  std::vector<std::uint8_t> output;
  std::uint32_t needed = 0, status = 0;
  Sys().SetLastError(0);
  bool ok = spl.XcvDataW(xcv.Get(), u"AddPort", input, 0, output, needed, status);
  xcv.Close();  // before the status becomes the last error
  if (ok) Sys().SetLastError(status);
  return ok;
}

bool OpenPrinterForChange(const TString& name, TPrinterHandle& printer, TPrinterInfo2& info) {
  TDevModeBytes devMode;
  if (!printer.Open(name)) return false;
  if (spool::ReadPrinter2(printer.Get(), info)) devMode = devmode::PublicPart(info.DevMode);
  printer.Close();

  TPrinterDefaults defaults;
  defaults.Datatype = u"RAW";
  defaults.DevMode = devMode;
  defaults.DesiredAccess = spool::kPrinterAllAccess;
  info = {};
  return printer.Open(name, &defaults) && spool::ReadPrinter2(printer.Get(), info);
}

bool SetPrinterPort(const TString& printerName, const TString& portName) {
  if (portName.empty()) return false;
  TPrinterHandle h;
  TPrinterInfo2 info;
  if (!OpenPrinterForChange(printerName, h, info)) return false;
  info.PortName = portName;
  return Spooler().SetPrinter2(h.Get(), info, 0);
}

TPrinterInfo2 LptPrinterDescription(const TString& driverName, const TString& printerName) {
  TPrinterInfo2 pi;
  pi.PrinterName = printerName;
  pi.PortName = u"LPT1:";
  pi.DriverName = driverName;
  pi.DevMode = LptDevMode(printerName).Encode();
  pi.PrintProcessor = u"WinPrint";
  pi.Datatype = u"RAW";
  pi.Attributes = spool::kAttrLocal;
  pi.Priority = 1;
  return pi;
}

bool AddLptPrinter(const TString& driverName, const TString& printerName) {
  if (driverName.empty() || printerName.empty()) return false;
  TPrinterHandle added(Spooler().AddPrinter2(LptPrinterDescription(driverName, printerName)));
  return added.Get() != 0;
}
