#include "filelist/files_bbs.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <exception>
#include <iterator>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "filelist/counter_format.h"
#include "core/replacement.h"
#include "platform/files.h"
#include "core/messages.h"
#include "core/text.h"

namespace zirka {

namespace {

// A file name has at most 12 characters, or 255 with LONG_NAMES; a longer first
// word names no file.
constexpr std::size_t kMaxFileName = 12;
constexpr std::size_t kMaxLongFileName = 255;

// Lines that begin with a line feed, a blank or "-" are descriptions, comments
// and separators; every other line is a file entry.
bool IsFileEntry(const platform::PieceView& line) {
  if (line.text.empty()) return false;  // the piece is a line feed alone
  const char first = line.text.front();
  return first != ' ' && first != '-';
}

// The piece as ReadPiece gives it, with its line feed.
std::string PieceText(const platform::PieceView& line) {
  std::string text(line.text);
  if (line.lineFeed) text.push_back('\n');
  return text;
}

void WarnLongName(const Output& out, const platform::PieceView& line) {
  if (!out.debug) return;
  WriteMessage(out,
               "!WARN-Found long filename (more than 12 chars) or invalid FILES.BBS string\n"
               "      This version do NOT supports long filenames!\n",
               Channel::ToBoth);
  Print(out, PieceText(line));
}

void ShowMatch(const Output& out, const SentFile& sent) {
  if (!out.debug) return;
  const auto times = static_cast<long long>(sent.times);
  std::string screenLine = "\xFA ";
  AppendPadded(screenLine, sent.name, 13);
  Print(out, screenLine + Format(" %lld times\n", times));
  std::string logLine = "     ";
  AppendPadded(logLine, sent.name, 12);
  LogWrite(out, logLine + Format("   %2lld times\n", times));
}

// The sent file that a list line raises, or nullptr when the line is copied as
// it stands; `wordEnd` receives where the entry's first word ends (at the first
// blank, tab or line feed), 0 for a line that names no file. A first word longer
// than `longNames` allows names no file.
SentFile* MatchingSentFile(SentTable& sentTable, const Output& out, bool longNames,
                           const platform::PieceView& line, std::size_t& wordEnd,
                           bool wordWanted = false) {
  wordEnd = 0;
  if (!IsFileEntry(line)) return nullptr;
  // Most entries name no sent file: told by their first letters alone, unless
  // the word itself is wanted (its end, or a warning about its length).
  if (!wordWanted && !out.debug) {
    char lead[SentTable::kLeadBytes];
    std::size_t n = 0;
    for (; n < sizeof lead && n < line.text.size(); ++n) {
      const char c = line.text[n];
      if (c == ' ' || c == '\t') break;
      lead[n] = UpperAsciiChar(c);
    }
    if (!sentTable.MayBeginWith(std::string_view(lead, n))) return nullptr;
  }
  // Sent names are unique and upper case, so one lookup of the word in ASCII upper
  // case finds the only record that equals it ignoring case.
  char upper[kMaxLongFileName];
  const std::size_t maxName = longNames ? kMaxLongFileName : kMaxFileName;
  const std::string_view text = line.text;
  std::size_t end = 0;
  for (; end < text.size(); ++end) {
    char c = text[end];
    if (c == ' ' || c == '\t') break;
    if (end == maxName) {
      if (!longNames) WarnLongName(out, line);
      return nullptr;
    }
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    upper[end] = c;
  }
  wordEnd = end;
  SentFile* sent = sentTable.Find(std::string_view(upper, end));
  // With FIRST_ONLY on, a record that has raised one entry matches no other.
  if (sent == nullptr || sent->used) return nullptr;
  return sent;
}

void ReportNotReplaced(const Output& out, const std::string& list) {
  PrintAndLog(out, "!ERR-Cann't replace " + list + "\n");
}

// Takes every byte and keeps none.
class Discard : public platform::RawFile {
 public:
  long long Read(char*, std::size_t) override { return -1; }
  bool Write(const char*, std::size_t) override { return true; }
  bool Seek(std::uint64_t) override { return true; }
  bool Sync() override { return true; }
  bool Close() override { return true; }
};

// Tells the watch of one file entry as the list holds it: `line` is the entry
// as read or as raised, with or without its line feed.
void TellEntry(const CounterSettings& settings, const EntryWatch& watch, std::string_view name,
               std::string_view line, bool raised) {
  ListEntry entry;
  entry.area = watch.area;
  entry.name = name;
  entry.raised = raised;
  if (const auto field = ReadCounterField(settings, line, name.size())) {
    entry.hasCounter = true;
    entry.counter = field->value;
    entry.description = line.substr(field->end);
    if (!entry.description.empty() && entry.description.back() == '\n') {
      entry.description.remove_suffix(1);
    }
  }
  watch.sink->Entry(entry);
}

// A list that the interrupted run replaced: its raised entries still use up
// their sent files under FIRST_ONLY, as they did in that run, and its entries
// are told to the watch as they stand.
void MarkUsed(const CounterSettings& settings, SentTable& sentTable, const Output& out,
              const std::string& area, EntryWatch watch) {
  if (!settings.firstOnly && watch.sink == nullptr) return;
  auto list = platform::OpenText(area, platform::Mode::Read, platform::Share::DenyWrite);
  platform::TextFile sink = DiscardingText();
  watch.asRead = true;
  if (list) CopyFileList(settings, sentTable, out, *list, sink, nullptr, watch);
}

// Tells the watch of an open list's entries as they stand from where it is read
// on, raising and marking nothing.
void TellAsRead(const CounterSettings& settings, const Output& out, platform::TextFile& list,
                EntryWatch watch) {
  if (watch.sink == nullptr) return;
  SentTable none;
  platform::TextFile sink = DiscardingText();
  watch.asRead = true;
  CopyFileList(settings, none, out, list, sink, nullptr, watch);
}

}  // namespace

platform::TextFile DiscardingText() { return platform::TextFile(std::make_unique<Discard>(), "NUL"); }

namespace {

// CopyFileList, with the lines that begin before byte `matchFrom` copied as they
// stand (they were looked at already).
// With `marked`, each sent file that FIRST_ONLY marks used is noted in it.
bool CopyPieces(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                platform::TextFile& list, platform::TextFile& temp, RaisedEntrySink* raised,
                const EntryWatch& watch, std::uint64_t matchFrom,
                std::vector<SentFile*>* marked = nullptr) {
  // A list that begins with a byte order mark keeps it; its first entry begins after it.
  if (list.StartsWithByteOrderMark() && !temp.Write(platform::kByteOrderMark)) return false;
  platform::PieceView line;
  std::size_t wordEnd = 0;
  for (;;) {
    const bool seen = list.Tell() < matchFrom;
    if (!list.NextPiece(line, kListPiece)) break;
    SentFile* sent =
        seen ? nullptr
             : MatchingSentFile(sentTable, out, settings.longNames, line, wordEnd,
                                watch.sink != nullptr);
    if (sent == nullptr) {
      if (!temp.WritePiece(line)) return false;
      // The lines before matchFrom were told of as they were looked at.
      if (watch.sink != nullptr && !seen && wordEnd > 0) {
        TellEntry(settings, watch, line.text.substr(0, wordEnd), line.text, false);
      }
      continue;
    }
    ShowMatch(out, *sent);
    CounterChange change;
    const std::string raisedLine = FormatCounterLine(settings, PieceText(line), wordEnd, *sent,
                                                     out, raised != nullptr ? &change : nullptr);
    if (!temp.Write(raisedLine)) return false;
    if (raised != nullptr) raised->Raised(*sent, change);
    if (watch.sink != nullptr) {
      TellEntry(settings, watch, line.text.substr(0, wordEnd),
                watch.asRead ? line.text : std::string_view(raisedLine), !watch.asRead);
    }
    if (settings.firstOnly) {
      sent->used = true;
      if (marked != nullptr) marked->push_back(sent);
    }
  }
  // A list that could not be read to its end must not be replaced by its first part.
  return !list.readFailed();
}

}  // namespace

bool CopyFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                  platform::TextFile& list, platform::TextFile& temp, RaisedEntrySink* raised,
                  const EntryWatch& watch) {
  return CopyPieces(settings, sentTable, out, list, temp, raised, watch, 0);
}

