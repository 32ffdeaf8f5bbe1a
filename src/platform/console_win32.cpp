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
  explicit StdoutScreen(bool console) : console_(console) {}
  ~StdoutScreen() override { std::fflush(stdout); }

  // On a console each piece is flushed at once, so that progress shown with
  // backspaces appears as it happens. Into a file or a pipe the same bytes are
  // flushed at every line end (and whenever the stdio buffer fills).
  void Write(std::string_view oemText) override {
    std::fwrite(oemText.data(), 1, oemText.size(), stdout);
    if (console_ || oemText.find('\n') != std::string_view::npos) std::fflush(stdout);
  }

 private:
  bool console_;
};

}  // namespace

bool StdoutUsable() { return GetStdHandle(STD_OUTPUT_HANDLE) != INVALID_HANDLE_VALUE; }

std::unique_ptr<Screen> MakeConsoleScreen() {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  return std::make_unique<StdoutScreen>(out != INVALID_HANDLE_VALUE && out != nullptr &&
                                        GetFileType(out) == FILE_TYPE_CHAR);
}

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
