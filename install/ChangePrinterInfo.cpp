#include "install/InstallFunc.h"
#include "platform/ISpooler.h"
#include "platform/ISystem.h"
#include "spooler/DevMode.h"
#include "spooler/PrinterHandle.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Trace.h"

namespace {

constexpr TStringView kAddLocalPrefix = u"ADDLOCAL:";
constexpr TStringView kStandardProcessor = u"WinPrint";

bool ReadPrinter2(THandle h, TPrinterInfo2& info) {
  return spool::ReadSized(
      [&](std::uint32_t cb, std::uint32_t& needed) { return Spooler().GetPrinter2(h, cb, info, needed); });
}

// The default printer is named to the spooler in the ANSI code page. A name
// that does not survive the conversion would name another printer (or none),
// so it is not tried.
void MakeDefault(const TString& printerName) {
  bool lossless = false;
  std::string ansi = text::ToAnsi(printerName, &lossless);
  if (lossless) SetDefaultPrinterName(ansi);
}

}  // namespace

bool ChangePrinterInfo(TChangePrinterInfo info) {
  if (info.bSetDefault) MakeDefault(info.OrgName);

  TDevModeBytes devMode;
  {
    TPrinterHandle h;
    if (!h.Open(info.OrgName)) return false;
    TPrinterInfo2 current;
    if (ReadPrinter2(h.Get(), current)) devMode = devmode::PublicPart(current.DevMode);
  }

  TPrinterDefaults defaults;
  defaults.Datatype = u"RAW";
  defaults.DevMode = devMode;
  defaults.DesiredAccess = spool::kPrinterAllAccess;
  TPrinterHandle h;
  if (!h.Open(info.OrgName, &defaults)) return false;
  TPrinterInfo2 pi;
  if (!ReadPrinter2(h.Get(), pi)) return false;

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
