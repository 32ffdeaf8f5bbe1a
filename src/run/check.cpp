#include "run/check.h"

#include <string>
#include <vector>

#include "areas/area_table.h"
#include "config/counter_settings.h"
#include "config/tmail_ctl.h"
#include "core/keyword.h"
#include "core/known_keywords.h"
#include "core/log_time.h"
#include "core/messages.h"
#include "core/replacement.h"
#include "logscan/log_positions.h"
#include "journal/journal.h"
#include "platform/files.h"
#include "run/command_line.h"

namespace zirka {

namespace {

// Unknown keywords listed one by one, up to this many (a file that is no control
// file at all would fill the screen).
constexpr std::size_t kUnknownShown = 50;

// What the check found: each problem is shown as it is found and counted here.
class Findings {
 public:
  explicit Findings(RunContext& ctx) : ctx_(ctx) {}

  // Something a run passes over.
  void Warn(const std::string& text) {
    Print(ctx_, "!WARN-" + text + "\n");
    ++warnings_;
  }
  // Something a run stops at, with its errorlevel; the first one in the run's
  // order is the one it would end with.
  void Error(const std::string& line, int errorlevel) {
    Print(ctx_, line);
    ++errors_;
    if (errorlevel_ == 0) errorlevel_ = errorlevel;
  }
  void Note(const std::string& text) { Print(ctx_, "\xFE " + text + "\n"); }

  // The summary line; returns the errorlevel.
  int Finish() {
    const auto count = [](int n, const char* what) {
      return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
    };
    if (errors_ > 0) {
      Note("Check: " + count(errors_, "error") + ", " + count(warnings_, "warning") +
           ": a run would end with errorlevel " + std::to_string(errorlevel_));
      return errorlevel_;
    }
    if (warnings_ > 0) {
      Note("Check: " + count(warnings_, "warning") + ": a run would pass over what they name");
      return kCheckWarningsErrorlevel;
    }
    Note("Check: nothing wrong found");
    return 0;
  }

 private:
  RunContext& ctx_;
  int warnings_ = 0;
  int errors_ = 0;
  int errorlevel_ = 0;
};

void CheckKeywords(RunContext& ctx, Findings& findings) {
  std::size_t count = 0;
  FindUnknownKeywords(*ctx.mainCtl, [&](const UnknownKeyword& unknown) {
    if (++count <= kUnknownShown) {
      findings.Warn("Line " + std::to_string(unknown.line) + ": unknown keyword " + unknown.word +
                    (unknown.likely.empty() ? "" : ", " + unknown.likely + " meant?"));
    }
    return true;
  });
  if (count > kUnknownShown) {
    findings.Note("... and " + std::to_string(count - kUnknownShown) +
                  " more lines with unknown keywords");
  }
}

void CheckJournal(RunContext& ctx, Findings& findings) {
  const std::string path = journal::JournalPath(ctx.mainCtlPath);
  const journal::Existing existing = journal::ReadJournal(ctx.mainCtlPath);
  switch (existing.found) {
    case journal::Found::None:
      findings.Note("Journal " + path + ": none, no run is waiting to be completed");
      return;
    case journal::Found::Usable:
      findings.Note("Journal " + path + ": an interrupted run is waiting, the next run completes it");
      return;
    default:
      findings.Error(journal::TroubleLine(path, existing), journal::kTroubleErrorlevel);
  }
}

void CheckLogs(RunContext& ctx, Findings& findings) {
  const Outcome end = BuildLogTable(ctx);
  for (const std::string& leftOut : ctx.logsLeftOut) findings.Warn(leftOut);
  if (!end) {
    findings.Note("Logs: " + std::to_string(ctx.logTable.size()) + " to read");
  } else if (*end == 1 && !ctx.tmailCtlPath.empty()) {
    findings.Error("!ERR-T-Mail control file " + ctx.tmailCtlPath + " (CTL_PATH) can't be opened\n",
                   *end);
  } else if (*end == 1) {
    findings.Error("!ERR-No T-MAIL.CTL found and no log named in " + ctx.mainCtlPath + "\n", *end);
  } else {
    findings.Error("!ERR-No log can be opened\n", *end);
  }
}

void CheckLastTime(RunContext& ctx, Findings& findings) {
  const std::string value = FirstKeywordValue(*ctx.mainCtl, "LAST_TIME");
  if (value.empty()) {
    findings.Note("Last_Time: none, every log line counts as new");
  } else if (!IsWellFormedLogTime(value) || !IsDatedLine(value)) {
    findings.Warn("Last_Time " + value + " in " + ctx.mainCtlPath + " is not DD/MM HH:MM:SS");
  } else {
    findings.Note("Last_Time " + value);
  }
}

void CheckAreas(RunContext& ctx, Findings& findings) {
  ReadCounterSettings(ctx);
  BuildAreaTable(ctx);
  for (const std::string& list : ctx.areasWithoutList) findings.Warn("Area without a list: " + list + " can't be opened");
  if (ctx.areaTable.empty()) {
    // The sends would be counted, no list raised, and Last_Time moved past them.
    findings.Warn("No file area with a FILES.BBS: the sends a run counts are lost");
  } else {
    findings.Note("Areas: " + std::to_string(ctx.areaTable.size()) + " with a FILES.BBS");
  }
}

// The positions file beside the control file: there and readable, not there yet,
// or there but unreadable.
void CheckPositionsFile(RunContext& ctx, Findings& findings) {
  const std::string path = PositionsPath(ctx.mainCtlPath);
  std::vector<LogPosition> positions;
  std::string error;
  switch (ReadPositionsFile(path, positions, error)) {
    case PositionsFile::None:
      findings.Note("Positions file " + path + ": none yet");
      break;
    case PositionsFile::Unreadable:
      findings.Warn("Positions file " + path + " can't be read");
      break;
    case PositionsFile::Read:
      if (!error.empty()) {
        findings.Warn("Positions file " + path + " makes no sense (" + error +
                      "): the next run checks those logs against Last_Time");
      } else {
        findings.Note("Positions file " + path + ": " + std::to_string(positions.size()) +
                      " log(s)");
      }
      break;
  }
}

}  // namespace

int CheckConfiguration(RunContext& ctx) {
  if (const Outcome end = OpenMainControlFile(ctx)) return *end;
  Findings findings(ctx);
  findings.Note("Checking " + ctx.mainCtlPath);
  CheckKeywords(ctx, findings);
  CheckJournal(ctx, findings);
  CheckLogs(ctx, findings);
  CheckLastTime(ctx, findings);
  CheckAreas(ctx, findings);
  CheckPositionsFile(ctx, findings);
  return findings.Finish();
}

}  // namespace zirka
