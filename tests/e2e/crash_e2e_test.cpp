// Kills: a run on a node with many areas is killed with SIGKILL at random
// moments, a few hundred times. After each kill every FILES.BBS and ZIRKA.CTL is
// whole (its old content or its new one, and ZIRKA.CTL new only once every list
// is), and the next normal run completes, leaves no temporary file behind and
// brings every list to the content the sends give.
//
// The moments come from a seeded generator: ZIRKA_CRASH_SEED repeats a failing
// series; ZIRKA_CRASH_KILLS and ZIRKA_CRASH_SECONDS bound the number of kills and
// the time spent (300 and 90 s by default, whichever ends first).

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "e2e/busy_node.h"
#include "e2e/harness.h"

#ifndef ZIRKA_E2E_FAULTY_PROGRAM
#define ZIRKA_E2E_FAULTY_PROGRAM ""
#endif

namespace zirka::e2e {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

long EnvNumber(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::strtol(value, nullptr, 10) : fallback;
}

// The program under test, copied into the node once: ZIRKA.CTL's temporary file
// lies beside it, so what a kill leaves there is in sight too.
std::string InstallProgram(const Node& node) {
  const fs::path program = ProgramUnderTest();
  fs::create_directories(node.root() + "/BIN");
  const std::string copy = node.root() + "/BIN/zirka";
  fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
  return copy;
}

// Which of its known contents a file holds.
enum class Content { Old, New, Twice, Other };

const char* Name(Content c) {
  switch (c) {
    case Content::Old:
      return "old";
    case Content::New:
      return "new";
    case Content::Twice:
      return "counted twice";
    case Content::Other:
      return "neither old nor new";
  }
  return "?";
}

// Where the node lies: a memory file system when there is one. A killed process
// loses nothing that it handed to the kernel, so the disk takes no part in what
// is tested here, and without its flushes a few hundred runs fit in the time.
std::string ScratchParent() {
  std::error_code ec;
  if (fs::is_directory("/dev/shm", ec)) return "/dev/shm";
  return fs::temp_directory_path().string();
}

class CrashNode {
 public:
  CrashNode() : node_("crash", ScratchParent()) {
    BusyNodeShape shape;
    shape.areas = 150;
    shape.filesPerArea = 8;
    shape.sessions = std::max(1, static_cast<int>(EnvNumber("ZIRKA_CRASH_SESSIONS", 150)));
    files_ = MakeBusyNode(node_, shape);
    program_ = InstallProgram(node_);
    old_ = TakeSnapshot(node_, files_);

    auto start = Clock::now();
    RunResult r = Run();
    runTime_ = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    EXPECT_EQ(r.exitCode, 0) << r;
    new_ = TakeSnapshot(node_, files_);
    // A run after one that was killed before it stored Last_Time counts the same
    // sends again over the lists that were already raised.
    node_.WriteRaw(kBusyCtl, old_.at(kBusyCtl));
    node_.Remove(kBusyPositions);
    start = Clock::now();
    r = Run();
    runTime_ = (runTime_ + std::chrono::duration_cast<milliseconds>(Clock::now() - start)) / 2;
    EXPECT_EQ(r.exitCode, 0) << r;
    twice_ = TakeSnapshot(node_, files_);
    for (const std::string& file : files_) {
      EXPECT_NE(old_.at(file), new_.at(file)) << file << " must change in a run";
      if (file == kBusyCtl) continue;  // the same Last_Time again
      EXPECT_NE(new_.at(file), twice_.at(file)) << file << " must change in a second run";
    }
  }

  // Back to the state before any run: old files, no temporary files, no log.
  void Reset() const {
    ResetBusyNode(node_, old_);
  }

  RunResult Run(std::optional<milliseconds> killAfter = std::nullopt) const {
    RunOptions options;
    options.program = program_;
    options.killAfter = killAfter;
    return node_.Run({kBusyUseCtl}, options);
  }

  Content Of(const std::string& file) const {
    const std::string bytes = ReadWhole(node_, file);
    if (bytes == old_.at(file)) return Content::Old;
    if (bytes == new_.at(file)) return Content::New;
    if (bytes == twice_.at(file)) return Content::Twice;
    return Content::Other;
  }

