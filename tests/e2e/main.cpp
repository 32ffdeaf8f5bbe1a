// The end-to-end test binary. Besides gtest's own flags it takes
//   --program=PATH --launcher=COMMAND --wineprefix=DIR
// which stand in for ZIRKA_E2E_PROGRAM, ZIRKA_E2E_LAUNCHER and ZIRKA_E2E_WINEPREFIX
// (CTest passes them this way for the Wine cases).

#include <gtest/gtest.h>

#include <string_view>

#include "e2e/harness.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const std::size_t eq = arg.find('=');
    if (arg.rfind("--", 0) != 0 || eq == std::string_view::npos) continue;
    zirka::e2e::SetOption(std::string(arg.substr(2, eq - 2)), std::string(arg.substr(eq + 1)));
  }
  return RUN_ALL_TESTS();
}
