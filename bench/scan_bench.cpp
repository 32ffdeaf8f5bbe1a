// Throughput of the hot paths: the sent-file scan over a large log, the copy of
// a large FILES.BBS with raised counters, and one counter line.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_data.h"
#include "filelist/counter_format.h"
#include "filelist/files_bbs.h"
#include "logscan/sent_scan.h"
#include "platform/console.h"
#include "platform/text_file.h"
#include "core/context.h"
#include "support/memory_file.h"
#include "support/capture_screen.h"

namespace zirka::bench {
namespace {

void BM_ScanSentFiles(benchmark::State& state) {
  auto log = std::make_shared<std::string>();
  AppendLogLines(*log, static_cast<std::size_t>(state.range(0)), 20000);
  for (auto _ : state) {
    platform::CaptureScreen screen;
    RunContext ctx(screen);
    ctx.storedLastTime = LogTime("01/10 00:00:00");
    LogEntry entry;
    entry.path = "D:\\T-MAIL\\T-MAIL.LOG";
    entry.stream = platform::MakeMemoryText(log);
    entry.isNew = true;
    entry.scanFrom = 0;
    ctx.logTable.push_back(std::move(entry));
    ScanSentFiles(ctx);
    benchmark::DoNotOptimize(ctx.sentTable.size());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * log->size()));
}
BENCHMARK(BM_ScanSentFiles)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_CopyFileList(benchmark::State& state) {
  const std::size_t entries = static_cast<std::size_t>(state.range(0));
  auto list = std::make_shared<std::string>(MakeList(0, entries));
  platform::CaptureScreen screen;
  RunContext ctx(screen);
  ctx.settings.firstOnly = false;
  for (std::size_t i = 0; i < entries; i += 3) ctx.sentTable.Add(FileName(i));
  for (auto _ : state) {
    auto in = platform::MakeMemoryText(list);
    auto out = platform::MakeMemoryText(std::make_shared<std::string>());
    benchmark::DoNotOptimize(CopyFileList(ctx.settings, ctx.sentTable, ctx.out(), *in, *out));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * list->size()));
}
BENCHMARK(BM_CopyFileList)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FormatCounterLine(benchmark::State& state) {
  platform::CaptureScreen screen;
  RunContext ctx(screen);
  const SentFile sent{"FOO.ZIP", 3, false};
  const std::string entry = "foo.zip /tb   [ 12] A file with a description\n";
  for (auto _ : state) benchmark::DoNotOptimize(FormatCounterLine(ctx.settings, entry, 7, sent, ctx.out()));
}
BENCHMARK(BM_FormatCounterLine);

}  // namespace
}  // namespace zirka::bench
