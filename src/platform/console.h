#pragma once
// The screen: the console banner and every later line of output.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zirka::platform {

// Where screen text goes. The program writes OEM (CP866) bytes; the console
// implementation translates them to UTF-8 when the locale uses it (POSIX).
class Screen {
 public:
  virtual ~Screen() = default;
  virtual void Write(std::string_view oemText) = 0;
};

struct BannerLine {
  int attribute;     // console attribute: 0x0E yellow, 0x0B light cyan, 0x0F bright white
  std::string text;  // OEM bytes
};

// False when the process has no usable standard output (errorlevel 7).
bool StdoutUsable();

// The standard output of the process as a Screen.
std::unique_ptr<Screen> MakeConsoleScreen();

// Sets the window title, clears the first 2000 cells, homes the cursor and writes
// the coloured lines. On POSIX only when standard output is a terminal.
void ShowBanner(const std::string& title, const std::vector<BannerLine>& lines);

// Puts the terminal's colours back as they were before the banner (POSIX terminal).
void RestoreConsole();

}  // namespace zirka::platform
