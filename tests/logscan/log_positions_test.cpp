#include "logscan/log_positions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "logscan/freshness.h"
#include "logscan/sent_scan.h"
#include "support/captured_run.h"
#include "support/end_of.h"
#include "support/failing_raw_file.h"
#include "support/scratch_dir.h"

namespace zirka {
namespace {

using testing::CapturedRun;
using testing::EndOf;
using testing::ScratchDir;

TEST(Positions, FormatAndParse) {
  const std::vector<LogPosition> positions = {{58811, 0x9F3A5B7C1D2E4F60ull, "D:\\T-MAIL\\T-MAIL.LOG"},
                                              {0, HeadHash(""), "/home/fido/log/binkd.log"}};
  std::vector<LogPosition> back;
  std::string error;
  ASSERT_TRUE(ParsePositions(FormatPositions(positions), back, error)) << error;
  EXPECT_EQ(back, positions);

  // Sound lines are kept; the first that makes no sense is named.
  const char* bad[] = {"12x 9F3A5B7C1D2E4F60 A.LOG", "12 9F3A5B7C1D2E4F6 A.LOG",
                       "12 9f3a5b7c1d2e4f60 A.LOG", "12 9F3A5B7C1D2E4F60 ", "-1 9F3A5B7C1D2E4F60 A"};
  for (const char* line : bad) {
    ASSERT_FALSE(ParsePositions("; title\r\n1 0000000000000001 OK.LOG\r\n" + std::string(line) +
                                    "\r\n",
                                back, error))
        << line;
    EXPECT_EQ(error, "line 3 is not \"offset hash path\"") << line;
    ASSERT_EQ(back.size(), 1u) << line;
    EXPECT_EQ(back[0].path, "OK.LOG");
  }
}

// A log that goes on from its stored position is read from the offset on: before it
// only its head (that identifies it) and the byte before the offset are read.
TEST(Positions, NothingBeforeTheOffsetIsReadButTheHeadAndTheByteBeforeIt) {
  std::string old;
  while (old.size() < 300000) old += "01/05 10:00:00 ZS C:\\FILES\\OLD.ZIP OK: 100 cps\r\n";
  const std::string fresh = "02/05 11:00:00 ZS C:\\FILES\\NEW.ZIP OK: 100 cps\r\n";
  ScratchDir scratch;
  const std::string ctlPath = scratch.Path("ZIRKA.CTL");
  scratch.Put("ZIRKA.POS", FormatPositions({{old.size(), HeadHash(old.substr(0, 4096)), "A.LOG"}}));
  CapturedRun run("Last_Time 01/05 10:00:00\n");
  run.ctx.mainCtlPath = ctlPath;
  testing::FailingReadFile::Ranges reads;
  const std::string log = old + fresh + "02/05 11:00:01 half a li";
  LogEntry entry;
  entry.path = "A.LOG";
  entry.stream = std::make_unique<platform::TextFile>(
      std::make_unique<testing::FailingReadFile>(log, log.size(), &reads), "A.LOG");
  run.ctx.logTable.push_back(std::move(entry));

  EXPECT_EQ(EndOf(run.ctx, CheckFreshness(run.ctx)), -1);
  ScanSentFiles(run.ctx);
  ASSERT_EQ(run.ctx.sentTable.size(), 1u);
  EXPECT_EQ(run.ctx.sentTable.records()[0].name, "NEW.ZIP");
  const std::vector<LogPosition> stored = PositionsToStore(run.ctx);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].offset, old.size() + fresh.size());  // the half line is left

  const std::uint64_t offset = old.size();
  for (const auto& [from, to] : reads) {
    const bool head = to <= kLogHeadBytes;
    const bool byteBefore = from == offset - 1 && to == offset;
    EXPECT_TRUE(head || byteBefore || from >= offset) << "read " << from << " to " << to;
  }
}

}  // namespace
}  // namespace zirka
