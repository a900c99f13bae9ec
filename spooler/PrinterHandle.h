// An open printer (or port-monitor transceiver) that is closed on every way out.
#pragma once

#include "platform/ISpooler.h"
#include "platform/ISystem.h"

class TPrinterHandle {
 public:
  TPrinterHandle() = default;
  TPrinterHandle(const TPrinterHandle&) = delete;
  TPrinterHandle& operator=(const TPrinterHandle&) = delete;
  ~TPrinterHandle() { Close(); }

  bool Open(const TString& name, const TPrinterDefaults* defaults = nullptr) {
    Close();
    THandle h = 0;
    if (!Spooler().OpenPrinter(name, h, defaults) || h == 0 || h == spool::kInvalidHandleValue) return false;
    m_H = h;
    return true;
  }
  // Closes without disturbing the thread's last error.
  void Close() {
    if (!m_H) return;
    std::uint32_t err = Sys().GetLastError();
    Spooler().ClosePrinter(m_H);
    Sys().SetLastError(err);
    m_H = 0;
  }
  THandle Get() const { return m_H; }
  // Closes a handle the spooler handed back from elsewhere (AddPrinterW).
  static void CloseRaw(THandle h) {
    TPrinterHandle p;
    p.m_H = h;
  }

 private:
  THandle m_H = 0;
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
