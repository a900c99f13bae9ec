// Finding the queues of an outdated driver of a model and removing them.
#include <algorithm>

#include "platform/IFileSystem.h"
#include "platform/ISpooler.h"
#include "platform/ISystem.h"
#include "removal/UnInstallFunc.h"
#include "spooler/PrinterHandle.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Convert.h"
#include "sysutil/Exception.h"
#include "sysutil/Paths.h"
#include "sysutil/ProfileFile.h"

namespace {

// A driver data file's version line: the key, one blank and the opening quote.
constexpr TStringView kGpdVersionTag = u"*GPDFileVersion: \"";
// How much of the line after the tag may hold the version and its closing quote.
constexpr size_t kGpdVersionWindow = 10;

bool ReadDriver(const TString& printerName, TDriverInfo6& driver) {
  TPrinterHandle printer;
  if (!printer.Open(printerName)) return false;
  return spool::ReadSized([&](std::uint32_t cb, std::uint32_t& needed) {
    return Spooler().GetPrinterDriver6(printer.Get(), u"", cb, driver, needed);
  });
}

// The version of the last version line of the data file; false when the data
// file cannot be read (a damaged install).
bool ReadGpdVersion(const TString& dataFile, TString& version) {
  std::string bytes;
  if (!Fs().ReadFile(dataFile, bytes)) return false;
  size_t line = 0;
  TString found = GpdFileVersion(DecodeTextFile(bytes), line);
  if (line) version = found;
  return true;
}

}  // namespace

TString GpdFileVersion(TStringView content, size_t& line) {
  TString version;
  line = 0;
  TStringView rest = content;
  for (size_t n = 1; !rest.empty(); ++n) {
    size_t end = rest.find_first_of(u"\r\n");
    TStringView text = rest.substr(0, end);
    if (text.starts_with(kGpdVersionTag)) {
      TStringView window = text.substr(kGpdVersionTag.size(), kGpdVersionWindow);
      size_t quote = window.find(u'"');
      version = quote == TStringView::npos ? TString() : TString(window.substr(0, quote));
      line = n;
    }
    if (end == TStringView::npos) break;
    rest.remove_prefix(end + (rest.substr(end, 2) == u"\r\n" ? 2 : 1));
  }
  return version;
}

bool VersionOlder(const TString& installed, const TString& required) {
  TStringList have = SplitDelimited(installed, u'.');
  TStringList want = SplitDelimited(required, u'.');
  size_t n = std::min(have.size(), want.size());
  for (size_t i = 0; i < n; ++i) {
    std::int32_t h = StrToInt(have[i]), w = StrToInt(want[i]);
    if (h != w) return h < w;
  }
  return false;
}

bool GetInstalledGPDVersion(const TString& modelName, TStringList& printerList, TString& version) {
  printerList.clear();
  version.clear();
  bool readable = true;
  const TStringList names = Printers();
  // A connection is a queue of another computer: neither detected nor removed here.
  const std::vector<TPrinterInfo2> connections = PrinterConnections();
  for (const TString& name : names) {
    if (std::any_of(connections.begin(), connections.end(),
                    [&](const TPrinterInfo2& c) { return c.PrinterName == name; }))
      continue;
    // A queue that does not open, or whose driver cannot be read, is skipped.
    TDriverInfo6 driver;
    if (!ReadDriver(name, driver) || driver.Name != modelName) continue;
    printerList.push_back(name);
    if (!ReadGpdVersion(driver.DataFile, version)) readable = false;
  }
  return readable;
}

bool NeedUninstallOldDriver(const TString& modelName, const TString& requiredVersion, TStringList& printerList) {
  TString installed;
  // A driver whose data file cannot be read is damaged: it counts as outdated,
  // so that the package that repairs it can replace it.
  if (!GetInstalledGPDVersion(modelName, printerList, installed)) return true;
  return VersionOlder(installed, requiredVersion);
}

bool UninstallOldDriver(const TString& modelName, const TString& requiredVersion, const TString& manufacturer,
                        std::uint32_t& resultCode, const TString& uninstaller, const TString& programDir) {
  if (requiredVersion.empty()) return true;
  TStringList printers;
  if (!NeedUninstallOldDriver(modelName, requiredVersion, printers)) return true;
  // The uninstaller runs elevated at the next start: only a program of the
  // package itself is scheduled.
  TString scheduled = paths::IsBelow(uninstaller, programDir) ? uninstaller : TString();
  // A connection that uses the driver keeps it: only this machine's queues go,
  // and the new driver replaces the old one's files.
  const std::vector<TPrinterInfo2> connections = PrinterConnections();
  const bool driverInUse = std::any_of(connections.begin(), connections.end(),
                                       [&](const TPrinterInfo2& c) { return c.DriverName == modelName; });
  for (const TString& printer : printers) {
    bool deleteDriver = !driverInUse;
    resultCode = DeletePrinterAndDriver(manufacturer, printer, deleteDriver, scheduled);
    if (resultCode != kDeleteDone) return false;
  }
  return true;
}

TStringList QueuesOfDriver(const TString& modelName) {
  TStringList queues;
  TString version;
  GetInstalledGPDVersion(modelName, queues, version);
  return queues;
}