  // The content of every list, in area order.
  std::vector<Content> Lists() const {
    std::vector<Content> lists;
    for (std::size_t i = 0; i + 1 < files_.size(); ++i) lists.push_back(Of(files_[i]));
    return lists;
  }

  const Node& node() const { return node_; }
  const std::vector<std::string>& files() const { return files_; }
  milliseconds runTime() const { return runTime_; }

 private:
  Node node_;
  std::vector<std::string> files_;  // every FILES.BBS, then ZIRKA.CTL
  std::string program_;
  Snapshot old_, new_, twice_;
  milliseconds runTime_{0};
};

// What the kills hit, for the closing line.
struct Tally {
  int kills = 0;
  int finished = 0;     // runs that ended before their moment came
  int beforeLists = 0;  // nothing replaced yet
  int amidLists = 0;    // some lists replaced, ZIRKA.CTL old
  int afterLists = 0;   // every list replaced, ZIRKA.CTL old
  int afterCtl = 0;     // ZIRKA.CTL replaced too
  int tempsLeft = 0;    // kills that left a temporary file for the next run
};

// After a kill: each file old or new, and ZIRKA.CTL new only after every list.
// Returns the lists' contents and whether ZIRKA.CTL is new.
std::vector<Content> CheckKilled(const CrashNode& crash, const RunResult& killed, Tally& tally,
                                 bool& ctlNew) {
  const std::vector<Content> lists = crash.Lists();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    EXPECT_TRUE(lists[i] == Content::Old || lists[i] == Content::New)
        << crash.files()[i] << " is " << Name(lists[i]) << " after the kill\n"
        << killed;
  }
  const Content ctl = crash.Of(kBusyCtl);
  EXPECT_TRUE(ctl == Content::Old || ctl == Content::New) << "ZIRKA.CTL is " << Name(ctl);
  ctlNew = ctl == Content::New;
  const auto newLists = std::count(lists.begin(), lists.end(), Content::New);
  if (ctlNew) {
    EXPECT_EQ(newLists, static_cast<long>(lists.size()))
        << "Last_Time stored before every list was replaced";
  }
  if (!killed.killed) {
    ++tally.finished;
  } else {
    ++tally.kills;
    int& bucket = ctlNew                                       ? tally.afterCtl
                  : newLists == 0                              ? tally.beforeLists
                  : newLists < static_cast<long>(lists.size()) ? tally.amidLists
                                                               : tally.afterLists;
    ++bucket;
    if (!TempFilesLeft(crash.node()).empty()) ++tally.tempsLeft;
  }
  return lists;
}

// The next run completes the killed one and cleans up: every list raised once.
void CheckNextRun(const CrashNode& crash, const RunResult& next, bool ctlNew, bool journalLeft) {
  EXPECT_FALSE(next.killed) << next;
  // A run that completes one that had stored Last_Time ends as that run would have.
  EXPECT_EQ(next.exitCode, ctlNew && !journalLeft ? 4 : 0) << next;
  EXPECT_EQ(TempFilesLeft(crash.node()), std::vector<std::string>{}) << next;
  EXPECT_EQ(Name(crash.Of(kBusyCtl)), std::string(Name(Content::New)));
  const std::vector<Content> after = crash.Lists();
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(Name(after[i]), std::string(Name(Content::New))) << crash.files()[i];
  }
}

