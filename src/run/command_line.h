#pragma once
// Start-up: the banner, the command line and the main control file.

#include <string>
#include <vector>

#include "core/context.h"
#include "core/terminate.h"

namespace zirka {

// The banner lines and the window title, in the program's own words.
void ShowStartBanner();

// Examines the arguments after the program name from left to right: version,
// -f or /f, -d or /d, -t or /t or --check, -n or /n, -c= or /c=.
void ParseCommandLine(RunContext& ctx, const std::vector<std::string>& args);

// Finds the main control file and opens it: the -c= path, else ZIRKA.CTL beside
// the program, else (POSIX) zirka.ctl in the configuration directory of the
// install. Errorlevel 5, with the places tried named, when none can be opened.
[[nodiscard]] Outcome OpenMainControlFile(RunContext& ctx);

}  // namespace zirka
