// The screen on POSIX: standard output, translated to UTF-8 when the locale uses
// it (on a terminal, in a file or a pipe alike); the banner with ANSI escape
// sequences only when standard output is a terminal.

#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <cctype>
#include <clocale>
#include <csignal>
#include <cstring>

#include "platform/console.h"
#include "platform/cp866.h"
#include "platform/posix_fd.h"
#include "platform/system.h"

namespace zirka::platform {

namespace {

constexpr int kStdout = 1;

bool StdoutIsTerminal() { return ::isatty(kStdout) == 1; }

// True when the locale's name, from the first of LC_ALL, LC_CTYPE and LANG that is
// set and not empty, names UTF-8 ("C.UTF-8", "ru_RU.utf8"). Cron and redirected
// output go by the name alone: the locale need not be installed.
bool LocaleNamesUtf8() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const auto value = GetEnv(name);
    if (!value || value->empty()) continue;
    std::string upper;
    for (const char c : *value) {
      if (c != '-') upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper.find("UTF8") != std::string::npos;
  }
  return false;
}

// True when the user's locale uses UTF-8: it names UTF-8, or its character set,
// as the C library sets it up, is UTF-8. The process's own locale is put back
// afterwards, so that character classes elsewhere stay those of the "C" locale.
bool LocaleIsUtf8() {
  if (LocaleNamesUtf8()) return true;
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current != nullptr ? current : "C";
  bool utf8 = false;
  if (std::setlocale(LC_CTYPE, "") != nullptr) {
    const char* codeset = ::nl_langinfo(CODESET);
    utf8 = codeset != nullptr &&
           (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
  }
  std::setlocale(LC_CTYPE, saved.c_str());
  return utf8;
}

bool ColoursWanted() {
  const auto noColor = GetEnv("NO_COLOR");
  return !noColor || noColor->empty();
}

// The SGR sequence for the foreground of a console attribute (bit 0 blue,
// bit 1 green, bit 2 red, bit 3 bright).
std::string Sgr(int attribute) {
  const int ansi =
      ((attribute & 4) ? 1 : 0) | ((attribute & 2) ? 2 : 0) | ((attribute & 1) ? 4 : 0);
  const int code = ((attribute & 8) ? 90 : 30) + ansi;
  return "\x1b[" + std::to_string(code) + "m";
}

class StdoutScreen : public Screen {
 public:
  StdoutScreen(bool toUtf8, bool terminal) : toUtf8_(toUtf8), terminal_(terminal) {}
  StdoutScreen(const StdoutScreen&) = delete;
  StdoutScreen& operator=(const StdoutScreen&) = delete;
  ~StdoutScreen() override { Flush(); }

  // On a terminal each piece is written at once, so that progress shown with
  // backspaces appears as it happens. Into a file or a pipe the same bytes go out
  // at every line end and every few kilobytes, not in one system call per piece.
  // A failed write (a closed pipe) loses only screen text.
  void Write(std::string_view oemText) override {
    if (toUtf8_) {
      pending_.append(Cp866ToUtf8(oemText));
    } else {
      pending_.append(oemText);
    }
    if (terminal_ || pending_.size() >= kHeldBytes ||
        oemText.find('\n') != std::string_view::npos) {
      Flush();
    }
  }

 private:
  static constexpr std::size_t kHeldBytes = 4096;

  void Flush() {
    if (pending_.empty()) return;
    (void)WriteAllFd(kStdout, pending_.data(), pending_.size());
    pending_.clear();
  }

  bool toUtf8_;
  bool terminal_;
  std::string pending_;
};

}  // namespace

bool StdoutUsable() { return ::fcntl(kStdout, F_GETFD) != -1; }

std::unique_ptr<Screen> MakeConsoleScreen() {
  // A reader that goes away (zirka | head) must not kill the run in the middle of
  // rewriting a list: the write fails instead, and the run goes on.
  std::signal(SIGPIPE, SIG_IGN);
  // Files keep their DOS bytes; only the screen text follows the locale.
  const bool terminal = StdoutIsTerminal();
  return std::make_unique<StdoutScreen>(LocaleIsUtf8(), terminal);
}

void ShowBanner(const std::string& title, const std::vector<BannerLine>& lines) {
  if (!StdoutIsTerminal()) return;
  const bool utf8 = LocaleIsUtf8();
  const bool colours = ColoursWanted();
  std::string out = "\x1b]0;" + title + "\x07" + "\x1b[2J\x1b[H";
  for (const BannerLine& line : lines) {
    if (colours) out += Sgr(line.attribute);
    out += line.text;
  }
  if (utf8) out = Cp866ToUtf8(out);
  (void)WriteAllFd(kStdout, out.data(), out.size());
}

void RestoreConsole() {
  if (!StdoutIsTerminal() || !ColoursWanted()) return;
  (void)WriteAllFd(kStdout, "\x1b[0m", 4);
}

}  // namespace zirka::platform
