#pragma once
// The journal of a run that rewrites file lists: a DOS text file beside the main
// control file (ZIRKA.CTL gives ZIRKA.JNL) that lets the next run complete a run
// that was killed, so that no send is counted twice and none is lost.
//
// It exists only from just before the first list is replaced until the new
// Last_Time is in ZIRKA.CTL and on disk. Its lines:
//
//   ; Zirka journal of an unfinished run - do not edit
//   Control D:\FIDO\ZIRKA.CTL          the control file of the run
//   Last_Time 07/12 14:03:59           the time the run stores at its end (may be empty)
//   Started 06/12 23:00:01             the Last_Time it counted from (empty: none)
//   Forced No                          Yes for a forced run
//   Log 1022 58811 D:\T-MAIL\T-MAIL.LOG   per log in order: the bytes the run counted
//   Pos 58811 9F3A5B7C1D2E4F60 D:\T-MAIL\T-MAIL.LOG   the positions file the run
//                                      stores with Last_Time, a line per log
//   Ready 1 D:\FILES\UTIL\FILES.BBS    area 1's FILES.!#$ is whole and on disk
//   Done 1                             area 1's list was replaced (or could not be)
//   Ready 3 D:\FILES\NODELIST\FILES.BBS
//   Ready 4 D:\FILES\UTIL2\FILES.BBS  several lists in different directories may
//   Done 3                             be ready at once, written with one flush
//   Back 4                             area 4's replacement was withdrawn unmoved
//                                      (another program changed the list): it is
//                                      raised anew, as if never Ready
//   All done                           every area is done: only Last_Time is left
//
// Areas are named by their number in the area table (from 1), as two AREA lines
// may name the same list. An area whose FILES.!#$ was never whole has no line. A
// Ready without its Done is a list the run was stopped with between the two:
// whether its FILES.!#$ still exists says whether the list was replaced. No two
// such lists are in one directory, where they would share FILES.!#$.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/area_journal.h"
#include "core/log_position.h"
#include "platform/text_file.h"

namespace zirka::journal {

// The errorlevel of a run that found a journal it must not or can't use.
inline constexpr int kTroubleErrorlevel = 3;

// The journal of the run that uses `mainCtlPath`: its extension (from the last
// "." of the file name) replaced by .JNL; a name without one gets .JNL appended.
std::string JournalPath(const std::string& mainCtlPath);

// The bytes one log contributed: from offset `start` up to `end` (not included).
struct LogRange {
  std::uint64_t start = 0;
  std::uint64_t end = 0;
  std::string path;
};

// One area whose replacement list was whole on disk.
struct AreaStep {
  int index = 0;     // from 1, in area-table order
  std::string list;  // the FILES.BBS path
  bool done = false;
};

struct Journal {
  std::string control;    // the main control file's path, as the run used it
  std::string lastTime;   // DD/MM HH:MM:SS to store, or empty: nothing to store
  std::string started;    // the stored Last_Time the run counted from, or empty
  bool forced = false;
  std::vector<LogRange> logs;
  // The log positions to store with Last_Time. A journal of an earlier version has
  // no Pos lines; `hasPositions` tells it from a run that had no log to store.
  std::vector<LogPosition> positions;
  bool hasPositions = false;
  std::vector<AreaStep> steps;  // increasing index
  bool allDone = false;

  // The step of area `index`, or nullptr when the area has none.
  const AreaStep* Step(int index) const;
  // The step of area `index` when it is not done, else nullptr.
  AreaStep* PendingStep(int index);
  // True while any step is not done.
  bool AnyPending() const;
};

// Each step left pending by a killed run whose FILES.!#$ is gone was moved over its
// list (or failed and was removed): it is done. One whose FILES.!#$ is still there
// was never moved and stays pending: the list is raised again.
void SettlePending(Journal& journal);

// The whole journal text, LF line ends (the text stream writes CR LF).
std::string Format(const Journal& journal);

// Reads a journal text (LF or CR LF line ends). Every line is checked; the first
// fault is described in `error` and false returned. A last line without its line
// end is an append that a crash cut short and is left out.
bool Parse(std::string_view text, Journal& journal, std::string& error);

// A journal held open by this run, denying every other open, to append to. It
// answers the list rewrite for the steps of the run it was created with.
class JournalFile : public AreaJournal {
 public:
  // Writes `journal` whole to `path` through a temporary file beside it (.JN$),
  // flushed and moved over it (the directory synced), then opens and holds it.
  // nullptr when any of that failed (no temporary file is left), when another
  // run holds a journal at `path`, or when Parse would refuse the text (the run
  // then has no journal to keep).
  static std::unique_ptr<JournalFile> Create(const std::string& path, const Journal& journal);

  // True when the journal it was created with names area `index` done.
  bool AlreadyReplaced(int index) const override;
  // The lists are whole in their FILES.!#$: appended with one flush, before any of
  // them is replaced. Nothing is appended for a step a completed run left pending
  // (its Ready is there already).
  bool Ready(const std::vector<ReadyList>& lists) override;
  // The pending steps of `numbers` are withdrawn: appended with one flush.
  bool Withdraw(const std::vector<int>& numbers) override;
  // Area `index` is over: appended and handed to the system, not flushed (the next
  // flush carries it; a line lost in a crash is decided by FILES.!#$). Call it only
  // once the move is committed to the disk. Nothing when the area has no pending
  // step (its FILES.!#$ was never whole).
  void Done(int index) override;
  // Every area is over: appended and flushed.
  bool AllDone();
  // Closes the journal and removes it, the removal committed to disk. Call once
  // the Last_Time is stored.
  bool Remove();

  const std::string& path() const { return path_; }

  JournalFile(std::string path, Journal journal, std::unique_ptr<platform::TextFile> file);
  ~JournalFile() override;
  JournalFile(const JournalFile&) = delete;
  JournalFile& operator=(const JournalFile&) = delete;

 private:
  bool Append(const std::string& line, bool flush);

  std::string path_;
  Journal journal_;  // as written so far
  std::unique_ptr<platform::TextFile> file_;
};

// What a run finds at the journal's path before it starts.
enum class Found {
  None,        // no journal: an ordinary run
  Held,        // a live run holds it
  Unreadable,  // it can't be opened or read
  Bad,         // it makes no sense, or belongs to another control file
  Usable,      // an interrupted run to complete
};

struct Existing {
  Found found = Found::None;
  std::string error;  // Bad: what is wrong with it
  Journal journal;    // Usable: its content
};

// Looks for the journal of `mainCtlPath` and reads it, holding it while it reads.
// The file is closed again and left as it is whatever was found.
Existing ReadJournal(const std::string& mainCtlPath);

// The "!ERR-" line (with its line end) for a journal that stops the run.
std::string TroubleLine(const std::string& journalPath, const Existing& existing);
// The "!ERR-" line (with its line end) for a log that no longer holds the bytes
// the journal says the interrupted run counted (cut short, replaced or gone).
std::string ChangedLogLine(const std::string& journalPath, const std::string& logPath);
// The line (with its line end) that tells that an interrupted run is completed.
std::string CompletingLine(const Journal& journal);

}  // namespace zirka::journal
