// One owner for every handle: in portable code a library, a registry key, a
// printer, a process, a thread, a token, a locked file (the traits name the
// port call that closes it); in the adapters, as win::ScopedHandle, a handle
// of the API. The owner closes on every way out and never twice.
#pragma once

#include <utility>

#include "base/Types.h"

// What a port's handle is: a THandle, 0 for none. Traits of the API's own
// handle types say their type and their "no handle" values.
struct TPortHandleTraits {
  using Handle = THandle;
  static Handle Invalid() { return 0; }
  static bool IsValid(Handle h) { return h != 0; }
};

template <class Traits>
class TOwned {
 public:
  using Handle = typename Traits::Handle;

  TOwned() = default;
  explicit TOwned(Handle h) : m_H(h) {}
  TOwned(TOwned&& o) noexcept : m_H(o.Release()) {}
  TOwned& operator=(TOwned&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;
  ~TOwned() { Reset(); }

  Handle Get() const { return m_H; }
  bool Valid() const { return Traits::IsValid(m_H); }
  explicit operator bool() const { return Valid(); }
  // For out-parameters: closes what is held and hands the slot.
  Handle& Receive() {
    Reset();
    return m_H;
  }
  Handle Release() { return std::exchange(m_H, Traits::Invalid()); }
  void Reset(Handle h = Traits::Invalid()) {
    if (Traits::IsValid(m_H)) Traits::Close(m_H);
    m_H = h;
  }

 private:
  Handle m_H = Traits::Invalid();
};
