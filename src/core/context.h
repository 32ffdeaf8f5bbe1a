#pragma once
// The run-wide state: created once at start-up, passed to every phase. Each phase
// fills its own part and later phases only read it (the file-list update marks
// used sent files when FIRST_ONLY is on).

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/log_position.h"
#include "core/log_time.h"
#include "core/output.h"
#include "core/sent_table.h"
#include "platform/console.h"
#include "platform/text_file.h"

namespace zirka {

using platform::TextFile;

// The mailer that writes a log, and so how its lines are read: T-Mail's in pieces,
// the others (binkd; Argus, Radius and Taurus; qico and qico-ng) whole.
enum class LogFormat { TMail, Binkd, Argus, Qico };

// A log whose lines are read whole (see core/whole_line.h), each by its mailer's parser.
inline bool IsWholeLineFormat(LogFormat format) { return format != LogFormat::TMail; }

// One mailer log.
struct LogEntry {
  std::string path;                  // full path, upper case
  LogFormat format = LogFormat::TMail;
  std::unique_ptr<TextFile> stream;  // open for reading, denying others write access
  bool isNew = false;                // holds lines newer than the stored Last_Time
  LogTime lastTime;                  // time of the last dated line read; empty until then
  // Where the sent-file scan starts reading this log, set by the freshness check;
  // none when nothing of it is scanned (an old log in an ordinary run).
  std::optional<std::uint64_t> scanFrom;

  // The log as it stood when the run began: its size, its first bytes (up to
  // kLogHeadBytes) and the end of its last whole line, past which nothing is read.
  std::uint64_t size = 0;
  std::string head;
  std::uint64_t readEnd = 0;
  // The stored position this log goes on from (an index into the run's stored
  // positions), or -1 when none matched it.
  int matched = -1;
  // Where a log that is not scanned stands once the run is stored: the position it
  // matched, or the end of an old log that was read whole.
  std::optional<std::uint64_t> settledAt;
  // Active while the start of the log's new part is not settled yet: the scan takes
  // a dated line not later than this (Last_Time) for one already counted, and the
  // new part then begins after it (scanFrom moves there, `restarted` is set, and
  // what the scan counted of this log before is dropped).
  LaterThan oldUpTo;
  bool restarted = false;
};

// How a download counter is recognised and written, and where areas come from.
struct CounterSettings {
  int dlcDigits = 3;
  bool lookupCtl = false;
  char leftBracket = '[';
  char rightBracket = ']';
  bool firstOnly = true;
  char leadChar = '0';
  bool keepNameCase = false;  // a raised entry keeps the name as the list spells it
  bool longNames = false;     // list names of up to 255 characters are matched
};

// The run-wide state of one run of the program.
struct RunContext {
  explicit RunContext(platform::Screen& screenOut) : screen(screenOut) {}

  platform::Screen& screen;

  // Start-up and command line.
  std::time_t startTime = 0;
  bool debug = false;
  bool forced = false;
  bool preview = false;  // -n: show what the list rewrite would change, write nothing
  bool check = false;    // -t: check the configuration, write nothing
  std::string programPath;  // as the operating system reports it
  std::string mainCtlPath;  // upper case
  // The program sits in an install's bin directory (POSIX; /usr/bin for the
  // package): no temporary file is made beside it.
  bool programInstalled = false;
  std::unique_ptr<TextFile> mainCtl;

  // Program log and report file; a null stream is a file that is not open.
  std::unique_ptr<TextFile> programLog;
  std::unique_ptr<TextFile> report;

  // T-MAIL.CTL and the logs.
  std::string tmailCtlPath;
  std::unique_ptr<TextFile> tmailCtl;
  std::string tmailDirectory;  // with its trailing separator, or empty
  std::vector<LogEntry> logTable;
  // Logs and binkd configs named but left out ("Log D:\X.LOG can't be opened"),
  // for the configuration check.
  std::vector<std::string> logsLeftOut;

  // Freshness and the time to store.
  LogTime storedLastTime;  // as written in ZIRKA.CTL (its first 14 characters); empty: none
  bool anyLogNew = false;
  bool noStoredLastTime = false;
  LogTime newLastTime;  // empty when there is nothing to store
  // The positions file as the run found it (ZIRKA.POS); empty when there is none.
  std::vector<LogPosition> storedPositions;

  // Settings, areas, ignore list and the sent files.
  CounterSettings settings;
  std::vector<std::string> areaTable;   // full upper-case paths of each FILES.BBS
  // AREA and FREQ_DIR directories left out for want of a FILES.BBS (its path), for
  // the configuration check.
  std::vector<std::string> areasWithoutList;
  std::vector<std::string> ignoreList;  // upper-case name fragments
  SentTable sentTable;

  bool logOpen() const { return programLog != nullptr; }
  // Where messages go as the run now stands (the program log may open later).
  Output out() const { return Output{screen, programLog.get(), debug}; }
};

}  // namespace zirka
