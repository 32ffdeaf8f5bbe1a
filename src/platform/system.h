#pragma once
// The clock, the environment and the program's own path.

#include <ctime>
#include <optional>
#include <string>

namespace zirka::platform {

// The calendar time in whole seconds.
std::time_t Now();

// Local time as asctime writes it: "Mon Dec  7 09:14:38 2026\n" (24 characters and LF).
std::string CalendarText(std::time_t when);

// The value of an environment variable, or nothing when it is not set.
std::optional<std::string> GetEnv(const char* name);

// The full path and name of the running program (GetModuleFileNameA on Windows,
// /proc/self/exe on Linux, else the real path of argv0).
std::string ProgramPath(const char* argv0);

}  // namespace zirka::platform
