#pragma once
// The preview of the list rewrite: what each FILES.BBS would get, with nothing written.

#include <string>
#include <vector>

#include "core/context.h"
#include "filelist/list_entry.h"

namespace zirka {

// Reads the lists of `areas` in their order exactly as UpdateFileAreas copies them
// (the same counters, FIRST_ONLY across lists, the same debug lines), but into
// nothing, and shows under a heading each list with an entry that would be raised,
// that entry's name and its old and new counter field:
//
//   ■ Preview: the lists would change like this
//   D:\FILES\UTIL\FILES.BBS
//   · ARJ250.EXE    [003] -> [006]
//   · NEWFILE.ZIP   (none) -> [001]
//   ■ Preview: 2 entries in 1 list would change
//
// A list that can't be read to its end is shown as such; the rewrite would leave
// it as it is. With `entries`, every file entry is told to it as the rewrite would
// leave it.
void PreviewFileAreas(const std::vector<std::string>& areas, const CounterSettings& settings,
                      SentTable& sentTable, const Output& out, ListEntrySink* entries = nullptr);

}  // namespace zirka