TEST(CrashTest, KilledAtRandomMomentsEveryListStaysWhole) {
  SKIP_UNDER_WINE("SIGKILL reaches the Wine loader, not the Windows process");
  CrashNode crash;
  ASSERT_FALSE(HasFailure());
  const auto seed = static_cast<unsigned>(EnvNumber("ZIRKA_CRASH_SEED", 20261207));
  const long maxKills = EnvNumber("ZIRKA_CRASH_KILLS", 300);
  const auto budget = std::chrono::seconds(EnvNumber("ZIRKA_CRASH_SECONDS", 90));
  std::mt19937 random(seed);
  // A moment is a share of the run's length (a little past its end too); the
  // length is followed from the whole runs made on the way, as the load changes.
  // A fifth of the kills land after the run has ended.
  std::uniform_real_distribution<double> share(0.0, 1.25);
  double runMs = static_cast<double>(crash.runTime().count());

  Tally tally;
  const auto start = Clock::now();
  for (int round = 1; tally.kills < maxKills && Clock::now() - start < budget; ++round) {
    const milliseconds at{static_cast<long>(share(random) * runMs)};
    SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round) +
                 ": killed after " + std::to_string(at.count()) + " ms");
    crash.Reset();
    const RunResult killed = crash.Run(at);
    bool ctlNew = false;
    CheckKilled(crash, killed, tally, ctlNew);
    const bool journalLeft = crash.node().Exists(kBusyJournal);

    const auto nextStart = Clock::now();
    const RunResult next = crash.Run();
    if (!ctlNew) {
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - nextStart).count();
      runMs = 0.8 * runMs + 0.2 * ms;
    }
    CheckNextRun(crash, next, ctlNew, journalLeft);
    if (HasFailure()) break;
  }
  std::cout << "[ crash    ] " << tally.kills << " kills survived (seed " << seed
            << ", runs of about " << static_cast<long>(runMs) << " ms): " << tally.beforeLists
            << " before any list, " << tally.amidLists << " amid the lists, " << tally.afterLists
            << " before ZIRKA.CTL, " << tally.afterCtl << " after it; " << tally.tempsLeft
            << " left temporary files that the next run cleaned up; " << tally.finished
            << " runs ended before their moment\n";
  RecordProperty("kills", tally.kills);
  EXPECT_GE(tally.kills, 50) << "too few kills in the time given";
  EXPECT_GT(tally.amidLists, 0) << "no kill landed while the lists were rewritten";
}

// ---- Exactness: after a kill at any moment, one more run of the same command
// leaves every FILES.BBS and ZIRKA.CTL exactly as one uninterrupted run does, in
// normal and forced mode, also with a list edited between the kill and that run.

// How the killed run was started, and what happens before the next one.
struct Variant {
  bool forced = false;
  bool edited = false;  // a tic processor appends an entry to one list after the kill
};

constexpr Variant kVariants[] = {{false, false}, {true, false}, {false, true}, {true, true}};

std::string Name(Variant v) {
  return std::string(v.forced ? "forced" : "normal") + (v.edited ? ", list edited" : "");
}

// A busy node with the program to kill installed in D:\BIN, its files before a
// run, and for every variant the files one uninterrupted run leaves (with the
// edit made before that run).
class ExactNode {
 public:
  ExactNode(const std::string& name, const BusyNodeShape& shape, const std::string& program)
      : node_(name, ScratchParent()), edited_(BusyList(shape.areas / 2)) {
    files_ = MakeBusyNode(node_, shape);
    fs::create_directories(node_.root() + "/BIN");
    program_ = node_.root() + "/BIN/zirka";
    fs::copy_file(program, program_, fs::copy_options::overwrite_existing);
    old_ = TakeSnapshot(node_, files_);
    for (const Variant v : kVariants) {
      Reset();
      if (v.edited) AppendTicEntry(node_, edited_);
      const RunResult r = Run(v.forced);
      EXPECT_EQ(r.exitCode, 0) << Name(v) << "\n" << r;
      expected_[Key(v)] = TakeSnapshot(node_, files_);
    }
    // The edit must not depend on when it is made, or no result would be right.
    const Snapshot& plain = expected_.at(Key({false, false}));
    EXPECT_EQ(expected_.at(Key({false, true})).at(edited_), plain.at(edited_) + kTicEntry);
    EXPECT_NE(plain.at(kBusyCtl), old_.at(kBusyCtl));
    EXPECT_NE(expected_.at(Key({true, false})), plain) << "forced mode must count more";
  }

  // Back to the state before any run: old files, no temporary file, journal or log.
  void Reset() const {
    ResetBusyNode(node_, old_);
  }

  RunResult Run(bool forced, const std::map<std::string, std::string>& env = {},
                std::optional<milliseconds> killAfter = std::nullopt) const {
    RunOptions options;
    options.program = program_;
    options.killAfter = killAfter;
    for (const auto& [name, value] : env) options.env[name] = value;
    std::vector<std::string> args{kBusyUseCtl};
    if (forced) args.push_back("-f");
    return node_.Run(args, options);
  }

  // The fault points of an uninterrupted run (opens, writes, flushes, closes,
  // renames, removals), with the program built with the fault seam.
  long CountFaultPoints(bool forced) const {
    const std::string file = node_.root() + "/../fault.count";
    Reset();
    const RunResult r = Run(forced, {{"ZIRKA_FAULT_COUNT", file}});
    EXPECT_EQ(r.exitCode, 0) << r;
    long count = 0;
    std::ifstream(file) >> count;
    return count;
  }

