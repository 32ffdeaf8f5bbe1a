#include "platform/install_dirs.h"

#include <gtest/gtest.h>

namespace zirka::platform {
namespace {

TEST(InstallConfigDir, AsGnuInstallDirsMakesItForThePrefix) {
  const struct {
    const char* programDir;
    const char* bindir;
    const char* sysconfdir;
    const char* expected;  // nullptr: no install
  } cases[] = {
      {"/usr/bin", "bin", "etc", "/etc"},
      {"/usr/local/bin", "bin", "etc", "/usr/local/etc"},
      {"/opt/fido/bin", "bin", "etc", "/etc/opt/fido"},
      {"/bin", "bin", "etc", "/etc"},
      {"/home/fido/.local/bin", "bin", "etc", "/home/fido/.local/etc"},
      {"/usr/local/sbin", "sbin", "conf", "/usr/local/conf"},
      {"/usr/bin", "bin", "/srv/etc", "/srv/etc"},
      {"/work/zirka/build/src", "bin", "etc", nullptr},
      {"/usr/xbin", "bin", "etc", nullptr},
      {"bin", "bin", "etc", nullptr},
  };
  for (const auto& c : cases) {
    const auto dir = InstallConfigDir(c.programDir, c.bindir, c.sysconfdir);
    EXPECT_EQ(dir.value_or("(none)"), c.expected ? c.expected : "(none)") << c.programDir;
  }
}

}  // namespace
}  // namespace zirka::platform
