// Each log line counted once over many runs: a run goes on where the last one
// stopped in each log (ZIRKA.POS), whatever the calendar, the clock or a rotation
// did in between; two runs at once take turns.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "e2e/harness.h"
#include "e2e/log_lines.h"
#include "e2e/holder.h"

namespace zirka::e2e {
namespace {

const std::string kCtl = "FIDO/ZIRKA.CTL";
const std::string kUseCtl = "-c=D:\\FIDO\\ZIRKA.CTL";
const std::string kList = "FILES/FILES.BBS";
const std::string kBinkd = "LOG/BINKD.LOG";
const std::string kTmail = "LOG/T-MAIL.LOG";

// A binkd send of ARJ250.EXE at "DD Mon HH:MM:SS".
std::string BinkdSend(const std::string& when) { return BinkdSent(when, "/srv/files/arj250.exe"); }
std::string BinkdLine(const std::string& when) { return "- " + when + " [4711] done\n"; }
// A T-Mail send of ARJ250.EXE at "DD/MM HH:MM:SS".
std::string TmailSend(const std::string& when) {
  return when + " ZS D:\\FILES\\ARJ250.EXE OK: 2400 cps\n";
}

// Lines of a binkd log that nobody rotates: from 15 Dec of last year to 07 Dec,
// three sends (Dec, Jun, Dec).
std::string YearLongBinkdLog() {
  return BinkdLine("15 Dec 09:00:00") + BinkdSend("16 Dec 10:00:00") +
         BinkdLine("02 Jan 00:10:00") + BinkdSend("07 Jun 12:00:00") +
         BinkdLine("30 Nov 23:00:00") + BinkdSend("07 Dec 14:30:15");
}

// The counter of ARJ250.EXE in the list, or -1.
int Counter(const Node& node) {
  const std::string list = node.Read(kList);
  const std::size_t open = list.find('[');
  return open == std::string::npos ? -1 : std::atoi(list.c_str() + open + 1);
}

void MakeNode(const Node& node, const std::string& lastTime = "") {
  node.Write(kCtl, "BINKD_LOG D:\\LOG\\BINKD.LOG\nLOG_PATH D:\\LOG\\T-MAIL.LOG\n"
                   "LOG_PATH D:\\LOG\\T-MAIL.1\nAREA D:\\FILES\n" +
                       (lastTime.empty() ? "" : "Last_Time " + lastTime + "\n"));
  node.Write(kList, "ARJ250.EXE [003] Archiver\n");
}

// One run of a case: what is done to the node first, then the errorlevel and the
// counter the run must leave.
struct Step {
  std::function<void(const Node&)> before;
  int exitCode;
  int counter;
};

struct Case {
  const char* name;
  std::string lastTime;  // stored before the first run; empty: none
  std::vector<Step> steps;
  bool debug = false;  // every run with -d, which settles where a log starts before the scan
};

void Nothing(const Node&) {}
std::function<void(const Node&)> Append(const std::string& rel, const std::string& text) {
  return [=](const Node& node) { node.WriteRaw(rel, node.Read(rel) + Dos(text)); };
}
std::function<void(const Node&)> Write(const std::string& rel, const std::string& text) {
  return [=](const Node& node) { node.Write(rel, text); };
}

TEST(PositionsRun, EachSendIsCountedOnceWhateverTheCalendar) {
  const std::string febToOct = TmailSend("15/02 10:00:00") + "30/06 12:00:00 Session end\n" +
                               TmailSend("31/10 23:49:33");
  const std::vector<Case> cases = {
      {"year-long binkd log, three runs", "",
       {{Write(kBinkd, YearLongBinkdLog()), 0, 6}, {Nothing, 4, 6}, {Nothing, 4, 6}}},
      {"T-Mail log from February to October, twice", "",
       {{Write(kTmail, febToOct), 0, 5}, {Nothing, 4, 5}}},
      {"a Last_Time stored before positions were kept, year-long log", "07/06 12:00:00",
       {{Write(kBinkd, YearLongBinkdLog()), 0, 4}, {Nothing, 4, 4}}},
      {"the same in debug mode", "07/06 12:00:00",
       {{Write(kBinkd, YearLongBinkdLog()), 0, 4}, {Nothing, 4, 4}}, true},
      {"a send in the same second as the last one read", "",
       {{Write(kTmail, TmailSend("07/12 14:30:15")), 0, 4},
        {Append(kTmail, TmailSend("07/12 14:30:15")), 0, 5},
        {Nothing, 4, 5}}},
      {"a clock set back", "",
       {{Write(kBinkd, BinkdSend("07 Dec 14:30:15")), 0, 4},
        {Append(kBinkd, BinkdSend("07 Dec 13:45:00")), 0, 5},
        {Nothing, 4, 5}}},
      {"a last line the mailer is still writing", "",
       {{Write(kTmail, TmailSend("07/12 10:00:00") + "07/12 10:05:00 ZS D:\\FILES\\ARJ2"), 0, 4},
        {Append(kTmail, "50.EXE OK: 2400 cps\n"), 0, 5},
        {Nothing, 4, 5}}},
      {"logrotate's create: the old log renamed, a new one begun", "",
       {{Write(kTmail, TmailSend("07/12 10:00:00")), 0, 4},
        {[](const Node& node) {
           node.WriteRaw("LOG/T-MAIL.1", node.Read(kTmail) + Dos(TmailSend("07/12 10:30:00")));
           node.Write(kTmail, TmailSend("07/12 11:00:00"));
         },
         0, 6},
        {Nothing, 4, 6}}},
      {"logrotate's copytruncate: the log emptied and written on", "",
       {{Write(kBinkd, BinkdSend("07 Dec 10:00:00")), 0, 4},
        {Write(kBinkd, BinkdSend("07 Dec 11:00:00")), 0, 5},
        {Nothing, 4, 5}}},
      {"a log edited at its head", "",
       {{Write(kTmail, "07/12 09:00:00 started\n" + TmailSend("07/12 10:00:00")), 0, 4},
        {Write(kTmail, "07/12 09:00:00 STARTED\n" + TmailSend("07/12 10:00:00")), 4, 4}}},
      {"a damaged positions file", "",
       {{Write(kTmail, TmailSend("07/12 10:00:00")), 0, 4},
        {Write("FIDO/ZIRKA.POS", "; positions\n12x garbage\n"), 4, 4},
        {Append(kTmail, TmailSend("07/12 11:00:00")), 0, 5},
        {Nothing, 4, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Node node("positions");
    MakeNode(node, c.lastTime);
    int number = 0;
    for (const Step& step : c.steps) {
      SCOPED_TRACE("run " + std::to_string(++number));
      step.before(node);
      const std::string list = node.Read(kList);
      const RunResult r = c.debug ? node.Run({kUseCtl, "-d"}) : node.Run({kUseCtl});
      EXPECT_EQ(r.exitCode, step.exitCode) << r;
      EXPECT_EQ(Counter(node), step.counter) << r;
      if (step.exitCode == 4) {
        EXPECT_EQ(node.Read(kList), list) << "a list changed";
      }
      EXPECT_FALSE(node.Exists("FIDO/ZIRKA.JNL"));
      EXPECT_FALSE(node.Exists("FIDO/ZIRKA.LCK"));
    }
    if (std::string(c.name) == "a damaged positions file") {
      EXPECT_EQ(node.Read("FIDO/ZIRKA.POS").rfind("; Zirka log positions", 0), 0u);
    }
  }
}

// The positions file holds an offset, the head's hash and the path of each log,
// and a run whose log can't be opened keeps that log's position for later.
TEST(PositionsRun, PositionsFileAndALogThatCantBeOpened) {
  Node node("positions_file");
  MakeNode(node);
  node.Write(kTmail, TmailSend("07/12 10:00:00"));
  node.Write(kBinkd, BinkdSend("07 Dec 10:30:00"));
  ASSERT_EQ(node.Run({kUseCtl}).exitCode, 0);
  const std::string positions = node.Read("FIDO/ZIRKA.POS");
  EXPECT_NE(positions.find(" D:\\LOG\\BINKD.LOG\r\n"), std::string::npos) << positions;
  const std::string tmailEnd = std::to_string(Dos(TmailSend("07/12 10:00:00")).size());
  EXPECT_NE(positions.find("\r\n" + tmailEnd + " "), std::string::npos) << positions;

  node.Remove(kBinkd);
  node.MakeDir(kBinkd);  // a directory where the log should be: it can't be opened
  node.WriteRaw(kTmail, node.Read(kTmail) + Dos(TmailSend("07/12 11:00:00")));
  RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Counter(node), 6);
  EXPECT_NE(node.Read("FIDO/ZIRKA.POS").find(" D:\\LOG\\BINKD.LOG\r\n"), std::string::npos);
}

// Two runs started together leave the lists and ZIRKA.CTL as one run does, and a
// run that finds the lock held longer than it may wait changes nothing.
TEST(PositionsRun, TwoRunsAtOnceTakeTurns) {
  Node node("positions_two_runs");
  MakeNode(node);
  std::string log;
  for (int minute = 10; minute < 50; ++minute) {
    log += TmailSend("07/12 10:" + std::to_string(minute) + ":00");
  }
  node.Write(kTmail, log);
  auto first = std::async(std::launch::async, [&] { return node.Run({kUseCtl}); });
  const RunResult second = node.Run({kUseCtl});
  const RunResult one = first.get();
  EXPECT_EQ(one.exitCode + second.exitCode, 4) << one << second;  // one counts, one finds nothing
  EXPECT_EQ(Counter(node), 43);
  EXPECT_NE(node.Read(kCtl).find("Last_Time 07/12 10:49:00"), std::string::npos);

  node.WriteRaw(kTmail, node.Read(kTmail) + Dos(TmailSend("07/12 11:00:00")));
  const std::string ctl = node.Read(kCtl);
  Holder other(node, "deny-all", "FIDO/ZIRKA.LCK");
  ASSERT_TRUE(other.holding());
  RunOptions impatient;
  impatient.env["ZIRKA_LOCK_WAIT"] = "1";
  const RunResult r = node.Run({kUseCtl}, impatient);
  EXPECT_EQ(r.exitCode, 3) << r;
  EXPECT_NE(r.screen.find("\xFE Waiting for another run of Zirka with D:\\FIDO\\ZIRKA.CTL...gave up\n"
                          "!ERR-Another run of Zirka still holds D:\\FIDO\\ZIRKA.LCK: nothing done\n"),
            std::string::npos)
      << r;
  EXPECT_EQ(Counter(node), 43);
  EXPECT_EQ(node.Read(kCtl), ctl);
  EXPECT_EQ(other.Release(), 0);
  EXPECT_EQ(node.Run({kUseCtl}).exitCode, 0);
  EXPECT_EQ(Counter(node), 44);
}

// A control file whose directory refuses every rename: the journal can't be put in
// place, so no list is raised, run after run.
TEST(PositionsRun, NoRaiseWithoutAJournal) {
  SKIP_UNDER_WINE("chattr is a Linux tool");
  Node node("positions_no_rename");
  MakeNode(node);
  node.Write(kTmail, TmailSend("07/12 10:00:00"));
  const std::string dir = node.root() + "/FIDO";
  if (std::system(("chattr +a '" + dir + "' 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "chattr +a is not available here";
  }
  for (int run = 0; run < 2; ++run) {
    const RunResult r = node.Run({kUseCtl});
    EXPECT_EQ(r.exitCode, 3) << r;
    EXPECT_NE(r.screen.find("!ERR-Cann't write journal D:\\FIDO\\ZIRKA.JNL\n"), std::string::npos)
        << r;
    EXPECT_EQ(Counter(node), 3);
  }
  std::system(("chattr -a '" + dir + "'").c_str());
}

}  // namespace
}  // namespace zirka::e2e
