// Lists that other programs share: links stay links, a replaced file keeps its
// mode and owner, a line another program adds before the move is kept, devices
// are never read, and one list reached by two spellings is raised twice.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace zirka::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kUseCtl = "-c=D:\\FIDO\\ZIRKA.CTL";

std::string Sent(const std::string& time, const std::string& path) {
  return time + " ZS " + path + " OK: 2400 cps\n";
}

struct Owner {
  unsigned mode = 0;
  unsigned uid = 0;
  unsigned gid = 0;
  bool operator==(const Owner&) const = default;
};

Owner OwnerOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return Owner{static_cast<unsigned>(st.st_mode & 07777), st.st_uid, st.st_gid};
}

// A node whose lists are shared: A's list is a link to SHARED/FILES.BBS, B's
// directory a link to REAL/B, C's list of mode 0640 (owned by 1234:2345 as root),
// and ZIRKA.CTL a link to ETC/ZIRKA.CTL of the same mode and owner. FOO.ZIP is in
// A and C (FIRST_ONLY raises A's), BAZ.ZIP in C; ADDED.ZIP is the entry another
// program appends (the fault seam's ZIRKA_FAULT_APPEND) right before a list's move.
TEST(SharedListsRun, LinksModesOwnersAndLinesAddedBeforeTheMove) {
  SKIP_UNDER_WINE("Wine replaces a POSIX link as a file; the fault seam is native");
  const bool root = ::geteuid() == 0;
  const Owner kept{0640, root ? 1234u : ::geteuid(), root ? 2345u : ::getegid()};
  struct Row {
    const char* append;  // ZIRKA_FAULT_APPEND
    const char* a;       // SHARED/FILES.BBS afterwards
    const char* c;       // C's list afterwards
    bool replaced;       // every list was replaced
  };
  const std::string added = "ADDED.ZIP    [000] Appended by another program\n";
  const std::vector<Row> rows = {
      {"", "FOO.ZIP      [002] foo\n", "FOO.ZIP [1] foo again\nBAZ.ZIP      [002]\n", true},
      // A is copied again with the added entry, FOO's FIRST_ONLY mark taken back first.
      {"once", "FOO.ZIP      [002] foo\nADDED.ZIP    [001] Appended by another program\n",
       "FOO.ZIP [1] foo again\nBAZ.ZIP      [002]\n", true},
      // Every list changes before each move: all are left as they are, with every
      // entry the other program added.
      {"always", nullptr, nullptr, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.append);
    Node node(std::string("shared_lists_") + (*row.append ? row.append : "clean"));
    node.Write("ETC/ZIRKA.CTL",
               "LOG D:\\FIDO\\ZIRKA.LOG\nCTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"
               "AREA D:\\FILES\\A\nAREA D:\\FILES\\B\nAREA D:\\FILES\\C\n"
               "Last_Time 01/05 10:00:00\n");
    node.MakeDir("FIDO");
    fs::create_symlink("../ETC/ZIRKA.CTL", node.root() + "/FIDO/ZIRKA.CTL");
    node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
    node.Write("T-MAIL/T-MAIL.LOG", Sent("02/05 11:00:00", "X:\\FOO.ZIP") +
                                        Sent("02/05 11:00:01", "X:\\BAR.ZIP") +
                                        Sent("02/05 11:00:02", "X:\\ADDED.ZIP") +
                                        Sent("02/05 11:00:03", "X:\\BAZ.ZIP"));
    node.Write("SHARED/FILES.BBS", "FOO.ZIP [1] foo\n");
    node.MakeDir("FILES/A");
    fs::create_symlink("../../SHARED/FILES.BBS", node.root() + "/FILES/A/FILES.BBS");
    node.Write("REAL/B/FILES.BBS", "BAR.ZIP [7]\n");
    fs::create_directory_symlink("../REAL/B", node.root() + "/FILES/B");
    node.Write("FILES/C/FILES.BBS", "FOO.ZIP [1] foo again\nBAZ.ZIP [1]\n");
    for (const char* file : {"/FILES/C/FILES.BBS", "/ETC/ZIRKA.CTL"}) {
      ::chmod((node.root() + file).c_str(), 0640);
      if (root) {
        EXPECT_EQ(::chown((node.root() + file).c_str(), 1234, 2345), 0);
      }
    }
    RunOptions options;
    options.program = ZIRKA_E2E_FAULTY_PROGRAM;
    if (*row.append) {
      options.env["ZIRKA_FAULT_APPEND"] = row.append;
    }
    const RunResult r = node.Run({kUseCtl}, options);
    EXPECT_EQ(r.exitCode, 0) << r;

    EXPECT_TRUE(fs::is_symlink(node.root() + "/FIDO/ZIRKA.CTL"));
    EXPECT_TRUE(fs::is_symlink(node.root() + "/FILES/A/FILES.BBS"));
    EXPECT_TRUE(fs::is_symlink(node.root() + "/FILES/B"));
    EXPECT_NE(node.Read("ETC/ZIRKA.CTL").find("Last_Time 02/05 11:00:03"), std::string::npos);
    // The positions file beside the control file itself, no temporary file left.
    EXPECT_EQ(node.List("ETC"), (std::vector<std::string>{"ZIRKA.CTL", "ZIRKA.POS"}));
    EXPECT_EQ(node.List("FIDO"), (std::vector<std::string>{"ZIRKA.CTL", "ZIRKA.LOG"}));
    EXPECT_EQ(node.List("SHARED"), std::vector<std::string>{"FILES.BBS"});
    EXPECT_EQ(node.List("REAL/B"), std::vector<std::string>{"FILES.BBS"});
    EXPECT_EQ(OwnerOf(node.root() + "/ETC/ZIRKA.CTL"), kept);
    EXPECT_EQ(OwnerOf(node.root() + "/FILES/C/FILES.BBS"), kept);
    if (row.replaced) {
      EXPECT_EQ(node.Read("SHARED/FILES.BBS"), Dos(row.a));
      EXPECT_EQ(node.Read("REAL/B/FILES.BBS"), Dos("BAR.ZIP      [008]\n"));
      EXPECT_EQ(node.Read("FILES/C/FILES.BBS"), Dos(row.c));
      EXPECT_EQ(r.screen.find("!ERR-"), std::string::npos) << r;
    } else {
      const std::string four = added + added + added + added;
      EXPECT_EQ(node.Read("SHARED/FILES.BBS"), Dos("FOO.ZIP [1] foo\n" + four));
      EXPECT_EQ(node.Read("REAL/B/FILES.BBS"), Dos("BAR.ZIP [7]\n" + four));
      EXPECT_EQ(node.Read("FILES/C/FILES.BBS"), Dos("FOO.ZIP [1] foo again\nBAZ.ZIP [1]\n" + four));
      for (const char* area : {"A", "B", "C"}) {
        const std::string error = std::string("!ERR-Cann't replace D:\\FILES\\") + area + "\\FILES.BBS\n";
        EXPECT_NE(r.screen.find(error), std::string::npos) << r;
        EXPECT_NE(node.Read("FIDO/ZIRKA.LOG").find(Dos(error)), std::string::npos);
      }
    }
  }
}

