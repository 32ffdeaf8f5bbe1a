#include "logscan/sent_scan.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "core/log_time.h"
#include "core/messages.h"
#include "logscan/whole_line_scan.h"

namespace zirka {

namespace {

// The size one sent-file record had in the classic fixed layout: a 13-byte name,
// padding and a 32-bit count. The debug line shows the table's size in such records.
constexpr unsigned kClassicSentRecordSize = 20;

constexpr std::string_view kOkMark = " OK: ";

// Positions of the transfer tag: ZS, JS or HS, upper case only.
constexpr std::size_t kTagFirst = 15;
constexpr std::size_t kTagSecond = 16;

bool IsSendTag(std::string_view line) {
  if (line.size() <= kTagSecond) return false;
  const char first = line[kTagFirst];
  return (first == 'Z' || first == 'J' || first == 'H') && line[kTagSecond] == 'S';
}

// The path word: the word after the one that holds the tag. Only the space
// character separates words; the word runs to the next space or the end of the
// piece, where `toEnd` is set: the piece's line feed, if it has one, ends the word.
// The distances are a few bytes: walked, not searched.
std::string_view PathWord(std::string_view text, bool& toEnd) {
  const char* const end = text.data() + text.size();
  const char* at = text.data() + std::min(kTagSecond, text.size());
  while (at != end && *at != ' ') ++at;
  toEnd = false;
  if (at == end) return {};
  while (at != end && *at == ' ') ++at;
  const char* const begin = at;
  while (at != end && *at != ' ') ++at;
  toEnd = at == end;
  return {begin, static_cast<std::size_t>(at - begin)};
}

// True when the text holds " OK: ". Looked for by its colon from the end, where
// it stands in a sent-file line.
bool HoldsOkMark(std::string_view text) {
  constexpr std::size_t kColon = 3;
  if (text.size() < kOkMark.size()) return false;
  for (std::size_t at = text.size() - kOkMark.size() + 1; at-- > 0;) {
    if (text[at + kColon] == ':' && text.substr(at, kOkMark.size()) == kOkMark) return true;
  }
  return false;
}

// The name a path word gives: what follows its last backslash, ASCII upper case.
// Only the backslash cuts; '/' and ':' stay in the name.
void NameOf(std::string_view word, std::string& name) {
  const std::size_t cut = word.rfind('\\');
  name.assign(cut == std::string_view::npos ? word : word.substr(cut + 1));
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

// The newest time among the new logs, starting from the stored Last_Time (or,
// without one, from the first log time read at all). Logs without a time take no
// part; with no time anywhere the result is empty and nothing is to be stored.
// The log table keeps its times as written; they are compared in swapped copies.
void ComputeNewLastTime(RunContext& ctx) {
  const LogTime* newest = &ctx.storedLastTime;
  if (newest->empty()) {
    for (const LogEntry& entry : ctx.logTable) {
      if (!entry.lastTime.empty()) {
        newest = &entry.lastTime;
        break;
      }
    }
  }
  for (const LogEntry& entry : ctx.logTable) {
    Debug(ctx, "Log " + entry.path + " Last time: " + entry.lastTime.written() + "\n");
    if (!entry.isNew || entry.lastTime.empty()) continue;
    if (entry.lastTime.IsLaterThan(*newest)) newest = &entry.lastTime;
  }
  ctx.newLastTime = *newest;
  Debug(ctx, "Finally Last_Time=" + ctx.newLastTime.written() + "\n");
}

}  // namespace

std::optional<std::string> NextSentFile(LogEntry& entry,
                                        const std::vector<std::string>& ignoreList) {
  std::string name;
  if (!NextSentFile(entry, ignoreList, name)) return std::nullopt;
  return name;
}

bool NextSentFile(LogEntry& entry, const std::vector<std::string>& ignoreList,
                  std::string& name) {
  if (IsWholeLineFormat(entry.format)) {
    std::optional<std::string> found = NextWholeLineSentFile(entry, ignoreList);
    if (found) name = std::move(*found);
    return found.has_value();
  }
  // Each piece is looked at where it stands in the read buffer (its text without the
  // line feed; only the path word can tell the two apart). Nothing is copied but a
  // sent name, and the time of the last dated line is stored in the entry once.
  char lastTime[kLogTimeLength];
  bool timeSeen = false;
  bool found = false;
  platform::PieceView view;
  while (entry.stream->NextPiece(view, kLogPiece)) {
    const std::string_view text = view.text;
    if (text.size() < 5 || text[2] != '/' || !IsDatedLine(text)) continue;
    // The time of a dated line is its first 14 characters. A line that ends before
    // its time does (the mailer may be writing it right now) gives no time, so that
    // no broken time can become the stored Last_Time; the log keeps its last whole one.
    if (text.size() >= kLogTimeLength) {
      std::memcpy(lastTime, text.data(), kLogTimeLength);
      timeSeen = true;
      if (entry.oldUpTo.active() && !entry.oldUpTo(text.substr(0, kLogTimeLength))) {
        // Counted before: the new part begins after this line.
        entry.scanFrom = entry.stream->Tell();
        entry.restarted = true;
        continue;
      }
    }
    if (!IsSendTag(text)) continue;
    if (!HoldsOkMark(text)) continue;
    bool toEnd = false;
    NameOf(PathWord(text, toEnd), name);
    if (toEnd && view.lineFeed) name.push_back('\n');
    // A path that ends in a backslash names no file; the log goes on.
    if (name.empty()) continue;
    if (IsIgnoredName(ignoreList, name)) continue;
    found = true;
    break;
  }
  if (timeSeen) entry.lastTime.Assign(std::string_view(lastTime, kLogTimeLength));
  return found;
}

namespace {

void ShowFound(const RunContext& ctx) {
  Print(ctx, Format("\b\b\b\b%4d", static_cast<int>(ctx.sentTable.size())));
}

// Hands the sends of one log, from where its scan starts, to count(name, hash) in
// their order. They are taken a few at a time, so that the memory `table` needs
// for all of them is on its way while the first is counted. When the log's new
// part turns out to begin later (a line already counted, see LogEntry::oldUpTo),
// restart() drops what was counted of it, and the sends taken with it.
template <typename Count, typename Restart>
void ForEachSend(LogEntry& entry, const std::vector<std::string>& ignoreList,
                 const SentTable& table, Count count, Restart restart) {
  constexpr std::size_t kBatch = 16;
  std::array<std::string, kBatch> names;
  std::array<std::uint64_t, kBatch> hashes{};
  entry.stream->Seek(*entry.scanFrom);
  for (std::size_t taken = kBatch; taken == kBatch;) {
    taken = 0;
    while (taken < kBatch) {
      const bool got = NextSentFile(entry, ignoreList, names[taken]);
      if (entry.restarted) {
        // The name just read, if any, is after the restart: it moves to the front.
        entry.restarted = false;
        if (got && taken > 0) names[0].swap(names[taken]);
        taken = 0;
        restart();
      }
      if (!got) break;
      ++taken;
    }
    for (std::size_t i = 0; i < taken; ++i) {
      hashes[i] = SentTable::HashOf(names[i]);
      table.PrefetchSlot(hashes[i]);
    }
    for (std::size_t i = 0; i < taken; ++i) table.PrefetchRecord(hashes[i]);
    for (std::size_t i = 0; i < taken; ++i) count(names[i], hashes[i]);
  }
}

// Counts the sends of one log into the run's table as they are found. The log's
// start is settled (no restart can come).
void CountSends(RunContext& ctx, LogEntry& entry) {
  ForEachSend(
      entry, ctx.ignoreList, ctx.sentTable,
      [&](const std::string& name, std::uint64_t hash) {
        if (ctx.debug) {
          const std::size_t inUse = ctx.sentTable.size();
          Debug(ctx, Format("  (%04u, sent file #%02d)\n",
                            static_cast<unsigned>((inUse + 1) * kClassicSentRecordSize),
                            static_cast<int>(inUse)));
        }
        if (ctx.sentTable.AddHashed(name, hash)) ShowFound(ctx);
      },
      [] {});
}

// The sends of one log in a table of its own; touches nothing but the entry.
SentTable CountSendsApart(LogEntry& entry, const std::vector<std::string>& ignoreList) {
  SentTable table;
  ForEachSend(
      entry, ignoreList, table,
      [&](const std::string& name, std::uint64_t hash) { table.AddHashed(name, hash); },
      [&] {
        if (!table.empty()) table = SentTable();
      });
  return table;
}

// Adds a log's own table to the run's: the same records, counts and progress as
// counting the log's sends one by one, since its records are in the order of
// their first send.
void MergeSends(RunContext& ctx, const SentTable& apart) {
  // A few at a time, the memory each needs on its way while the first is added.
  constexpr std::size_t kBatch = 16;
  const std::vector<SentFile>& records = apart.records();
  std::array<std::uint64_t, kBatch> hashes{};
  for (std::size_t first = 0; first < records.size(); first += kBatch) {
    const std::size_t n = std::min(kBatch, records.size() - first);
    for (std::size_t i = 0; i < n; ++i) {
      hashes[i] = SentTable::HashOf(records[first + i].name);
      ctx.sentTable.PrefetchSlot(hashes[i]);
    }
    for (std::size_t i = 0; i < n; ++i) ctx.sentTable.PrefetchRecord(hashes[i]);
    for (std::size_t i = 0; i < n; ++i) {
      const SentFile& sent = records[first + i];
      if (ctx.sentTable.AddHashed(sent.name, hashes[i], sent.times)) ShowFound(ctx);
    }
  }
}

// The logs counted two at a time, by the caller and a helper thread: each takes
// the next log nobody took yet. A log is counted straight into the run's table
// when every log before it is in it already and its start is settled (a log whose
// start may still move is counted apart, so that what it drops is in no other
// log's counts); the others are counted in a table of their own, which whichever
// thread is free adds to the run's in the order of the logs. That gives the same
// records, counts and progress as counting every send one by one. Without a
// thread to be had, the caller counts them all.
class SendCounter {
 public:
  SendCounter(RunContext& ctx, const std::vector<LogEntry*>& logs)
      : ctx_(ctx), logs_(logs), tables_(logs.size()), ready_(logs.size(), false) {
    try {
      thread_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
    }
  }
  ~SendCounter() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      next_ = logs_.size();  // nothing more is taken
    }
    if (thread_.joinable()) thread_.join();
  }
  SendCounter(const SendCounter&) = delete;
  SendCounter& operator=(const SendCounter&) = delete;