namespace {

// A list copied to its replacement, both still open: what is left is to commit
// the replacement to the disk and move it over the list. A copy dropped before
// that removes its replacement.
struct ListCopy {
  int number = 0;
  std::string area;
  std::string target;    // the file the list is, through its links: the one replaced
  std::string tempPath;  // beside the target
  std::unique_ptr<platform::TextFile> list;
  std::unique_ptr<platform::TextFile> temp;
  std::optional<platform::FileStamp> read;  // the list as it was opened
  std::vector<SentFile*> marked;             // the FIRST_ONLY marks this copy set
  bool written = false;

  ListCopy() = default;
  ListCopy(ListCopy&&) = default;
  ListCopy& operator=(ListCopy&&) = default;
  ~ListCopy() {
    if (!temp) return;
    temp.reset();
    try {
      platform::RemoveFile(tempPath);
    } catch (const std::bad_alloc&) {  // out of memory already: the run ends with 6
    }
  }
};

// Reads the list on up to its first entry that a sent file raises and gives where
// that entry's line begins; nothing when no entry is raised. Debug mode's lines
// for the entries passed over are shown on the way, as the copy would show them,
// and the watch is told of them.
std::optional<std::uint64_t> FirstRaisedEntry(const CounterSettings& settings,
                                              SentTable& sentTable, const Output& out,
                                              platform::TextFile& list, const EntryWatch& watch) {
  platform::PieceView line;
  std::size_t wordEnd = 0;
  for (;;) {
    const std::uint64_t start = list.Tell();
    if (!list.NextPiece(line, kListPiece)) return std::nullopt;
    if (MatchingSentFile(sentTable, out, settings.longNames, line, wordEnd,
                         watch.sink != nullptr) != nullptr) {
      return start;
    }
    if (watch.sink != nullptr && wordEnd > 0) {
      TellEntry(settings, watch, line.text.substr(0, wordEnd), line.text, false);
    }
  }
}

// What became of one list.
enum class ListCopied {
  Raised,     // copied to FILES.!#$ with its raised entries: to be moved over it
  Untouched,  // no entry of it is raised: left exactly as it is
  NoTemp,     // it or its FILES.!#$ can't be had
  ReadFailed, // it could not be read to its end before an entry to raise was found
};

// Opens a list and reads it up to its first entry to raise: only then is its
// replacement FILES.!#$ made and the whole list copied into it.
ListCopied CopyIfRaised(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                        const std::string& area, const std::string& target, int number,
                        const EntryWatch& watch, ListCopy& copy) {
  copy.number = number;
  copy.area = area;
  copy.target = target;
  copy.tempPath = TemporaryName(target, ".!#$");
  copy.list = platform::OpenText(target, platform::Mode::Read, platform::Share::DenyWrite);
  if (!copy.list) return ListCopied::NoTemp;
  copy.read = platform::StampOf(*copy.list);
  const std::optional<std::uint64_t> first =
      FirstRaisedEntry(settings, sentTable, out, *copy.list, watch);
  if (!first) return copy.list->readFailed() ? ListCopied::ReadFailed : ListCopied::Untouched;
  copy.temp = platform::OpenText(copy.tempPath, platform::Mode::Create, platform::Share::DenyAll);
  if (!copy.temp) {
    // The rest of the list stays as it is: the watch is told of it so.
    if (copy.list->Seek(*first)) TellAsRead(settings, out, *copy.list, watch);
    return ListCopied::NoTemp;
  }
  // Copied from its start, the lines before the first raised entry as they stand.
  copy.written = copy.list->Seek(0) && CopyPieces(settings, sentTable, out, *copy.list,
                                                  *copy.temp, nullptr, watch, *first,
                                                  &copy.marked);
  return ListCopied::Raised;
}

// The report of a list that is not raised for a failure: its FILES.!#$ (or the list
// itself) can't be had, or it could not be read.
void ReportNotRaised(const Output& out, const std::string& area, const std::string& tempPath,
                     int number, ListCopied state, AreaJournal* journal) {
  if (state == ListCopied::NoTemp) {
    PrintAndLog(out, "!ERR-Cann't create temp file " + tempPath + "\n");
  } else {
    ReportNotReplaced(out, area);
  }
  if (journal != nullptr) journal->Done(number);  // a step left pending ends here
}

// A batch of list copies in area order, no two in one directory or of one list,
// finished together: one flush of the journal and one commit of the directories
// serve them all.
using Batch = std::vector<ListCopy>;

// What finishing a batch left over.
struct BatchEnd {
  std::vector<int> notReplaced;  // the areas whose list could not be replaced, in order
  // From the first list that another program changed since it was read on: the
  // copies not moved, withdrawn from the journal, to be dropped and made anew.
  Batch changed;
  bool withdrawn = true;  // false: the journal could not be told, they stay as they are
};

// Finishes a batch: every replacement is committed to the disk, the journal is told
// that they are all Ready with one flush, each is moved over its list once a stat
// shows the list still as it was opened, the directories are committed, and only
// then is each list Done in the journal. Reports nothing: that is the caller's,
// in area order.
BatchEnd FinishBatch(Batch& batch, AreaJournal* journal) {
  BatchEnd end;
  // All of them on their way to the disk first: the commits that follow then
  // mostly wait for what is under way already.
  for (ListCopy& copy : batch) {
    if (copy.written) copy.temp->StartWriteback();
  }
  std::vector<ReadyList> ready;
  for (ListCopy& copy : batch) {
    copy.written = copy.written && CommitReplacement(*copy.temp, copy.target);
    if (copy.written) ready.push_back({copy.number, copy.area});
  }
  const bool recorded = journal == nullptr || ready.empty() || journal->Ready(ready);
  platform::PendingDirectories moved;
  std::size_t n = 0;
  for (; n < batch.size(); ++n) {
    ListCopy& copy = batch[n];
    std::unique_ptr<platform::TextFile> held = std::move(copy.list);
    const Replacement result = MoveReplacement(
        copy.temp, copy.tempPath, copy.target, copy.written, [&] { return recorded; },
        [&] { return !copy.read || platform::StillAsRead(copy.target, *copy.read); }, &moved,
        held);
    if (result == Replacement::TargetChanged) break;
    if (result == Replacement::Failed) end.notReplaced.push_back(copy.number);
  }
  // No Done may be on the disk before its move is.
  platform::SyncDirectories(moved);
  if (journal != nullptr) {
    for (std::size_t i = 0; i < n; ++i) journal->Done(batch[i].number);
  }
  if (n < batch.size()) {
    // Withdrawn before their replacements go: a run killed in between raises
    // them again.
    std::vector<int> back;
    for (std::size_t i = n; i < batch.size(); ++i) {
      if (batch[i].written) back.push_back(batch[i].number);
    }
    end.withdrawn = journal == nullptr || !recorded || back.empty() || journal->Withdraw(back);
    // Where the journal could not be told, they are over as lists not replaced.
    if (!end.withdrawn) {
      for (const int number : back) journal->Done(number);
    }
    end.changed.assign(std::make_move_iterator(batch.begin() + static_cast<std::ptrdiff_t>(n)),
                       std::make_move_iterator(batch.end()));
  }
  batch.clear();
  return end;
}

// A list is copied at most this many times when another program keeps changing it
// before its move; it is then left as it is and reported.
constexpr int kMostCopies = 4;

// Takes back what a copy told and marked: its FIRST_ONLY marks and the entries
// told to the watch.
void TakeBack(ListCopy& copy, const EntryWatch& watch) {
  for (SentFile* sent : copy.marked) sent->used = false;
  copy.marked.clear();
  if (watch.sink != nullptr) watch.sink->Forget(watch.area);
}

// Finishes one batch at a time on a helper thread while the lists after it are
// copied: committing replacements mostly waits for the disk. Without a thread to
// be had, a batch is finished where it is handed over.
class BatchFinisher {
 public:
  explicit BatchFinisher(AreaJournal* journal) : journal_(journal) {}
  ~BatchFinisher() {
    if (!thread_.joinable()) return;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  BatchFinisher(const BatchFinisher&) = delete;
  BatchFinisher& operator=(const BatchFinisher&) = delete;

  // True while a batch is handed over and not waited for.
  bool busy() const { return busy_; }
  // True when Wait would return at once.
  bool Idle() {
    if (!busy_) return true;
    const std::lock_guard<std::mutex> lock(mutex_);
    return !job_;
  }

  // Hands a batch over; the one before must have been waited for.
  void Start(Batch batch) {
    if (!thread_.joinable()) {
      try {
        thread_ = std::thread([this] { Loop(); });
      } catch (const std::system_error&) {
        end_ = FinishBatch(batch, journal_);
        busy_ = true;
        return;
      }
    }
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      job_ = std::move(batch);
    }
    busy_ = true;
    wake_.notify_all();
  }

