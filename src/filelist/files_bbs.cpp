#include "filelist/files_bbs.h"

#include <condition_variable>
#include <exception>
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
  bool ready = false;  // its journal's Ready is written
  int copies = 1;      // how often the list was copied

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
void ReportNotRaised(const Output& out, const ListCopy& copy, ListCopied state,
                     AreaJournal* journal) {
  if (state == ListCopied::NoTemp) {
    PrintAndLog(out, "!ERR-Cann't create temp file " + copy.tempPath + "\n");
  } else {
    ReportNotReplaced(out, copy.area);
  }
  if (journal != nullptr) journal->Done(copy.number);  // a step left pending ends here
}

// What became of a list copy being finished.
enum class ListFinished {
  Replaced,     // moved over the list
  NotReplaced,  // reported, the list as it was
  Changed,      // another program changed the list since it was opened: to be copied again
};

// Commits the copy's replacement and moves it over the list, telling the journal
// and reporting a failure, once a stat shows the list still as it was opened.
ListFinished FinishListCopy(ListCopy& copy, const Output& out, AreaJournal* journal,
                            platform::PendingDirectories* pending) {
  std::unique_ptr<platform::TextFile> held = std::move(copy.list);
  const Replacement result = FinishCheckedReplacement(
      copy.temp, copy.tempPath, copy.target, copy.written,
      [&] {
        if (journal == nullptr || copy.ready) return true;
        // The journal's Ready carries the Done of the list before it to the disk:
        // that list's move must be there first.
        if (pending != nullptr) platform::SyncDirectories(*pending);
        copy.ready = journal->Ready(copy.number, copy.area);
        return copy.ready;
      },
      [&] { return !copy.read || platform::StillAsRead(copy.target, *copy.read); }, pending,
      held);
  // Its replacement stays, and so does a Ready in the journal: a run killed now
  // is completed with this list still to be raised.
  if (result == Replacement::TargetChanged) return ListFinished::Changed;
  if (journal != nullptr) journal->Done(copy.number);
  if (result == Replacement::Done) return ListFinished::Replaced;
  ReportNotReplaced(out, copy.area);
  return ListFinished::NotReplaced;
}

// A list is copied again at most this many times after its first copy when
// another program keeps changing it.
constexpr int kMostCopies = 4;

// Takes back what a copy told and marked: its FIRST_ONLY marks and the entries
// told to the watch.
void TakeBack(ListCopy& copy, const EntryWatch& watch) {
  for (SentFile* sent : copy.marked) sent->used = false;
  copy.marked.clear();
  if (watch.sink != nullptr) watch.sink->Forget(watch.area);
}

// A copy whose list another program changed before the move: copied again from
// the list as it is now into the same replacement, its raises applied as if the
// list had first been read so, and finished again. A list still changing after
// the last copy is left as it is and reported. True when it was replaced.
bool CopyChangedAgain(ListCopy& copy, const CounterSettings& settings, SentTable& sentTable,
                      const Output& out, const EntryWatch& watch, AreaJournal* journal,
                      platform::PendingDirectories* pending) {
  while (copy.copies < kMostCopies) {
    ++copy.copies;
    TakeBack(copy, watch);
    copy.list = platform::OpenText(copy.target, platform::Mode::Read, platform::Share::DenyWrite);
    if (!copy.list) break;
    copy.read = platform::StampOf(*copy.list);
    copy.written = copy.temp->StartOver() && CopyPieces(settings, sentTable, out, *copy.list,
                                                        *copy.temp, nullptr, watch, 0,
                                                        &copy.marked);
    const ListFinished finished = FinishListCopy(copy, out, journal, pending);
    if (finished != ListFinished::Changed) return finished == ListFinished::Replaced;
  }
  // Left as it stands now, and told to the watch so.
  if (watch.sink != nullptr) {
    watch.sink->Forget(watch.area);
    copy.list = platform::OpenText(copy.target, platform::Mode::Read, platform::Share::DenyWrite);
    if (copy.list) TellAsRead(settings, out, *copy.list, watch);
  }
  if (journal != nullptr) journal->Done(copy.number);
  ReportNotReplaced(out, copy.area);
  return false;
}

