// zirka: raises the download counters in FILES.BBS lists from T-Mail's logs.

#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/system.h"
#include "run/run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const bool consoleUsable = zirka::platform::StdoutUsable();
  auto screen = zirka::platform::MakeConsoleScreen();
  const int errorlevel = zirka::RunZirka(*screen, args,
                                         zirka::platform::ProgramPath(argc > 0 ? argv[0] : ""),
                                         consoleUsable);
  zirka::platform::RestoreConsole();
  return errorlevel;
}
