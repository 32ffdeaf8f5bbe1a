#pragma once
// The run-wide state: created once at start-up, passed to every phase. Each phase
// fills its own part and later phases only read it (the file-list update marks
// used sent files when FIRST_ONLY is on).

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/console.h"
#include "platform/text_file.h"

namespace zirka {

using platform::TextFile;

// A log time, 14 characters without a year: DD/MM HH:MM:SS in logs, in ZIRKA.CTL
// and on the screen; MM/DD HH:MM:SS (after SwapDayMonth) when compared.
using LogTime = std::string;

// One T-Mail log.
struct LogEntry {
  std::string path;                  // full path, upper case
  std::unique_ptr<TextFile> stream;  // open for reading, denying others write access
  bool isNew = false;                // holds lines newer than the stored Last_Time
  LogTime lastTime;                  // time of the last dated line read; empty until then
};

// One file name sent to a caller and how often it was sent.
struct SentFile {
  std::string name;        // without its path, upper case; may exceed 12 characters
  std::int64_t times = 0;  // sent-file lines found for it
  bool used = false;       // FIRST_ONLY: already raised one list entry, matches no more
};

// The sent files in order of first appearance, with a hash index by name.
class SentTable {
 public:
  // Adds one send of `name`; true when the name is new to the table.
  bool Add(const std::string& name);
  // The record named exactly `name`, or nullptr.
  SentFile* Find(const std::string& name);
  const std::vector<SentFile>& records() const { return records_; }
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }

 private:
  std::vector<SentFile> records_;
  std::unordered_map<std::string, std::size_t> index_;
};

// How a download counter is recognised and written, and where areas come from.
struct CounterSettings {
  int dlcDigits = 3;
  bool lookupCtl = false;
  char leftBracket = '[';
  char rightBracket = ']';
  bool firstOnly = true;
  char leadChar = '0';
};

// The run-wide state of one run of the program.
struct RunContext {
  explicit RunContext(platform::Screen& screenOut) : screen(screenOut) {}

  platform::Screen& screen;

  // Start-up and command line.
  std::time_t startTime = 0;
  bool debug = false;
  bool forced = false;
  std::string programPath;  // as the operating system reports it
  std::string mainCtlPath;  // upper case
  std::unique_ptr<TextFile> mainCtl;

  // Program log and report file; a null stream is a file that is not open.
  std::unique_ptr<TextFile> programLog;
  std::unique_ptr<TextFile> report;

  // T-MAIL.CTL and the logs.
  std::string tmailCtlPath;
  std::unique_ptr<TextFile> tmailCtl;
  std::string tmailDirectory;  // with its trailing separator, or empty
  std::vector<LogEntry> logTable;

  // Freshness and the time to store.
  LogTime storedLastTime;  // comparison form (MM/DD ...), empty when none was stored
  bool anyLogNew = false;
  bool noStoredLastTime = false;
  LogTime newLastTime;  // written form; empty when there is nothing to store

  // Settings, areas, ignore list and the sent files.
  CounterSettings settings;
  std::vector<std::string> areaTable;   // full upper-case paths of each FILES.BBS
  std::vector<std::string> ignoreList;  // upper-case name fragments
  SentTable sentTable;

  bool logOpen() const { return programLog != nullptr; }
};

}  // namespace zirka
