// Background threads that nobody waits for.
#pragma once

#include <functional>

#include "platform/Port.h"

class IThreads {
 public:
  virtual ~IThreads() = default;
  // Starts `work` on a new thread that frees itself when done; nobody joins it.
  virtual bool StartDetached(std::function<void()> work) = 0;
};

inline IThreads& Threads() { return PortSlot<IThreads>::Get(); }
