#pragma once
// A busy node for the cases that break runs on purpose (faults, kills, held
// files): many areas with their FILES.BBS, two T-Mail logs full of sessions and
// sends, a program log, a report and a stored Last_Time. Also snapshots of the
// files a run replaces, and the search for temporary files left behind.
//
//   BusyNodeShape shape;  shape.areas = 4;
//   const std::vector<std::string> replaced = MakeBusyNode(node, shape);
//   const Snapshot before = TakeSnapshot(node, replaced);
//   node.Run(BusyNodeArgs());
//   EXPECT_TRUE(TempFilesLeft(node).empty());

#include <map>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace zirka::e2e {

struct BusyNodeShape {
  int areas = 4;           // FILES/Annn/FILES.BBS, one AREA line each
  int filesPerArea = 6;    // file entries per list, with descriptions between them
  int sessions = 40;       // mail sessions per log; each sends a few files
  int fillerLines = 4;     // lines of session chatter around every send
  bool programLog = true;  // LOG and REPORT lines in ZIRKA.CTL
};

// The bytes of some files of a node, by their path below the root.
using Snapshot = std::map<std::string, std::string>;

// The main control file of a busy node, as the program is told to use it, and
// the journal of a run that uses it.
inline const std::string kBusyCtl = "FIDO/ZIRKA.CTL";
inline const std::string kBusyUseCtl = "-c=D:\\FIDO\\ZIRKA.CTL";
inline const std::string kBusyJournal = "FIDO/ZIRKA.JNL";
inline const std::string kBusyPositions = "FIDO/ZIRKA.POS";

// What a tic processor does to a list: a new entry appended at its end. No log
// names the file, so a run copies the line as it stands wherever it meets it.
inline const std::string kTicEntry = "ZZTICNEW.ZIP [000] Hatched after the last run\r\n";
void AppendTicEntry(const Node& node, const std::string& list);

// Writes the node and returns the files a run replaces: every FILES.BBS, then
// ZIRKA.CTL last. Every file name is listed in exactly one area, so a list's new
// content does not depend on which other areas were processed; with at least as
// many sessions as areas, every list has an entry that each log raises.
std::vector<std::string> MakeBusyNode(const Node& node, const BusyNodeShape& shape);

// The list of area `index` (0-based), e.g. "FILES/A003/FILES.BBS".
std::string BusyList(int index);

// The bytes of one file below the root ("" when it is missing), read at once.
std::string ReadWhole(const Node& node, const std::string& file);

Snapshot TakeSnapshot(const Node& node, const std::vector<std::string>& files);
// Writes every file of the snapshot back, byte for byte.
void Restore(const Node& node, const Snapshot& snapshot);

// Back to the state before any run: `snapshot`'s files, no temporary file, no
// journal, program log or report.
void ResetBusyNode(const Node& node, const Snapshot& snapshot);

// Temporary files of list, control-file and journal replacements (FILES.!#$,
// *.$#!, *.JN$) anywhere below the root, by their path below it.
std::vector<std::string> TempFilesLeft(const Node& node);

// The number N of "Processing N file areas", or -1 when the run did not get there.
int ProcessedAreas(const std::string& screen);

}  // namespace zirka::e2e
