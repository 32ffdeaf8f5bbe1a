// The screen on Windows: the banner through the Win32 console calls, all later
// text through standard output in text mode.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>

#include "platform/console.h"

namespace zirka::platform {

namespace {

class StdoutScreen : public Screen {
 public:
  // Flushed at once, so that progress shown with backspaces appears as it happens.
  void Write(std::string_view oemText) override {
    std::fwrite(oemText.data(), 1, oemText.size(), stdout);
    std::fflush(stdout);
  }
};

}  // namespace

bool StdoutUsable() { return GetStdHandle(STD_OUTPUT_HANDLE) != INVALID_HANDLE_VALUE; }

std::unique_ptr<Screen> MakeConsoleScreen() { return std::make_unique<StdoutScreen>(); }

void ShowBanner(const std::string& title, const std::vector<BannerLine>& lines) {
  // The results are ignored: when standard output is redirected these calls
  // fail and the banner simply does not appear.
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  SetConsoleTitleA(title.c_str());
  if (!lines.empty()) SetConsoleTextAttribute(out, static_cast<WORD>(lines.front().attribute));
  DWORD done = 0;
  const COORD topLeft = {0, 0};
  FillConsoleOutputCharacterA(out, ' ', 2000, topLeft, &done);
  SetConsoleCursorPosition(out, topLeft);
  for (const BannerLine& line : lines) {
    SetConsoleTextAttribute(out, static_cast<WORD>(line.attribute));
    WriteConsoleA(out, line.text.data(), static_cast<DWORD>(line.text.size()), &done, nullptr);
  }
}

// The console keeps the banner's last colour, as it always has.
void RestoreConsole() {}

}  // namespace zirka::platform
