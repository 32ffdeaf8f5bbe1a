#pragma once
// The rewrite of each area's FILES.BBS with the raised counters.

#include <string>
#include <vector>

#include "core/area_journal.h"
#include "core/context.h"
#include "filelist/counter_format.h"
#include "filelist/list_entry.h"
#include "platform/files.h"

namespace zirka {

// FILES.BBS lines are read in pieces of this many characters.
inline constexpr std::size_t kListPiece = 399;

// Rewrites the lists of `areas` in their order, with the progress display. With
// a `journal`, each replacement is recorded in it (see RewriteFileList). With
// `entries`, every file entry of every list read is told to it as the list then
// holds it (a list that can't be replaced, as it stays).
void UpdateFileAreas(const std::vector<std::string>& areas, const CounterSettings& settings,
                     SentTable& sentTable, const Output& out, AreaJournal* journal = nullptr,
                     ListEntrySink* entries = nullptr);

// Reads the lists of `areas` in their order, changing nothing, and tells `entries`
// of every file entry: the lists of a run whose raises are all in place already.
void ReadFileAreas(const std::vector<std::string>& areas, const CounterSettings& settings,
                   const Output& out, ListEntrySink& entries);

// Told of each entry that a list copy raises, in the order of the list.
class RaisedEntrySink {
 public:
  virtual void Raised(const SentFile& sent, const CounterChange& change) = 0;

 protected:
  ~RaisedEntrySink() = default;
};

// Where CopyFileList tells of each file entry: the sink (none: nowhere), the
// list's number, and whether the list already holds this run's counters (then each
// entry is told as read, none as raised; else as copied, raised or not).
struct EntryWatch {
  ListEntrySink* sink = nullptr;
  int area = 0;
  bool asRead = false;
};

// Copies one open list to its open replacement line by line, every file entry that
// names a sent file raised (the body of RewriteFileList, apart from opening and
// replacing the files), tells `raised` (when given) of each raised entry and
// `watch` of every file entry. With FIRST_ONLY on, marks each sent file that
// raised an entry used. False when a write or a read of the list failed.
bool CopyFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                  platform::TextFile& list, platform::TextFile& temp,
                  RaisedEntrySink* raised = nullptr, const EntryWatch& watch = {});

// A text file that takes every byte written to it and keeps none: the copy of a
// list that is only read (already raised, or previewed).
platform::TextFile DiscardingText();

// Rewrites one list (the full path of a FILES.BBS) through FILES.!#$; every
// failure is reported and ends only the work on this list. A list none of whose
// entries is raised is only read: no FILES.!#$ is made, and the list keeps its
// bytes, time stamp and inode. True when the list was replaced by its raised copy.
// With a `journal`, area `number` (from 1) is Ready in it before the move and Done
// once the move is on the disk; a list it names as replaced by the interrupted run
// is only read, for the FIRST_ONLY marks. With `entries`, the list's file entries
// are told to it as the list then holds them.
bool RewriteFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                     const std::string& area, AreaJournal* journal = nullptr, int number = 0,
                     ListEntrySink* entries = nullptr);

}  // namespace zirka
