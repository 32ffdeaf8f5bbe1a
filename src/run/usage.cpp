#include "run/usage.h"

#include <algorithm>

namespace zirka {

const std::string_view kUsageText =
    "Zirka 3.8: raises the download counters in FILES.BBS from the logs of T-Mail,\n"
    "binkd, Argus (Radius, Taurus) and qico\n"
    "\n"
    "Usage: zirka [version] [-f] [-d] [-n] [-c=PATH]\n"
    "       zirka -t [-d] [-c=PATH]\n"
    "\n"
    "  version      show the version text, then run\n"
    "  -f  /f       forced: read every log whole, whatever Last_Time says\n"
    "  -d  /d       debug: show what the program finds on the way\n"
    "  -n  /n       preview: show the counters that would change, write nothing\n"
    "  -t  /t  --check  check the configuration and write nothing: unknown\n"
    "               keywords, logs and lists that can't be opened, Last_Time,\n"
    "               the journal; then end\n"
    "  -c=PATH      the main control file to use (also /c=PATH)\n"
    "  -?  -h  --help   this text, and nothing else (also /? and /h)\n"
    "\n"
    "Only the first two characters of a switch count (-force is -f), one switch\n"
    "an argument; other arguments are ignored. Without -c= the program reads\n"
    "ZIRKA.CTL in its own directory; on Linux, when there is none, zirka.ctl in\n"
    "its install's configuration directory (/etc/zirka/zirka.ctl for the package).\n"
    "Beside ZIRKA.CTL it keeps ZIRKA.POS (where each log was read up to; safe to\n"
    "delete) and, while it runs, ZIRKA.LCK and ZIRKA.JNL.\n"
    "\n"
    "Errorlevels:\n"
    "  0  sent files were found and the lists were updated\n"
    "  1  T-MAIL.CTL not found and no LOG_PATH, BINKD_LOG, ARGUS_LOG, QICO_LOG or\n"
    "     BINKD_CFG log\n"
    "  2  no log could be opened\n"
    "  3  nothing done: a journal ZIRKA.JNL that can't be used or written, or\n"
    "     another run of the same ZIRKA.CTL for over a minute (see README)\n"
    "  4  nothing new in the logs, or no sent file found: nothing done\n"
    "  5  the main control file ZIRKA.CTL was not found\n"
    "  6  out of memory\n"
    "  7  no standard output\n"
    "  8  -t only: warnings, nothing a run would stop at\n"
    "\n"
    "Environment:\n"
    "  T-MAIL           directory of T-MAIL.CTL when CTL_PATH names none and the\n"
    "                   current directory has none\n"
    "  ZIRKA_DRIVE_<L>  (Linux) the directory of DOS drive L:, e.g.\n"
    "                   ZIRKA_DRIVE_D=/srv/fido\n"
    "  WINEPREFIX       (Linux) else drives from its dosdevices (default ~/.wine)\n"
    "  NO_COLOR         (Linux) a banner without colours\n"
    "  LC_ALL, LC_CTYPE, LANG  (Linux) screen text in UTF-8 when the first one set\n"
    "                   names UTF-8, else CP866\n"
    "  ZIRKA_LOCK_WAIT  seconds to wait for another run of the same ZIRKA.CTL\n"
    "                   (default 60)\n";

bool IsHelpSwitch(std::string_view arg) {
  if (arg == "--help") return true;
  if (arg.size() < 2 || (arg[0] != '-' && arg[0] != '/')) return false;
  return arg[1] == '?' || arg[1] == 'h' || arg[1] == 'H';
}

bool HelpWanted(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& arg) { return IsHelpSwitch(arg); });
}

}  // namespace zirka
