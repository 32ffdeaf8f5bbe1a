#include "run/run_lock.h"

#include <chrono>
#include <charconv>
#include <string>
#include <thread>

#include "core/messages.h"
#include "core/replacement.h"
#include "platform/files.h"
#include "platform/system.h"
#include "run/command_line.h"

namespace zirka {

namespace {

constexpr int kDefaultWaitSeconds = 60;
constexpr auto kPollInterval = std::chrono::milliseconds(100);

int WaitSeconds() {
  const std::optional<std::string> value = platform::GetEnv("ZIRKA_LOCK_WAIT");
  int seconds = kDefaultWaitSeconds;
  if (value) {
    const char* const end = value->data() + value->size();
    const auto [at, ec] = std::from_chars(value->data(), end, seconds);
    if (ec != std::errc() || at != end || seconds < 0) seconds = kDefaultWaitSeconds;
  }
  return seconds;
}

}  // namespace

Outcome TakeRunLock(RunContext& ctx, std::unique_ptr<platform::FileLock>& lock) {
  // Beside the file the control file is, so that runs reaching it through a
  // link and by its own name take turns.
  const std::string path = TemporaryName(platform::FinalPath(ctx.mainCtlPath), ".LCK");
  platform::OpenFailure why = platform::OpenFailure::Other;
  lock = platform::TakeFileLock(path, why);
  if (lock) return std::nullopt;
  if (why != platform::OpenFailure::Busy) {
    Debug(ctx, "?WARN-Cann't lock " + path + "\n");
    return std::nullopt;
  }
  ctx.mainCtl.reset();
  Print(ctx, "\xFE Waiting for another run of Zirka with " + ctx.mainCtlPath + "...");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(WaitSeconds());
  for (;;) {
    lock = platform::TakeFileLock(path, why);
    if (lock || why != platform::OpenFailure::Busy) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      Print(ctx, "gave up\n");
      Print(ctx, "!ERR-Another run of Zirka still holds " + path + ": nothing done\n");
      return 3;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  Print(ctx, "done\n");
  return OpenMainControlFile(ctx);
}

}  // namespace zirka