  // Returns once the batch handed over is finished, with what it left over; what
  // finishing it threw is thrown here.
  BatchEnd Wait() {
    if (!busy_) return {};
    std::exception_ptr failure;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return !job_; });
      failure = std::exchange(failure_, nullptr);
    }
    busy_ = false;
    if (failure) std::rethrow_exception(failure);
    return std::exchange(end_, BatchEnd{});
  }

 private:
  void Loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || job_; });
      if (!job_) return;
      lock.unlock();
      BatchEnd end;
      std::exception_ptr failure;
      try {
        end = FinishBatch(*job_, journal_);
      } catch (...) {
        failure = std::current_exception();
      }
      lock.lock();
      end_ = std::move(end);
      failure_ = failure;
      job_.reset();
      wake_.notify_all();
    }
  }

  AreaJournal* journal_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Batch> job_;    // the batch being finished, under mutex_
  BatchEnd end_;                // what it left over, under mutex_
  std::exception_ptr failure_;  // what finishing it threw, under mutex_
  bool stop_ = false;           // under mutex_
  bool busy_ = false;           // a batch was handed over and not waited for
};

// Who a list and its directory are to the file system, as far as it can tell.
struct ListIds {
  std::optional<platform::FileId> dir;
  std::optional<platform::FileId> list;
};

