#pragma once
// Where an installed program finds its configuration: the rule of CMake's
// GNUInstallDirs, applied to the directory the program was installed in.

#include <optional>
#include <string>
#include <string_view>

namespace zirka::platform {

// The configuration directory of the install that `programDir` (the program's
// own directory, without a trailing '/') belongs to, or nothing when it is not
// the `bindir` of an install (a build tree, a node's own directory). `bindir` and
// `sysconfdir` are the install's CMAKE_INSTALL_BINDIR and CMAKE_INSTALL_SYSCONFDIR:
//   /usr/bin, bin, etc        -> /etc          (the Debian package)
//   /usr/local/bin, bin, etc  -> /usr/local/etc (cmake --install)
//   /opt/fido/bin, bin, etc   -> /etc/opt/fido
//   any, bin, /srv/etc        -> /srv/etc      (an absolute sysconfdir as it is)
std::optional<std::string> InstallConfigDir(std::string_view programDir, std::string_view bindir,
                                            std::string_view sysconfdir);

// The control file of the install the running program (at `programPath`) belongs
// to: <configuration directory>/zirka/zirka.ctl. POSIX only: nothing on Windows,
// where ZIRKA.CTL beside the program is the only place.
std::optional<std::string> InstalledControlFile(const std::string& programPath);

}  // namespace zirka::platform