  // Counts on this thread until every log is taken, then waits for the helper's
  // and adds what is left. What counting threw on either thread is thrown here.
  void Run() {
    Work();
    std::unique_lock<std::mutex> table(table_);
    for (;;) {
      MergeReady();
      std::unique_lock<std::mutex> lock(mutex_);
      if (failure_) std::rethrow_exception(failure_);
      if (merged_ == logs_.size()) return;
      table.unlock();
      done_.wait(lock, [&] { return merged_ == logs_.size() || ready_[merged_] || failure_; });
      lock.unlock();
      table.lock();
    }
  }

 private:
  // Takes and counts logs, adding what is ready after each, while any is left.
  void Work() {
    try {
      while (const std::optional<std::size_t> i = Take()) {
        if (!CountStraight(*i)) Store(*i, CountSendsApart(*logs_[*i], ctx_.ignoreList));
        std::unique_lock<std::mutex> table(table_, std::try_to_lock);
        if (table) MergeReady();
      }
    } catch (...) {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (!failure_) failure_ = std::current_exception();
      next_ = logs_.size();
      done_.notify_all();
    }
  }

  std::optional<std::size_t> Take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (next_ == logs_.size()) return std::nullopt;
    return next_++;
  }

  // Counts log `i` into the run's table when it may be; false when it may not.
  bool CountStraight(std::size_t i) {
    if (logs_[i]->oldUpTo.active()) return false;
    const std::lock_guard<std::mutex> table(table_);
    MergeReady();
    if (merged_ != i) return false;
    CountSends(ctx_, *logs_[i]);
    const std::lock_guard<std::mutex> lock(mutex_);
    ready_[i] = true;
    ++merged_;
    done_.notify_all();
    return true;
  }