// Another program appends to A's list before its move, so A and the lists after it
// in its batch are withdrawn and copied anew. Killed at each file operation of
// such a run, the next (ordinary) run leaves every list as one run would have:
// A with the appended entry raised once it is there, FOO.ZIP raised in A only.
TEST(SharedListsRun, KilledAroundListsWithdrawnFromTheirBatch) {
  SKIP_UNDER_WINE("the fault seam is built natively only");
  const auto make = [](Node& node) {
    node.Write("FIDO/ZIRKA.CTL",
               "LOG D:\\FIDO\\ZIRKA.LOG\nCTL_PATH D:\\T-MAIL\\T-MAIL.CTL\nAREA D:\\FILES\\A\n"
               "AREA D:\\FILES\\B\nAREA D:\\FILES\\C\nLast_Time 01/05 10:00:00\n");
    node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
    node.Write("T-MAIL/T-MAIL.LOG", Sent("02/05 11:00:00", "X:\\FOO.ZIP") +
                                        Sent("02/05 11:00:02", "X:\\ADDED.ZIP") +
                                        Sent("02/05 11:00:03", "X:\\BAZ.ZIP"));
    node.Write("FILES/A/FILES.BBS", "FOO.ZIP [1] foo\n");
    node.Write("FILES/B/FILES.BBS", "BAZ.ZIP [7]\n");
    node.Write("FILES/C/FILES.BBS", "FOO.ZIP [1] foo again\n");
  };
  RunOptions faulty;
  faulty.program = ZIRKA_E2E_FAULTY_PROGRAM;
  faulty.env["ZIRKA_FAULT_APPEND"] = "once";
  long count = 0;
  {
    Node node("withdrawn_count");
    make(node);
    RunOptions counting = faulty;
    counting.env["ZIRKA_FAULT_COUNT"] = node.root() + "/../withdrawn.count";
    EXPECT_EQ(node.Run({kUseCtl}, counting).exitCode, 0);
    std::ifstream(node.root() + "/../withdrawn.count") >> count;
  }
  ASSERT_GT(count, 10);
  for (long k = 1; k <= count; ++k) {
    SCOPED_TRACE("killed at file operation " + std::to_string(k) + " of " + std::to_string(count));
    Node node("withdrawn_" + std::to_string(k));
    make(node);
    RunOptions killing = faulty;
    killing.env["ZIRKA_FAULT_KILL"] = "1";
    killing.env["ZIRKA_FAULT_AT"] = std::to_string(k);
    EXPECT_TRUE(node.Run({kUseCtl}, killing).killed);
    // 4 once the killed run had stored its Last_Time: nothing new is left.
    const RunResult r = node.Run({kUseCtl});
    EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 4) << r;
    const bool added = node.Read("FILES/A/FILES.BBS").find("ADDED") != std::string::npos;
    EXPECT_EQ(node.Read("FILES/A/FILES.BBS"),
              Dos(added ? "FOO.ZIP      [002] foo\n"
                          "ADDED.ZIP    [001] Appended by another program\n"
                        : "FOO.ZIP      [002] foo\n"));
    EXPECT_EQ(node.Read("FILES/B/FILES.BBS"), Dos("BAZ.ZIP      [008]\n"));
    EXPECT_EQ(node.Read("FILES/C/FILES.BBS"), Dos("FOO.ZIP [1] foo again\n"));
    for (const char* area : {"A", "B", "C"}) {
      EXPECT_EQ(node.List(std::string("FILES/") + area), std::vector<std::string>{"FILES.BBS"});
    }
    if (HasFailure()) return;
  }
}

