#pragma once
// The rewrite of each area's FILES.BBS with the raised counters.

#include <string>
#include <vector>

#include "core/area_journal.h"
#include "core/context.h"
#include "filelist/counter_format.h"
#include "platform/files.h"

namespace zirka {

// FILES.BBS lines are read in pieces of this many characters.
inline constexpr std::size_t kListPiece = 399;

// Rewrites the lists of `areas` in their order, with the progress display. With
// a `journal`, each replacement is recorded in it (see RewriteFileList).
void UpdateFileAreas(const std::vector<std::string>& areas, const CounterSettings& settings,
                     SentTable& sentTable, const Output& out, AreaJournal* journal = nullptr);

// Told of each entry that a list copy raises, in the order of the list.
class RaisedEntrySink {
 public:
  virtual void Raised(const SentFile& sent, const CounterChange& change) = 0;

 protected:
  ~RaisedEntrySink() = default;
};

// Copies one open list to its open replacement line by line, every file entry that
// names a sent file raised (the body of RewriteFileList, apart from opening and
// replacing the files), and tells `raised` (when given) of each raised entry.
// With FIRST_ONLY on, marks each sent file that raised an entry used. False when a
// write or a read of the list failed.
bool CopyFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                  platform::TextFile& list, platform::TextFile& temp,
                  RaisedEntrySink* raised = nullptr);

// A text file that takes every byte written to it and keeps none: the copy of a
// list that is only read (already raised, or previewed).
platform::TextFile DiscardingText();

// Rewrites one list (the full path of a FILES.BBS) through FILES.!#$; every
// failure is reported and ends only the work on this list. A list none of whose
// entries is raised is only read: no FILES.!#$ is made, and the list keeps its
// bytes, time stamp and inode. True when the list was replaced by its raised copy. With a `journal`, area `number` (from 1) is
// Ready in it before the move and Done after; a list it names as replaced by the
// interrupted run is only read, for the FIRST_ONLY marks. With `pending`, the
// directory entry is committed to the disk while the caller goes on (see
// FinishReplacement); a journal's Ready waits for the one before it, so that no
// Done is on the disk before its move is.
bool RewriteFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                     const std::string& area, AreaJournal* journal = nullptr, int number = 0,
                     platform::PendingDirectories* pending = nullptr);

}  // namespace zirka
