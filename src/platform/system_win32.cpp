// The clock, the environment and the program's own path on Windows.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "platform/calendar.h"
#include "platform/install_dirs.h"
#include "platform/system.h"

namespace zirka::platform {

std::time_t Now() { return std::time(nullptr); }

std::string CalendarText(std::time_t when) {
  // One thread only, so the shared result of localtime is safe here.
  const std::tm* local = std::localtime(&when);
  if (local == nullptr) local = std::gmtime(&when);
  std::tm tm{};
  if (local != nullptr) {
    tm = *local;
  } else {
    tm.tm_mday = 1;
    tm.tm_wday = 4;
    tm.tm_year = 70;  // the epoch, rather than a text of another length
  }
  return AsctimeText(tm);
}

std::string ProgramPath(const char* argv0) {
  // The buffer grows until the whole path fits (a cut path fills it completely).
  for (DWORD size = MAX_PATH; size <= 32768 * 2; size *= 2) {
    std::vector<char> buffer(size);
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), size);
    if (n == 0) break;
    if (n < size) return std::string(buffer.data(), n);
  }
  return argv0 != nullptr ? argv0 : "";
}

// ZIRKA.CTL beside the program is the only place on Windows.
std::optional<std::string> InstalledControlFile(const std::string&) { return std::nullopt; }

}  // namespace zirka::platform