// True when `ids` is apart from every list of `batch`: in another directory (so
// that the two share no FILES.!#$) and, unless `dirOnly`, another list (one list
// may be reached through a link in another directory), as far as can be told.
bool ApartFrom(const ListIds& ids, const std::vector<ListIds>& batch, bool dirOnly) {
  for (const ListIds& other : batch) {
    if (!ids.dir || !other.dir || *ids.dir == *other.dir) return false;
    if (!dirOnly && (!ids.list || !other.list || *ids.list == *other.list)) return false;
  }
  return true;
}

// The lists outside debug mode, whose copies write nothing on the screen. Lists
// are copied in area order into a batch, handed to the finisher once it is full
// while the next batch is copied. A list that may be, or share FILES.!#$ with, a
// list in either batch waits for that batch to be finished first. The progress
// and the reports are shown in area order, each list's once it is settled.
class ListRewrite {
 public:
  ListRewrite(const CounterSettings& settings, SentTable& sentTable, const Output& out,
              AreaJournal* journal, ListEntrySink* entries)
      : settings_(settings),
        sentTable_(sentTable),
        out_(out),
        journal_(journal),
        entries_(entries),
        finisher_(journal) {}

  void Run(const std::vector<std::string>& areas) {
    // Asked before any list is finished, since finishing changes the journal.
    std::vector<bool> replacedBefore(areas.size() + 1, false);
    if (journal_ != nullptr) {
      for (std::size_t n = 1; n <= areas.size(); ++n) {
        replacedBefore[n] = journal_->AlreadyReplaced(static_cast<int>(n));
      }
    }
    copies_.assign(areas.size() + 1, 0);
    const int last = static_cast<int>(areas.size());
    int number = 1;
    for (;;) {
      // Another program's change sends the work back to its list: what was done
      // after it is taken back and done again.
      int again = 0;
      if (number > last) {
        again = SettleAll();
        if (again == 0) break;
      } else if (replacedBefore[static_cast<std::size_t>(number)]) {
        // The marks it sets are never taken back: every list before it is settled.
        again = SettleAll();
        if (again == 0) {
          ShowProgress(number);
          MarkUsed(settings_, sentTable_, out_, areas[static_cast<std::size_t>(number) - 1],
                   WatchOf(number));
        }
      } else {
        again = Handle(areas[static_cast<std::size_t>(number) - 1], number);
      }
      number = again != 0 ? again : number + 1;
    }
  }

