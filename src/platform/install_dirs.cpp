#include "platform/install_dirs.h"

namespace zirka::platform {

std::optional<std::string> InstallConfigDir(std::string_view programDir, std::string_view bindir,
                                            std::string_view sysconfdir) {
  while (!bindir.empty() && bindir.back() == '/') bindir.remove_suffix(1);
  if (bindir.empty() || bindir.front() == '/' || programDir.size() <= bindir.size() ||
      programDir.substr(programDir.size() - bindir.size()) != bindir ||
      programDir[programDir.size() - bindir.size() - 1] != '/') {
    return std::nullopt;
  }
  if (!sysconfdir.empty() && sysconfdir.front() == '/') return std::string(sysconfdir);
  // The prefix, without its trailing '/': "" for a program in /bin.
  const std::string_view prefix = programDir.substr(0, programDir.size() - bindir.size() - 1);
  const std::string relative(sysconfdir);
  if (prefix.empty() || prefix == "/usr") return "/" + relative;
  if (prefix.substr(0, 5) == "/opt/") return "/" + relative + std::string(prefix);
  return std::string(prefix) + "/" + relative;
}

}  // namespace zirka::platform
