#pragma once
// A small healthy node that the bad-input cases damage one piece at a time, with
// what a run on it gives when nothing is damaged, and a record of every file of a
// tree so that a case can show that nothing but the expected files changed.
//
//   Node node("garbage_log");
//   MakeHealthyNode(node);
//   node.WriteRaw(kHealthyLog, damagedLog);
//   const Snapshot before = TreeSnapshot(node);
//   const RunResult r = node.Run({kHealthyUseCtl});
//   EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)),
//             Files({kUtilList, kGamesList, kNewsList, kHealthyCtl, kProgramLog, kReport}));

#include <string>
#include <vector>

#include "e2e/busy_node.h"
#include "e2e/harness.h"

namespace zirka::e2e {

inline const std::string kHealthyCtl = "FIDO/ZIRKA.CTL";
inline const std::string kHealthyUseCtl = "-c=D:\\FIDO\\ZIRKA.CTL";
// Where each log was read up to, stored with Last_Time.
inline const std::string kHealthyPositions = "FIDO/ZIRKA.POS";
inline const std::string kHealthyLog = "T-MAIL/T-MAIL.LOG";
inline const std::string kProgramLog = "FIDO/ZIRKA.LOG";
inline const std::string kReport = "FIDO/REPORT.TXT";
inline const std::string kUtilList = "FILES/UTIL/FILES.BBS";
inline const std::string kGamesList = "FILES/GAMES/FILES.BBS";
inline const std::string kNewsList = "FILES/NEWS/FILES.BBS";

// ZIRKA.CTL of the node: program log, report, CTL_PATH, the three areas and the
// stored Last_Time 01/05 00:00:00; `extra` goes before the Last_Time line.
std::string HealthyCtl(const std::string& extra = "");

// The lines of the healthy log, LF line ends: three sends on 02/05 (FOO.ZIP of
// UTIL, BAR.ARJ of GAMES, NEWS.TXT of NEWS), the last line at 12:30:00.
std::string HealthyLog();

// Writes ZIRKA.CTL, T-MAIL.CTL, the log and the three lists (CR LF line ends).
void MakeHealthyNode(const Node& node);

// The three lists before a run, and after one that counted each send once.
std::string UtilList(int fooCount);   // FOO.ZIP [fooCount], BAZ.ZIP [003]
std::string GamesList(int barCount);  // BAR.ARJ [barCount]
std::string NewsList(int newsCount);  // NEWS.TXT [newsCount]

// ZIRKA.CTL with `lastTime` in its Last_Time line (`extra` as for HealthyCtl).
std::string CtlWithLastTime(const std::string& lastTime, const std::string& extra = "");

// The screen of a healthy run outside debug mode with `sent` distinct names and
// `areas` file areas (exit 0).
std::string HealthyScreen(int sent, int areas);

// The report of one run (normalised) for names and counts in order.
std::string ReportOf(const std::vector<std::pair<std::string, int>>& files);

// Every regular file below the root by its path below it.
Snapshot TreeSnapshot(const Node& node);
// The paths that differ between two snapshots (changed, added or gone), sorted.
std::vector<std::string> ChangedFiles(const Snapshot& before, const Snapshot& after);
// A sorted list of paths, to compare with ChangedFiles.
std::vector<std::string> Files(std::vector<std::string> paths);

// `count` bytes of every value except digits, CR, LF and Ctrl-Z, NUL included
// (so they never form a date, a line end or an end of file), from a fixed seed.
std::string Garbage(std::size_t count, unsigned seed);

}  // namespace zirka::e2e
