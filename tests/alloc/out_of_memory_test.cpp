// Whole runs in which every allocation from the k-th on fails: each ends with
// errorlevel 6 (or, with k past the run's last allocation, normally) and none
// aborts. Global operator new is replaced in this test program only.

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.h"
#include "run/run.h"
#include "support/scratch_dir.h"

namespace {

// Allocations are counted while armed; from the failAt-th on, each one fails.
// The lists are rewritten on two threads, so the count is shared.
std::atomic<bool> armed = false;
std::atomic<long long> counted = 0;
std::atomic<long long> failAt = 0;  // 0: none fails

}  // namespace

void* operator new(std::size_t size) {
  if (armed && ++counted >= failAt && failAt > 0) throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace zirka {
namespace {

using testing::ScratchDir;

// A screen that keeps the last bytes written without allocating.
class FixedScreen : public platform::Screen {
 public:
  void Write(std::string_view text) override {
    for (const char c : text) {
      if (size_ == sizeof bytes_) {
        std::memmove(bytes_, bytes_ + 1, sizeof bytes_ - 1);
        --size_;
      }
      bytes_[size_++] = c;
    }
  }
  void Clear() { size_ = 0; }
  std::string Tail() const { return std::string(bytes_, size_); }

 private:
  char bytes_[4096] = {};
  std::size_t size_ = 0;
};

class OutOfMemoryTest : public ::testing::Test {
 protected:
  // A node with a program log, a report, one log with two sent files and two
  // areas (the first list is finished while the second is copied).
  void MakeNode() {
    for (const auto& entry : std::filesystem::directory_iterator(scratch_.Path())) {
      std::filesystem::remove_all(entry.path());
    }
    const std::string dir = scratch_.Path() + "/";
    scratch_.Put("ZIRKA.CTL", "LOG " + dir + "ZIRKA.LOG\r\nREPORT " + dir + "REPORT.TXT\r\n" +
                                  "LOG_PATH " + dir + "T-MAIL.LOG\r\nAREA " + dir + "FILES/\r\n" +
                                  "AREA " + dir + "MORE/\r\n" +
                                  "IGNORE .PKT\r\n");
    scratch_.Put("T-MAIL.LOG",
                 "02/05 10:00:00 ZS D:\\FILES\\FOO.ZIP OK: 2400 cps\r\n"
                 "02/05 10:00:05 ZS D:\\FILES\\BAR.ZIP OK: 2400 cps\r\n"
                 "02/05 10:00:09 ZS D:\\FILES\\FOO.ZIP OK: 2400 cps\r\n");
    scratch_.Put("FILES/FILES.BBS", "FOO.ZIP [001] one\r\nBAR.ZIP two\r\n");
    scratch_.Put("MORE/FILES.BBS", "BAR.ZIP [007] three\r\n");
  }

  // One run with allocations failing from the `k`-th on (0: none fails); the
  // number of allocations counted and the errorlevel.
  int Run(long long k, long long& allocations) {
    MakeNode();
    const std::vector<std::string> args{"-c=" + scratch_.Path("ZIRKA.CTL")};
    const std::string programPath = scratch_.Path("zirka");
    screen_.Clear();
    counted = 0;
    failAt = k;
    armed = true;
    const int errorlevel = RunZirka(screen_, args, programPath, true);
    armed = false;
    allocations = counted;
    return errorlevel;
  }

  ScratchDir scratch_;
  FixedScreen screen_;
};

TEST_F(OutOfMemoryTest, EveryFailedAllocationEndsWithErrorlevelSix) {
  long long total = 0;
  ASSERT_EQ(Run(0, total), 0);
  ASSERT_GT(total, 0);
  EXPECT_EQ(scratch_.Slurp("FILES/FILES.BBS"), "FOO.ZIP      [003] one\r\nBAR.ZIP      [001] two\r\n");
  EXPECT_EQ(scratch_.Slurp("MORE/FILES.BBS"), "BAR.ZIP [007] three\r\n");  // FIRST_ONLY

  for (long long k = 1; k <= total + 1; ++k) {
    long long ignored = 0;
    const int errorlevel = Run(k, ignored);
    if (k <= total) {
      ASSERT_EQ(errorlevel, 6) << "allocations failing from #" << k << " of " << total ;
      ASSERT_NE(screen_.Tail().find("\xFE Exit with errorlevel 6\n"), std::string::npos) << k;
    } else {
      ASSERT_EQ(errorlevel, 0) << k;
    }
  }
}

}  // namespace
}  // namespace zirka