  // Right after a kill: every file whole, old or new, and ZIRKA.CTL new only
  // once every list is.
  void CheckWhole(Variant v) const {
    const Snapshot& fresh = expected_.at(Key({v.forced, false}));
    long newLists = 0;
    for (const std::string& file : files_) {
      const std::string bytes = ReadWhole(node_, file);
      EXPECT_TRUE(bytes == old_.at(file) || bytes == fresh.at(file)) << file << " is broken";
      if (file != kBusyCtl && bytes != old_.at(file)) ++newLists;
    }
    if (ReadWhole(node_, kBusyCtl) != old_.at(kBusyCtl)) {
      EXPECT_EQ(newLists, static_cast<long>(files_.size()) - 1) << "Last_Time stored too early";
    }
  }

  // After a kill: the edit of the variant, then the same command once more, or an
  // ordinary run when the killed run had finished its work (no journal, Last_Time
  // stored; a forced run would count everything again, by request). Then the node
  // holds exactly what one uninterrupted run leaves, and an ordinary run finds
  // nothing new.
  void CheckCompleted(Variant v, std::optional<long> killNextAt = std::nullopt) const {
    const bool journal = node_.Exists(kBusyJournal);
    const bool finished = !journal && ReadWhole(node_, kBusyCtl) != old_.at(kBusyCtl);
    if (v.edited) AppendTicEntry(node_, edited_);
    if (!finished && killNextAt) {
      // The run that completes the killed one is killed too.
      SCOPED_TRACE("the next run killed at file operation " + std::to_string(*killNextAt));
      const RunResult second = Run(v.forced, {{"ZIRKA_FAULT_KILL", "1"},
                                              {"ZIRKA_FAULT_AT", std::to_string(*killNextAt)}});
      CheckWhole(v);
      if (!second.killed) return CheckSame(v, "the completing run");
      return CheckCompleted({v.forced, false});
    }
    // A run killed after it had finished is followed by an ordinary run too: it
    // must find nothing new.
    const RunResult next = Run(v.forced && !finished);
    EXPECT_FALSE(next.killed) << next;
    EXPECT_EQ(next.exitCode, finished ? 4 : 0) << next;
    CheckSame(v, finished ? "the killed run had finished" : "one run after the kill");
  }

  const Node& node() const { return node_; }
  // The checks whose node differed from an uninterrupted run's.
  int differed() const { return differed_; }

 private:
  static int Key(Variant v) { return (v.forced ? 1 : 0) + (v.edited ? 2 : 0); }

  // The files that differ from `want`, by their path below the root.
  std::vector<std::string> Differing(const Snapshot& want) const {
    std::vector<std::string> differing;
    for (const std::string& file : files_) {
      if (ReadWhole(node_, file) != want.at(file)) differing.push_back(file);
    }
    return differing;
  }

  void CheckSame(Variant v, const std::string& when) const {
    const std::vector<std::string> none;
    if (!Differing(expected_.at(Key(v))).empty()) ++differed_;
    EXPECT_EQ(Differing(expected_.at(Key(v))), none)
        << "differ from an uninterrupted run (" << Name(v) << "; " << when << ")";
    EXPECT_FALSE(node_.Exists(kBusyJournal)) << when;
    EXPECT_EQ(TempFilesLeft(node_), none) << when;
    const Snapshot now = TakeSnapshot(node_, files_);
    const RunResult again = Run(false);
    EXPECT_EQ(again.exitCode, 4) << "an ordinary run after it found something new\n" << again;
    EXPECT_EQ(Differing(now), none) << "changed by an ordinary run after it";
  }

  Node node_;
  std::string edited_;              // the list the tic processor appends to
  std::vector<std::string> files_;  // every FILES.BBS, then ZIRKA.CTL
  std::string program_;
  Snapshot old_;
  std::map<int, Snapshot> expected_;  // by Key(variant)
  mutable int differed_ = 0;
};