 private:
  // A list handled and not yet shown.
  struct Shown {
    int number = 0;
    ListCopied state = ListCopied::Untouched;
    std::string area;
    std::string tempPath;
  };

  // A batch is handed over with this many lists once the finisher is free, and
  // with at most kMostInBatch while it is not.
  static constexpr std::size_t kBatch = 8;
  static constexpr std::size_t kMostInBatch = 32;

  EntryWatch WatchOf(int number) const { return EntryWatch{entries_, number}; }

  // Copies one list if it is raised. Gives the area to go on from when another
  // program's change took back what was handled, else 0.
  int Handle(const std::string& area, int number) {
    if (copies_[static_cast<std::size_t>(number)] >= kMostCopies) {
      // Still changing after its last copy (or withdrawn where the journal could
      // not be told): left as it stands, and told to the watch so.
      auto list = platform::OpenText(area, platform::Mode::Read, platform::Share::DenyWrite);
      if (list) TellAsRead(settings_, out_, *list, WatchOf(number));
      unshown_.push_back(Shown{number, ListCopied::ReadFailed, area, {}});
      return 0;
    }
    const std::string target = platform::FinalPath(area);
    ListIds ids;
    // The directory first: a list in the directory of one being moved is not even
    // opened for its id until the move is over (Windows refuses to move a file
    // over one that is open, for whatever access).
    ids.dir = platform::DirectoryIdOf(target);
    if (int again = Clear(ids, true)) return again;
    ids.list = platform::FileIdOf(target);
    if (int again = Clear(ids, false)) return again;
    ListCopy copy;
    const ListCopied state =
        CopyIfRaised(settings_, sentTable_, out_, area, target, number, WatchOf(number), copy);
    unshown_.push_back(Shown{number, state, area, copy.tempPath});
    if (state != ListCopied::Raised) return 0;
    // Held open until the batch is finished, without their buffers.
    copy.list->ReleaseBuffers();
    copy.temp->ReleaseBuffers();
    filling_.push_back(std::move(copy));
    fillingIds_.push_back(ids);
    if (filling_.size() >= kBatch && (filling_.size() >= kMostInBatch || finisher_.Idle())) {
      return HandOver();
    }
    return 0;
  }

