// Removing a model altogether: its queues, its driver, the driver's uninstall
// record and the registered copies of its INF.
#include <algorithm>

#include "removal/UnInstallFunc.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Trace.h"

std::uint32_t UninstallModel(const TString& modelName, const TString& manufacturer, const TString& infPath,
                             const TString& uninstaller) {
  // A connection to another computer that uses the driver keeps it.
  const std::vector<TPrinterInfo2> connections = PrinterConnections();
  const bool driverInUse = std::any_of(connections.begin(), connections.end(),
                                       [&](const TPrinterInfo2& c) { return c.DriverName == modelName; });
  std::uint32_t result = kDeleteDone;
  for (const TString& queue : QueuesOfDriver(modelName)) {
    // The driver goes once its last queue is gone, below.
    bool deleteDriver = false;
    const std::uint32_t code = DeletePrinterAndDriver(manufacturer, queue, deleteDriver);
    trace::Fmt(u"Removal of the queue \"%s\": %u", {queue, code});
    if (code != kDeleteDone) return code;
  }
  if (!driverInUse && PrinterDriverExists(modelName) && UIDeletePrinterDriver(modelName, manufacturer) != modelName &&
      !DelSpecPrnDrv(modelName, manufacturer)) {
    result = !uninstaller.empty() && ScheduleUninstaller(uninstaller, modelName) ? kDeleteDriverRemained
                                                                                 : kDeleteDriverNotScheduled;
  }
  if (!manufacturer.empty()) DelRegUninstallInfo(modelName, manufacturer);
  trace::Fmt(u"Registered copies of %s deleted: %d", {infPath, DeleteRegisteredCopies(infPath)});
  return result;
}
