// The uninstall records of the maker's drivers below the manufacturer's key.
#include "platform/IRegistry.h"
#include "removal/UnInstallFunc.h"
#include "sysutil/MyUtils.h"

namespace {

TString UninstallArea() {
  return IsWow64() ? u"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                   : u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
}

// The record may ask to keep the registered INF copies ("Leave OEM INF" = 0);
// a missing record or value, or one of another type, does not.
bool DeleteInfCopies(const TString& recordPath) {
  TRegKey record;
  std::uint32_t flag = 1;
  if (record.Open(recordPath) && !Reg().ReadNumber(record.Get(), u"Leave OEM INF", flag)) flag = 1;
  return flag != 0;
}

}  // namespace

bool DelRegUninstallInfo(const TString& driverName, const TString& manufacturer) {
  const TString base = UninstallArea();
  const TString manufacturerKey = manufacturer + u" Printer Utilities";
  const TString listPath = base + manufacturerKey + u"\\PrinterDrivers\\";

  if (DeleteInfCopies(listPath + driverName + u"\\")) LeaveOEMInf(driverName, kPrinterInfClass);

  TRegKey list;
  if (!list.Open(listPath)) return false;
  // An empty name would take the whole driver list with it.
  if (driverName.empty() || !Reg().DeleteTree(list.Get(), driverName)) return false;

  std::vector<TString> left;
  if (!list.Open(listPath) || !Reg().ListSubKeys(list.Get(), left) || !left.empty()) return true;
  list.Close();
  TRegKey area;
  return area.Open(base, true) && Reg().DeleteTree(area.Get(), manufacturerKey);
}