  // Waits for whatever batch `ids` is not apart from. Gives the area to go on from,
  // or 0.
  int Clear(const ListIds& ids, bool dirOnly) {
    if (!ApartFrom(ids, fillingIds_, dirOnly)) return SettleAll();
    if (!ApartFrom(ids, finishingIds_, dirOnly)) return Settle();
    return 0;
  }

  // Hands the batch being copied to the finisher, once the one before is finished.
  int HandOver() {
    if (const int again = Settle()) return again;
    if (filling_.empty()) return 0;
    ShowBefore(filling_.front().number);
    finishingIds_ = std::move(fillingIds_);
    fillingIds_.clear();
    Batch batch = std::move(filling_);
    filling_.clear();
    finisher_.Start(std::move(batch));
    return 0;
  }

  // Finishes and shows everything handled so far. Gives the area to go on from,
  // or 0.
  int SettleAll() {
    if (const int again = HandOver()) return again;
    if (const int again = Settle()) return again;
    ShowBefore(INT_MAX);
    return 0;
  }

  // Waits for the batch being finished. When another program changed one of its
  // lists, that list and everything handled after it are taken back, to be
  // handled again from that list, which is given; else 0.
  int Settle() {
    if (!finisher_.busy()) return 0;
    BatchEnd end = finisher_.Wait();
    finishingIds_.clear();
    notReplaced_.insert(notReplaced_.end(), end.notReplaced.begin(), end.notReplaced.end());
    if (end.changed.empty()) return 0;
    const int changed = end.changed.front().number;
    ++copies_[static_cast<std::size_t>(changed)];
    if (!end.withdrawn) {
      // The journal holds them Ready: none may be made again in this run.
      for (const ListCopy& copy : end.changed) {
        copies_[static_cast<std::size_t>(copy.number)] = kMostCopies;
      }
    }
    // Taken back the last first; the copies are dropped, their FILES.!#$ removed.
    for (auto copy = filling_.rbegin(); copy != filling_.rend(); ++copy) {
      TakeBack(*copy, WatchOf(copy->number));
    }
    filling_.clear();
    fillingIds_.clear();
    for (auto copy = end.changed.rbegin(); copy != end.changed.rend(); ++copy) {
      TakeBack(*copy, WatchOf(copy->number));
    }
    end.changed.clear();
    while (!unshown_.empty() && unshown_.back().number >= changed) {
      if (entries_ != nullptr) entries_->Forget(unshown_.back().number);
      unshown_.pop_back();
    }
    ShowBefore(changed);
    return changed;
  }

  // Shows the lists handled before area `upTo`, in order: the progress, and what
  // is reported of each. Only while no batch is being finished: it tells the
  // journal.
  void ShowBefore(int upTo) {
    std::size_t n = 0;
    for (; n < unshown_.size() && unshown_[n].number < upTo; ++n) Show(unshown_[n]);
    unshown_.erase(unshown_.begin(), unshown_.begin() + static_cast<std::ptrdiff_t>(n));
  }

