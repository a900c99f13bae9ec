// An open printer (or port-monitor transceiver) that is closed on every way out.
#pragma once

#include "platform/ISpooler.h"
#include "platform/ISystem.h"
#include "platform/Owned.h"

struct PrinterTraits : TPortHandleTraits {
  // Closes without disturbing the thread's last error.
  static void Close(THandle h) {
    std::uint32_t err = Sys().GetLastError();
    Spooler().ClosePrinter(h);
    Sys().SetLastError(err);
  }
};

class TPrinterHandle : public TOwned<PrinterTraits> {
 public:
  TPrinterHandle() = default;
  // Takes a handle the spooler handed back from elsewhere (AddPrinterW).
  explicit TPrinterHandle(THandle h) : TOwned(h) {}

  bool Open(const TString& name, const TPrinterDefaults* defaults = nullptr) {
    THandle h = 0;
    Reset();
    if (!Spooler().OpenPrinter(name, h, defaults) || h == 0 || h == spool::kInvalidHandleValue) return false;
    Reset(h);
    return true;
  }
  void Close() { Reset(); }
};

namespace spool {
// Runs a sized spooler read: first with no buffer to learn the size, then with
// the size asked for, again while the answer keeps growing.
template <class Call>
bool ReadSized(Call call) {
  std::uint32_t needed = 0;
  if (call(0u, needed)) return true;
  for (int attempt = 0; attempt < 8; ++attempt) {
    if (Sys().GetLastError() != kErrorInsufficientBuffer || needed == 0) return false;
    std::uint32_t size = needed;
    if (call(size, needed)) return true;
  }
  return false;
}
}  // namespace spool

namespace spool {
// The printer's level-2 record, sized by the spooler.
inline bool ReadPrinter2(THandle printer, TPrinterInfo2& info) {
  return ReadSized(
      [&](std::uint32_t cb, std::uint32_t& needed) { return Spooler().GetPrinter2(printer, cb, info, needed); });
}
}  // namespace spool

// Opens a printer for a change of its level-2 record: read once to learn its
// device mode, opened again with full access, RAW and the public part of that
// device mode (the spooler otherwise drops the driver's settings), and read
// again. The caller edits `info` and hands it to SetPrinter2 on `printer`.
bool OpenPrinterForChange(const TString& name, TPrinterHandle& printer, TPrinterInfo2& info);
