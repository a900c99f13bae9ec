#include "install/InstallFunc.h"
#include "platform/ISpooler.h"
#include "platform/ISystem.h"
#include "spooler/PrinterHandle.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Trace.h"

namespace {

constexpr TStringView kAddLocalPrefix = u"ADDLOCAL:";
constexpr TStringView kStandardProcessor = u"WinPrint";

// The default printer is named to the spooler in the ANSI code page.
void MakeDefault(const TString& printerName) {
  std::string ansi;
  if (text::ExactAnsi(printerName, ansi)) SetDefaultPrinterName(ansi);
}

}  // namespace

bool ChangePrinterInfo(TChangePrinterInfo info) {
  if (info.bSetDefault) MakeDefault(info.OrgName);

  TPrinterHandle h;
  TPrinterInfo2 pi;
  if (!OpenPrinterForChange(info.OrgName, h, pi)) return false;

  if (!info.NewName.empty() && info.NewName != info.OrgName) pi.PrinterName = info.NewName;

  if (!info.ShareName.empty()) {
    pi.ShareName = info.ShareName;
    pi.Attributes |= spool::kAttrShared;
  } else {
    pi.Attributes &= ~spool::kAttrShared;
  }

  TString port = info.Port;
  if (text::StartsWithTextAscii(port, kAddLocalPrefix)) {
    port = port.substr(kAddLocalPrefix.size());
    if (!PortExists(port)) AddLocalPort(port);
  }
  if (PortExists(port)) pi.PortName = port;

  if (!info.Process.empty() && info.Process != kStandardProcessor) {
    pi.PrintProcessor = info.Process;
    pi.Attributes |= spool::kAttrRawOnly;
  } else {
    pi.PrintProcessor = kStandardProcessor;
    pi.Attributes &= ~spool::kAttrRawOnly;
  }

  Sys().SetLastError(0);
  const bool ok = Spooler().SetPrinter2(h.Get(), pi, 0);
  const std::uint32_t err = ok ? 0 : Sys().GetLastError();
  trace::Call(text::Format(u"Configure queue %s: port %s, processor %s, shared %s, default %d",
                           {info.OrgName, pi.PortName, pi.PrintProcessor, pi.ShareName, int(info.bSetDefault)}),
              err, err ? Sys().SysErrorMessage(err) : TString());
  Sys().SetLastError(err);
  return ok;
}
