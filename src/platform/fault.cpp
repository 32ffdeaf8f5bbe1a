// The fault seam of the test builds: counts every open, write, flush, close,
// rename and durable removal of the layer and fails the one chosen by
// ZIRKA_FAULT_AT (and, with ZIRKA_FAULT_PERSIST=1, every one after it). With
// ZIRKA_FAULT_KILL=1 the chosen one ends the process instead, as a kill would.
// The count goes to the file named by ZIRKA_FAULT_COUNT when the process exits,
// so a test learns the range to try.

#include "platform/fault.h"

#if defined(ZIRKA_FAULT_SEAM)

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace zirka::platform {

namespace {

// The counter lives only in the fault-injection build, for the whole process.
class FaultCounter {
 public:
  FaultCounter() {
    if (const char* at = std::getenv("ZIRKA_FAULT_AT")) {
      char* end = nullptr;
      const unsigned long long k = std::strtoull(at, &end, 10);
      if (end != at && *end == '\0') failAt_ = k;
    }
    if (const char* persist = std::getenv("ZIRKA_FAULT_PERSIST")) {
      persist_ = std::string(persist) == "1";
    }
    if (const char* kill = std::getenv("ZIRKA_FAULT_KILL")) kill_ = std::string(kill) == "1";
    if (const char* file = std::getenv("ZIRKA_FAULT_COUNT")) countFile_ = file;
  }
  ~FaultCounter() {
    if (countFile_.empty()) return;
    std::ofstream out(countFile_, std::ios::binary | std::ios::trunc);
    out << count_.load() << '\n';
  }
  FaultCounter(const FaultCounter&) = delete;
  FaultCounter& operator=(const FaultCounter&) = delete;

  // Operations of the list copies and of their replacements on a helper thread
  // may come at once: each takes its own number.
  bool Next() {
    const std::uint64_t count = ++count_;
    if (failAt_ == 0) return false;
    if (kill_ && count == failAt_) KillNow();
    return persist_ ? count >= failAt_ : count == failAt_;
  }

 private:
  // Ends the process as a kill does: no destructor, no buffer written out, the
  // files as the system has them.
  [[noreturn]] static void KillNow() {
#if defined(SIGKILL)
    std::raise(SIGKILL);
#endif
    std::_Exit(128 + 9);
  }

  std::uint64_t failAt_ = 0;
  bool persist_ = false;
  bool kill_ = false;
  std::atomic<std::uint64_t> count_ = 0;
  std::string countFile_;
};

// Built before main runs, so that the count is written even when no call was made.
FaultCounter counter;

}  // namespace

bool ShouldFail(FaultOp) { return counter.Next(); }

void AppendBeforeCheck(const std::string& hostPath) {
  static std::atomic<int> calls = 0;
  const char* when = std::getenv("ZIRKA_FAULT_APPEND");
  if (when == nullptr) return;
  const std::string mode(when);
  if (mode != "always" && (mode != "once" || calls++ > 0)) return;
  std::ofstream out(hostPath, std::ios::binary | std::ios::app);
  out << "ADDED.ZIP    [000] Appended by another program\r\n";
}

}  // namespace zirka::platform

#endif  // ZIRKA_FAULT_SEAM
