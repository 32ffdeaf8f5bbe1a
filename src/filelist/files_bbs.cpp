#include "filelist/files_bbs.h"

#include "filelist/counter_format.h"
#include "core/replacement.h"
#include "platform/files.h"
#include "core/messages.h"
#include "core/text.h"

namespace zirka {

namespace {

// A file name has at most 12 characters; a longer first word names no file.
constexpr std::size_t kMaxFileName = 12;

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
// blank, tab or line feed).
SentFile* MatchingSentFile(SentTable& sentTable, const Output& out,
                           const platform::PieceView& line, std::size_t& wordEnd) {
  if (!IsFileEntry(line)) return nullptr;
  // Sent names are unique and upper case, so one lookup of the word in ASCII upper
  // case finds the only record that equals it ignoring case.
  char upper[kMaxFileName];
  const std::string_view text = line.text;
  std::size_t end = 0;
  for (; end < text.size(); ++end) {
    char c = text[end];
    if (c == ' ' || c == '\t') break;
    if (end == kMaxFileName) {
      WarnLongName(out, line);
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

// A list that the interrupted run replaced: its raised entries still use up
// their sent files under FIRST_ONLY, as they did in that run.
void MarkUsed(const CounterSettings& settings, SentTable& sentTable, const Output& out,
              const std::string& area) {
  if (!settings.firstOnly) return;
  auto list = platform::OpenText(area, platform::Mode::Read, platform::Share::DenyWrite);
  platform::TextFile sink = DiscardingText();
  if (list) CopyFileList(settings, sentTable, out, *list, sink);
}

}  // namespace

platform::TextFile DiscardingText() { return platform::TextFile(std::make_unique<Discard>(), "NUL"); }

bool CopyFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                  platform::TextFile& list, platform::TextFile& temp, RaisedEntrySink* raised) {
  platform::PieceView line;
  std::size_t wordEnd = 0;
  while (list.NextPiece(line, kListPiece)) {
    SentFile* sent = MatchingSentFile(sentTable, out, line, wordEnd);
    if (sent == nullptr) {
      if (!temp.WritePiece(line)) return false;
      continue;
    }
    ShowMatch(out, *sent);
    CounterChange change;
    if (!temp.Write(FormatCounterLine(settings, PieceText(line), wordEnd, *sent, out,
                                      raised != nullptr ? &change : nullptr))) {
      return false;
    }
    if (raised != nullptr) raised->Raised(*sent, change);
    if (settings.firstOnly) sent->used = true;
  }
  // A list that could not be read to its end must not be replaced by its first part.
  return !list.readFailed();
}

bool RewriteFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                     const std::string& area, AreaJournal* journal, int number,
                     platform::PendingDirectories* pending) {
  if (journal != nullptr && journal->AlreadyReplaced(number)) {
    MarkUsed(settings, sentTable, out, area);
    return true;
  }
  const std::string tempPath = TemporaryName(area, ".!#$");
  auto list = platform::OpenText(area, platform::Mode::Read, platform::Share::DenyWrite);
  std::unique_ptr<platform::TextFile> temp;
  if (list) temp = platform::OpenText(tempPath, platform::Mode::Write, platform::Share::DenyAll);
  if (!list || !temp) {
    PrintAndLog(out, "!ERR-Cann't create temp file " + tempPath + "\n");
    if (journal != nullptr) journal->Done(number);  // a step left pending ends here
    return false;
  }

  const bool written = CopyFileList(settings, sentTable, out, *list, *temp);
  const bool replaced = FinishReplacement(
      std::move(temp), tempPath, area, written,
      [&] {
        list.reset();
        if (journal == nullptr) return true;
        // The journal's Ready carries the Done of the list before it to the disk:
        // that list's move must be there first.
        if (pending != nullptr) platform::SyncDirectories(*pending);
        return journal->Ready(number, area);
      },
      pending);
  if (journal != nullptr) journal->Done(number);
  if (!replaced) {
    ReportNotReplaced(out, area);
    return false;
  }
  return true;
}

void UpdateFileAreas(const std::vector<std::string>& areas, const CounterSettings& settings,
                     SentTable& sentTable, const Output& out, AreaJournal* journal) {
  Print(out, Format("\xFE Processing %d file areas\n", static_cast<int>(areas.size())));
  if (!out.debug) Print(out, "  In process :     ");
  // Each replaced list's directory entry is committed to the disk while the next
  // list is written; all of them before the new Last_Time is stored.
  platform::PendingDirectories pending;
  int number = 0;
  for (const std::string& area : areas) {
    ++number;
    if (out.debug) {
      Print(out, "Processing " + area + "\n");
      LogWrite(out, Format("\nFile area: %02d\nPath     : ", number) + area + "\n");
    } else {
      Print(out, Format("\b\b\b\b%4d", number));
    }
    RewriteFileList(settings, sentTable, out, area, journal, number, &pending);
  }
  platform::SyncDirectories(pending);
  if (!out.debug) Print(out, "\n");
}

}  // namespace zirka