// Finishes one list copy at a time on a helper thread, while the next list is
// copied: committing a replacement mostly waits for the disk. Only a finished
// copy's report reaches the screen, and only while the caller writes nothing.
// Without a thread to be had, each copy is finished where it is handed over.
class ListFinisher {
 public:
  ListFinisher(const Output& out, AreaJournal* journal, platform::PendingDirectories& pending)
      : out_(out), journal_(journal), pending_(pending) {}
  ~ListFinisher() {
    if (!thread_.joinable()) return;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  ListFinisher(const ListFinisher&) = delete;
  ListFinisher& operator=(const ListFinisher&) = delete;

  // False while a list in the directory `dir` (or where that can't be told) is
  // being finished.
  bool MayCopyInto(const std::optional<platform::FileId>& dir) const {
    return !busy_ || (dir && busyDir_ && *dir != *busyDir_);
  }

  // True when a list, in the directory `dir`, may be copied while the list being
  // finished is: neither can reach the other's list or FILES.!#$, as far as the
  // file system can tell (one list reached through a link in another directory).
  bool MayCopyAlongside(const std::optional<platform::FileId>& dir,
                        const std::optional<platform::FileId>& list) const {
    return busy_ && dir && list && busyDir_ && busyList_ && *dir != *busyDir_ &&
           *list != *busyList_;
  }

  // Hands a copy over, with the ids of its directory and list; the one before
  // must have been waited for.
  void Start(ListCopy copy, const std::optional<platform::FileId>& dir,
             const std::optional<platform::FileId>& list) {
    if (!thread_.joinable()) {
      try {
        thread_ = std::thread([this] { Loop(); });
      } catch (const std::system_error&) {
        if (FinishListCopy(copy, out_, journal_, &pending_) == ListFinished::Changed) {
          changed_ = std::move(copy);
        }
        return;
      }
    }
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      job_ = std::move(copy);
    }
    busyDir_ = dir;
    busyList_ = list;
    busy_ = true;
    wake_.notify_all();
  }

  // Returns once the copy handed over is finished; what it threw is thrown here.
  // A copy whose list another program changed before its move is handed back.
  std::optional<ListCopy> Wait() {
    if (!busy_) return std::exchange(changed_, std::nullopt);
    std::exception_ptr failure;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return !job_; });
      failure = std::exchange(failure_, nullptr);
    }
    busy_ = false;
    if (failure) std::rethrow_exception(failure);
    return std::exchange(changed_, std::nullopt);
  }

 private:
  void Loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || job_; });
      if (!job_) return;
      lock.unlock();
      try {
        if (FinishListCopy(*job_, out_, journal_, &pending_) == ListFinished::Changed) {
          changed_ = std::move(job_);
        }
      } catch (...) {
        failure_ = std::current_exception();
      }
      lock.lock();
      job_.reset();
      wake_.notify_all();
    }
  }

  const Output& out_;
  AreaJournal* journal_;
  platform::PendingDirectories& pending_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<ListCopy> job_;      // the copy being finished, under mutex_
  std::optional<ListCopy> changed_;  // a finished copy whose list changed, under mutex_
  std::exception_ptr failure_;       // what finishing it threw, under mutex_
  bool stop_ = false;                // under mutex_
  bool busy_ = false;                // a copy was handed over and not waited for
  std::optional<platform::FileId> busyDir_;
  std::optional<platform::FileId> busyList_;
};

