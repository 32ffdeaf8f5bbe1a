// The clock, the environment and the program's own path on POSIX.

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/calendar.h"
#include "platform/install_dirs.h"
#include "platform/system.h"

namespace zirka::platform {

std::time_t Now() { return std::time(nullptr); }

std::string CalendarText(std::time_t when) {
  std::tm tm{};
  if (::localtime_r(&when, &tm) == nullptr && ::gmtime_r(&when, &tm) == nullptr) {
    tm = std::tm{};
    tm.tm_mday = 1;
    tm.tm_wday = 4;
    tm.tm_year = 70;  // the epoch, rather than a text of another length
  }
  return AsctimeText(tm);
}

std::string ProgramPath(const char* argv0) {
  // /proc/self/exe holds the path of the running binary (Linux); its length is
  // not known beforehand, so the buffer grows until the whole path fits.
  for (std::size_t size = 256; size <= (1u << 20); size *= 2) {
    std::vector<char> buffer(size);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) break;
    if (static_cast<std::size_t>(n) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(n));
    }
  }
  if (argv0 != nullptr && *argv0 != '\0') {
    if (char* resolved = ::realpath(argv0, nullptr)) {
      std::string path(resolved);
      std::free(resolved);
      return path;
    }
    return argv0;
  }
  return {};
}

std::optional<std::string> InstalledControlFile(const std::string& programPath) {
  const std::size_t slash = programPath.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  const auto dir = InstallConfigDir(std::string_view(programPath).substr(0, slash),
                                    ZIRKA_INSTALL_BINDIR, ZIRKA_INSTALL_SYSCONFDIR);
  if (!dir) return std::nullopt;
  return *dir + "/zirka/zirka.ctl";
}

}  // namespace zirka::platform
