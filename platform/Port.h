// Every port is reached through one process-wide slot. The Windows program
// fills the slots with the Win32 adapters at start; tests fill them with fakes.
#pragma once

#include "base/Fatal.h"
#include "base/SystemCodes.h"
#include "base/Types.h"

template <class Port>
class PortSlot {
 public:
  static Port& Get() {
    if (!s_Port) FatalError(__PRETTY_FUNCTION__);  // names the port type
    return *s_Port;
  }
  // The port, or null while none is installed (for optional services).
  static Port* Peek() { return s_Port; }
  static Port* Set(Port* p) {
    Port* old = s_Port;
    s_Port = p;
    return old;
  }

 private:
  static inline Port* s_Port = nullptr;
};

// Installs a port for the lifetime of a scope and puts the previous one back.
template <class Port>
class ScopedPort {
 public:
  explicit ScopedPort(Port& p) : m_Old(PortSlot<Port>::Set(&p)) {}
  ~ScopedPort() { PortSlot<Port>::Set(m_Old); }
  ScopedPort(const ScopedPort&) = delete;
  ScopedPort& operator=(const ScopedPort&) = delete;

 private:
  Port* m_Old;
};