  void ShowProgress(int number) { Print(out_, Format("\b\b\b\b%4d", number)); }

  void Show(const Shown& shown) {
    ShowProgress(shown.number);
    switch (shown.state) {
      case ListCopied::Raised:
        if (std::find(notReplaced_.begin(), notReplaced_.end(), shown.number) !=
            notReplaced_.end()) {
          ReportNotReplaced(out_, shown.area);
        }
        break;
      case ListCopied::Untouched:
        if (journal_ != nullptr) journal_->Done(shown.number);  // a step left pending ends here
        break;
      case ListCopied::NoTemp:
      case ListCopied::ReadFailed:
        ReportNotRaised(out_, shown.area, shown.tempPath, shown.number, shown.state, journal_);
        break;
    }
  }

  const CounterSettings& settings_;
  SentTable& sentTable_;
  const Output& out_;
  AreaJournal* journal_;
  ListEntrySink* entries_;
  BatchFinisher finisher_;
  Batch filling_;                      // copied, not yet handed over
  std::vector<ListIds> fillingIds_;
  std::vector<ListIds> finishingIds_;  // the batch handed over
  std::vector<int> copies_;            // per area, how often it changed before its move
  std::vector<Shown> unshown_;         // handled, not yet shown, in area order
  std::vector<int> notReplaced_;       // finished and not replaced
};

}  // namespace

bool RewriteFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                     const std::string& area, AreaJournal* journal, int number,
                     ListEntrySink* entries) {
  const EntryWatch watch{entries, number};
  if (journal != nullptr && journal->AlreadyReplaced(number)) {
    MarkUsed(settings, sentTable, out, area, watch);
    return true;
  }
  const std::string target = platform::FinalPath(area);
  for (int copies = 1;; ++copies) {
    Batch one(1);
    ListCopy& copy = one.front();
    const ListCopied state =
        CopyIfRaised(settings, sentTable, out, area, target, number, watch, copy);
    if (state == ListCopied::Untouched) {
      if (journal != nullptr) journal->Done(number);
      return false;
    }
    if (state != ListCopied::Raised) {
      ReportNotRaised(out, area, copy.tempPath, number, state, journal);
      return false;
    }
    BatchEnd end = FinishBatch(one, journal);
    if (end.changed.empty()) {
      if (end.notReplaced.empty()) return true;
      ReportNotReplaced(out, area);
      return false;
    }
    // Another program changed the list before its move: copied anew from the list
    // as it is now, its raises applied as if the list had first been read so.
    TakeBack(end.changed.front(), watch);
    end.changed.clear();
    if (!end.withdrawn || copies == kMostCopies) {
      // Left as it stands now, and told to the watch so.
      auto list = platform::OpenText(target, platform::Mode::Read, platform::Share::DenyWrite);
      if (list) TellAsRead(settings, out, *list, watch);
      ReportNotReplaced(out, area);
      return false;
    }
  }
}

void UpdateFileAreas(const std::vector<std::string>& areas, const CounterSettings& settings,
                     SentTable& sentTable, const Output& out, AreaJournal* journal,
                     ListEntrySink* entries) {
  Print(out, Format("\xFE Processing %d file areas\n", static_cast<int>(areas.size())));
  if (!out.debug) {
    Print(out, "  In process :     ");
    ListRewrite(settings, sentTable, out, journal, entries).Run(areas);
    Print(out, "\n");
    return;
  }
  // Debug mode shows each list's lines as it is copied, one list after the other.
  int number = 0;
  for (const std::string& area : areas) {
    ++number;
    Print(out, "Processing " + area + "\n");
    LogWrite(out, Format("\nFile area: %02d\nPath     : ", number) + area + "\n");
    RewriteFileList(settings, sentTable, out, area, journal, number, entries);
  }
}

void ReadFileAreas(const std::vector<std::string>& areas, const CounterSettings& settings,
                   const Output& out, ListEntrySink& entries) {
  int number = 0;
  for (const std::string& area : areas) {
    ++number;
    auto list = platform::OpenText(area, platform::Mode::Read, platform::Share::DenyWrite);
    if (list) TellAsRead(settings, out, *list, EntryWatch{&entries, number});
  }
}

}  // namespace zirka