// The lists outside debug mode, whose copies write nothing on the screen: each
// list is copied while the one before is finished, and its progress and reports
// are written once that one's are. Two lists in one directory (they share
// FILES.!#$), one list reached by two paths, or lists where that can't be told,
// are taken one after the other.
void RewriteOverlapped(const std::vector<std::string>& areas, const CounterSettings& settings,
                       SentTable& sentTable, const Output& out, AreaJournal* journal,
                       platform::PendingDirectories& pending, ListEntrySink* entries) {
  // Asked before any list is finished, since finishing changes the journal.
  std::vector<bool> replacedBefore(areas.size() + 1, false);
  if (journal != nullptr) {
    for (std::size_t n = 1; n <= areas.size(); ++n) {
      replacedBefore[n] = journal->AlreadyReplaced(static_cast<int>(n));
    }
  }
  ListFinisher finisher(out, journal, pending);
  // Waits for the list being finished; one that another program changed before
  // its move is copied again here. True when that happened.
  const auto settle = [&] {
    std::optional<ListCopy> changed = finisher.Wait();
    if (!changed) return false;
    CopyChangedAgain(*changed, settings, sentTable, out, EntryWatch{entries, changed->number},
                     journal, &pending);
    return true;
  };
  const int last = static_cast<int>(areas.size());
  for (int number = 1; number <= last; ++number) {
    const std::string& area = areas[static_cast<std::size_t>(number) - 1];
    const EntryWatch watch{entries, number};
    const auto showProgress = [&] { Print(out, Format("\b\b\b\b%4d", number)); };
    if (replacedBefore[static_cast<std::size_t>(number)]) {
      settle();
      showProgress();
      MarkUsed(settings, sentTable, out, area, watch);
      continue;
    }
    const std::string target = platform::FinalPath(area);
    // The directory first: a list in the directory of the one being moved is not
    // even opened for its id until the move is over (Windows refuses to move a
    // file over one that is open, for whatever access).
    const std::optional<platform::FileId> dir = platform::DirectoryIdOf(target);
    if (!finisher.MayCopyInto(dir)) settle();
    const std::optional<platform::FileId> list = platform::FileIdOf(target);
    if (!finisher.MayCopyAlongside(dir, list)) settle();
    ListCopy copy;
    const ListCopied state =
        CopyIfRaised(settings, sentTable, out, area, target, number, watch, copy);
    // The list before, copied again, may raise what this copy did or not: this
    // one is taken back first and made anew after it.
    if (std::optional<ListCopy> changed = finisher.Wait()) {
      TakeBack(copy, watch);
      { const ListCopy dropped = std::move(copy); }  // its FILES.!#$ removed
      CopyChangedAgain(*changed, settings, sentTable, out, EntryWatch{entries, changed->number},
                       journal, &pending);
      --number;
      continue;
    }
    showProgress();
    if (state != ListCopied::Raised) {
      if (state != ListCopied::Untouched) {
        ReportNotRaised(out, copy, state, journal);
      } else if (journal != nullptr) {
        journal->Done(number);  // a step an interrupted run left pending ends here
      }
      continue;
    }
    if (number < last) {
      finisher.Start(std::move(copy), dir, list);
    } else if (FinishListCopy(copy, out, journal, &pending) == ListFinished::Changed) {
      CopyChangedAgain(copy, settings, sentTable, out, watch, journal, &pending);
    }
  }
  settle();
}

}  // namespace

bool RewriteFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                     const std::string& area, AreaJournal* journal, int number,
                     platform::PendingDirectories* pending, ListEntrySink* entries) {
  const EntryWatch watch{entries, number};
  if (journal != nullptr && journal->AlreadyReplaced(number)) {
    MarkUsed(settings, sentTable, out, area, watch);
    return true;
  }
  ListCopy copy;
  const ListCopied state =
      CopyIfRaised(settings, sentTable, out, area, platform::FinalPath(area), number, watch, copy);
  if (state == ListCopied::Untouched) {
    if (journal != nullptr) journal->Done(number);
    return false;
  }
  if (state != ListCopied::Raised) {
    ReportNotRaised(out, copy, state, journal);
    return false;
  }
  const ListFinished finished = FinishListCopy(copy, out, journal, pending);
  if (finished != ListFinished::Changed) return finished == ListFinished::Replaced;
  return CopyChangedAgain(copy, settings, sentTable, out, watch, journal, pending);
}

void UpdateFileAreas(const std::vector<std::string>& areas, const CounterSettings& settings,
                     SentTable& sentTable, const Output& out, AreaJournal* journal,
                     ListEntrySink* entries) {
  Print(out, Format("\xFE Processing %d file areas\n", static_cast<int>(areas.size())));
  // Each replaced list's directory entry is committed to the disk while the next
  // list is written; all of them before the new Last_Time is stored.
  platform::PendingDirectories pending;
  if (!out.debug) {
    Print(out, "  In process :     ");
    RewriteOverlapped(areas, settings, sentTable, out, journal, pending, entries);
    platform::SyncDirectories(pending);
    Print(out, "\n");
    return;
  }
  // Debug mode shows each list's lines as it is copied, one list after the other.
  int number = 0;
  for (const std::string& area : areas) {
    ++number;
    Print(out, "Processing " + area + "\n");
    LogWrite(out, Format("\nFile area: %02d\nPath     : ", number) + area + "\n");
    RewriteFileList(settings, sentTable, out, area, journal, number, &pending, entries);
  }
  platform::SyncDirectories(pending);
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
