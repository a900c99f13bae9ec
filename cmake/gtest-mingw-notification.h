// Forced into every GoogleTest translation unit of the MinGW builds: the
// win32-thread toolchain has no std::mutex or std::condition_variable, which
// GoogleTest's own Notification needs. This one is used only by GoogleTest's
// self-tests of threads; the Wine test programs never wait on it.
#pragma once

#include <atomic>

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing

#define GTEST_HAS_NOTIFICATION_ 1
