#include "run/command_line.h"

#include <algorithm>
#include <string_view>

#include "core/messages.h"
#include "core/terminate.h"
#include "core/text.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/install_dirs.h"

namespace zirka {

namespace {

// The version text, kept in reverse character order in the program and turned
// back into reading order only when it is printed.
constexpr std::string_view kVersionTextReversed =
    "ekila smetsys XISOP dna selosnoc 23niW rof tliuB\n"
    "nur tsal eht ecnis tnes reliam eht selif eht stnuoc nur enO\n"
    "sgol liaM-T morf SBB.SELIF ni sretnuoc daolnwod eht sesiar :8.3 akriZ";

void PrintVersionText(RunContext& ctx) {
  std::string text(kVersionTextReversed);
  std::reverse(text.begin(), text.end());
  Print(ctx, text);
  Print(ctx, "\n");
}

// True when `arg` starts with '-' or '/' followed by `letter` (lower case),
// the letter compared without regard to case.
bool IsSwitch(std::string_view arg, char letter) {
  if (arg.size() < 2 || (arg[0] != '-' && arg[0] != '/')) return false;
  const char c = arg[1];
  return c == letter || c == letter - 'a' + 'A';
}

// -c= or /c=: the switch letter in either case followed by '='.
bool IsControlFileSwitch(std::string_view arg) {
  return arg.size() >= 3 && IsSwitch(arg, 'c') && arg[2] == '=';
}

// The default main control file: the program's directory, the separator that
// ends it, and ZIRKA.CTL, all upper case. A program path without any separator
// gives ZIRKA.CTL in the current directory.
std::string DefaultControlFilePath(const std::string& programPath) {
  const std::size_t last = LastSeparator(programPath);
  if (last == std::string::npos) return "ZIRKA.CTL";
  return UpperAscii(programPath.substr(0, last + 1) + "ZIRKA.CTL");
}

}  // namespace

void ShowStartBanner() {
  platform::ShowBanner(
      "ZIRKA version 3.8",
      {
          {0x0E, "\n[Zirka 3.8.NT]"},
          {0x0B, "  Download counters update utility for T-Mail\n"},
          {0x0F, "  Made by the Zirka developers for the sysops of FidoNet\n\n"},
      });
}

void ParseCommandLine(RunContext& ctx, const std::vector<std::string>& args) {
  ctx.mainCtlPath.clear();
  for (const std::string& arg : args) {
    if (arg == "version") {
      PrintVersionText(ctx);
    } else if (IsSwitch(arg, 'f')) {
      ctx.forced = true;
    } else if (IsSwitch(arg, 'd')) {
      ctx.debug = true;
      Print(ctx, "\xFE Debug mode is ON\n");
    } else if (IsSwitch(arg, 't') || arg == "--check") {
      ctx.check = true;
      Print(ctx, "\xFE Check mode is ON: the configuration is read, nothing is written\n");
    } else if (IsSwitch(arg, 'n')) {
      ctx.preview = true;
      Print(ctx, "\xFE Preview mode is ON: nothing will be written\n");
    } else if (IsControlFileSwitch(arg)) {
      // The path is kept whole, however long; a later switch replaces it, and an
      // empty one brings back the default location.
      ctx.mainCtlPath = UpperAscii(std::string_view(arg).substr(3));
      Print(ctx, "\xFE Path to zirka.ctl overriden: ");
      Print(ctx, ctx.mainCtlPath);
      Print(ctx, "\n");
    }
  }
}

Outcome OpenMainControlFile(RunContext& ctx) {
  // Without -c=: ZIRKA.CTL beside the program, then (POSIX) the control file in the
  // configuration directory of the install, /etc/zirka/zirka.ctl for the package.
  auto installed = platform::InstalledControlFile(ctx.programPath);
  ctx.programInstalled = installed.has_value();
  std::vector<std::string> places{ctx.mainCtlPath};
  if (ctx.mainCtlPath.empty()) {
    places = {DefaultControlFilePath(ctx.programPath)};
    if (installed) places.push_back(std::move(*installed));
  }
  for (const std::string& place : places) {
    ctx.mainCtlPath = place;
    ctx.mainCtl = platform::OpenText(place, platform::Mode::Read, platform::Share::DenyWrite);
    if (ctx.mainCtl) return std::nullopt;
  }
  Print(ctx, "!FERR-Main control file ");
  for (std::size_t i = 0; i < places.size(); ++i) {
    Print(ctx, i == 0 ? places[i] : " or " + places[i]);
  }
  Print(ctx, " not found!\n\n");
  ctx.mainCtlPath = places.front();
  return 5;
}

}  // namespace zirka
