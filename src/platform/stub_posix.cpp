// Placeholder until the POSIX layer is built.
#include "platform/console.h"
#include "platform/files.h"
#include "platform/system.h"

namespace zirka::platform {
std::unique_ptr<TextFile> OpenText(const std::string&, Mode, Share) { return nullptr; }
bool ReplaceFile(const std::string&, const std::string&) { return false; }
bool RemoveFile(const std::string&) { return false; }
std::string HostPath(const std::string& p) { return p; }
bool IsDirSeparator(char c) { return c == '\\' || c == '/'; }
bool StdoutUsable() { return true; }
std::unique_ptr<Screen> MakeConsoleScreen() { return std::make_unique<CaptureScreen>(); }
void ShowBanner(const std::string&, const std::vector<BannerLine>&) {}
void RestoreConsole() {}
std::time_t Now() { return 0; }
std::string CalendarText(std::time_t) { return "Thu Jan  1 00:00:00 1970\n"; }
std::optional<std::string> GetEnv(const char*) { return std::nullopt; }
std::string ProgramPath(const char* a) { return a; }
}  // namespace zirka::platform