TEST(CrashTest, KillAtARandomMomentThenOneRunGivesTheUninterruptedResult) {
  SKIP_UNDER_WINE("SIGKILL reaches the Wine loader, not the Windows process");
  BusyNodeShape shape;
  shape.areas = 120;
  shape.filesPerArea = 8;
  shape.sessions = std::max(1, static_cast<int>(EnvNumber("ZIRKA_CRASH_SESSIONS", 150)));
  ExactNode exact("exact_random", shape, ProgramUnderTest());
  ASSERT_FALSE(HasFailure());
  const auto seed = static_cast<unsigned>(EnvNumber("ZIRKA_CRASH_SEED", 20261207));
  const long maxKills = EnvNumber("ZIRKA_CRASH_KILLS", 300) / 4;
  const auto budget = std::chrono::seconds(EnvNumber("ZIRKA_CRASH_SECONDS", 90)) / 4;
  std::mt19937 random(seed);
  // A fifth of the kills land after the run has ended.
  std::uniform_real_distribution<double> share(0.0, 1.25);
  for (const Variant v : kVariants) {
    exact.Reset();
    auto start = Clock::now();
    exact.Run(v.forced);
    double runMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    int kills = 0;
    int journals = 0;  // kills that left a run to complete
    int late = 0;      // kills after the run had ended
    const int differedBefore = exact.differed();
    start = Clock::now();
    for (int round = 1; kills < maxKills && Clock::now() - start < budget; ++round) {
      const milliseconds at{static_cast<long>(share(random) * runMs)};
      SCOPED_TRACE(Name(v) + ", seed " + std::to_string(seed) + ", round " +
                   std::to_string(round) + ": killed after " + std::to_string(at.count()) + " ms");
      exact.Reset();
      const RunResult killed = exact.Run(v.forced, {}, at);
      if (killed.killed) ++kills;
      if (!killed.killed) ++late;
      if (exact.node().Exists(kBusyJournal)) ++journals;
      exact.CheckWhole(v);
      exact.CheckCompleted(v);
      // ZIRKA_CRASH_TALLY=1 goes on after a difference, to count them all.
      if (HasFailure() && EnvNumber("ZIRKA_CRASH_TALLY", 0) == 0) return;
    }
    std::cout << "[ exact    ] " << Name(v) << ": " << kills << " kills, " << journals
              << " of them amid the lists, " << late << " after the run had ended; one run after each; "
              << exact.differed() - differedBefore
              << " ended different from an uninterrupted run\n";
    EXPECT_GE(kills, 10) << Name(v) << ": too few kills in the time given";
    EXPECT_GT(journals, 0) << Name(v) << ": no kill landed while the lists were rewritten";
    EXPECT_GT(late, 0) << Name(v) << ": no kill landed after the run had ended";
  }
}

// The fault seam's kill mode: the k-th file operation ends the run at once.
class KillPointTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_UNDER_WINE("the fault seam is built natively only");
    BusyNodeShape shape;
    shape.areas = 5;
    shape.filesPerArea = 5;
    shape.sessions = 12;
    exact_.emplace("exact_points", shape, ZIRKA_E2E_FAULTY_PROGRAM);
  }
  std::optional<ExactNode> exact_;
};

TEST_F(KillPointTest, KillAtEveryFileOperationThenOneRunGivesTheUninterruptedResult) {
  ASSERT_FALSE(HasFailure());
  std::mt19937 random(20261207);
  for (const Variant v : kVariants) {
    const long count = exact_->CountFaultPoints(v.forced);
    for (long k = 1; k <= count; ++k) {
      SCOPED_TRACE(Name(v) + ": killed at file operation " + std::to_string(k) + " of " +
                   std::to_string(count));
      exact_->Reset();
      const RunResult killed = exact_->Run(v.forced, {{"ZIRKA_FAULT_KILL", "1"},
                                                      {"ZIRKA_FAULT_AT", std::to_string(k)}});
      EXPECT_TRUE(killed.killed) << killed;
      exact_->CheckWhole(v);
      // Without an edit, the run that completes it is killed once too, at a point
      // of its own.
      std::optional<long> again;
      if (!v.edited) again = std::uniform_int_distribution<long>(1, count)(random);
      exact_->CheckCompleted(v, again);
      if (HasFailure()) return;
    }
    std::cout << "[ exact    ] " << Name(v) << ": killed at each of " << count
              << " file operations\n";
  }
}

}  // namespace
}  // namespace zirka::e2e