// A log or a list that is a device is passed over as a file that can't be opened;
// the run neither hangs nor reads it, and the program log may be the null device.
TEST(SharedListsRun, DevicesAreNeverRead) {
  Node node("shared_lists_devices");
  // Under Wine a serial port by its DOS name; the list is a link to /dev/zero.
  node.Write("FIDO/ZIRKA.CTL", std::string(UnderWine() ? "LOG NUL\nLOG_PATH COM1\n"
                                                       : "LOG /dev/null\nLOG_PATH /dev/zero\n") +
                                   "CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\nAREA D:\\FILES\\A\n"
                                   "AREA D:\\FILES\\DEV\nLast_Time 01/05 10:00:00\n");
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", Sent("02/05 11:00:00", "X:\\FOO.ZIP"));
  node.Write("FILES/A/FILES.BBS", "FOO.ZIP [1]\n");
  node.MakeDir("FILES/DEV");
  fs::create_symlink("/dev/zero", node.root() + "/FILES/DEV/FILES.BBS");
  RunOptions options;
  options.timeout = std::chrono::milliseconds(20000);
  const RunResult r = node.Run({kUseCtl, "-d"}, options);
  EXPECT_FALSE(r.killed) << r;
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(node.Read("FILES/A/FILES.BBS"), Dos("FOO.ZIP      [002]\n"));
  EXPECT_TRUE(fs::is_symlink(node.root() + "/FILES/DEV/FILES.BBS"));
  EXPECT_NE(r.screen.find("D:\\FILES\\DEV\\FILES.BBS not found! Ignoring"), std::string::npos) << r;
}

// One list reached through two AREA lines, two spellings of one directory, with
// FIRST_ONLY off: each run raises it twice, natively and under Wine, where the
// first replacement's move must be over before the list is opened again.
TEST(SharedListsRun, OneListThroughTwoSpellingsIsRaisedTwice) {
  Node node("shared_lists_two_spellings");
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", Sent("02/05 11:00:00", "X:\\FOO.ZIP"));
  RunOptions options;
  options.cwd = "";  // D:\, where FILES\UTIL and .\FILES\UTIL lead
  for (int run = 1; run <= 20; ++run) {
    SCOPED_TRACE(run);
    node.Write("FIDO/ZIRKA.CTL",
               "CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\nFIRST_ONLY No\nAREA FILES\\UTIL\n"
               "AREA .\\FILES\\UTIL\nLast_Time 01/05 10:00:00\n");
    node.Remove("FIDO/ZIRKA.POS");
    node.Write("FILES/UTIL/FILES.BBS", "FOO.ZIP [000] foo\nBAR.ZIP [000] bar\n");
    const RunResult r = node.Run({kUseCtl}, options);
    ASSERT_EQ(r.exitCode, 0) << r;
    ASSERT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos("FOO.ZIP      [002] foo\nBAR.ZIP [000] bar\n"))
        << r;
  }
}

}  // namespace
}  // namespace zirka::e2e