  void Store(std::size_t i, SentTable table) {
    const std::lock_guard<std::mutex> lock(mutex_);
    tables_[i] = std::move(table);
    ready_[i] = true;
    done_.notify_all();
  }

  // Adds the tables ready in the order of the logs to the run's; table_ held.
  void MergeReady() {
    for (;;) {
      std::optional<SentTable> next;
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (merged_ == logs_.size() || !ready_[merged_]) return;
        next = std::exchange(tables_[merged_], std::nullopt);
      }
      if (next) MergeSends(ctx_, *next);
      const std::lock_guard<std::mutex> lock(mutex_);
      ++merged_;
      done_.notify_all();
    }
  }

  RunContext& ctx_;
  const std::vector<LogEntry*>& logs_;
  std::thread thread_;
  // Held by whichever thread adds to the run's table (and shows the progress).
  std::mutex table_;
  std::mutex mutex_;
  std::condition_variable done_;
  std::size_t next_ = 0;                          // under mutex_
  std::size_t merged_ = 0;                        // under mutex_; moves with table_ held
  std::vector<std::optional<SentTable>> tables_;  // under mutex_
  std::vector<bool> ready_;                       // under mutex_
  std::exception_ptr failure_;                    // under mutex_
};

}  // namespace

void ScanSentFiles(RunContext& ctx) {
  Print(ctx, "\xFE Scanning log(s) for new sent files\n  Total found:    0");
  // The logs the freshness check gave a start, in their order.
  std::vector<LogEntry*> logs;
  for (LogEntry& entry : ctx.logTable) {
    if (entry.scanFrom) logs.push_back(&entry);
  }
  if (ctx.debug || logs.size() < 2) {
    // Debug mode, whose lines follow each send as it is found, counts one log after
    // the other.
    for (LogEntry* log : logs) {
      if (log->oldUpTo.active()) {
        MergeSends(ctx, CountSendsApart(*log, ctx.ignoreList));
      } else {
        CountSends(ctx, *log);
      }
    }
  } else {
    SendCounter(ctx, logs).Run();
  }
  Print(ctx, "\n");
  ComputeNewLastTime(ctx);
}

}  // namespace zirka
