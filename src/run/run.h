#pragma once
// The run from start-up to exit.

#include <string>
#include <vector>

#include "platform/console.h"

namespace zirka {

// One whole run: `args` are the arguments after the program name, `programPath`
// the program's own full path, `consoleUsable` false when the process has no
// standard output. Returns the errorlevel.
int RunZirka(platform::Screen& screen, const std::vector<std::string>& args,
             const std::string& programPath, bool consoleUsable);

}  // namespace zirka
