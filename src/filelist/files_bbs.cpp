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
bool IsFileEntry(std::string_view line) {
  const char first = line.front();
  return first != '\n' && first != ' ' && first != '-';
}

// Where the first word of an entry ends: at the first blank, tab or line feed.
std::size_t FirstWordEnd(std::string_view line) {
  const std::size_t end = line.find_first_of(std::string_view(" \t\n", 3));
  return end == std::string_view::npos ? line.size() : end;
}

void WarnLongName(const Output& out, std::string_view line) {
  if (!out.debug) return;
  WriteMessage(out,
               "!WARN-Found long filename (more than 12 chars) or invalid FILES.BBS string\n"
               "      This version do NOT supports long filenames!\n",
               Channel::ToBoth);
  Print(out, line);
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
// it stands; `wordEnd` receives where the entry's first word ends.
SentFile* MatchingSentFile(SentTable& sentTable, const Output& out, const std::string& line,
                           std::size_t& wordEnd) {
  if (!IsFileEntry(line)) return nullptr;
  wordEnd = FirstWordEnd(line);
  if (wordEnd > kMaxFileName) {
    WarnLongName(out, line);
    return nullptr;
  }
  // Sent names are unique and upper case, so one lookup finds the only record
  // that equals the word ignoring the case of ASCII letters.
  SentFile* sent = sentTable.Find(UpperAscii(std::string_view(line).substr(0, wordEnd)));
  // With FIRST_ONLY on, a record that has raised one entry matches no other.
  if (sent == nullptr || sent->used) return nullptr;
  return sent;
}

void ReportNotReplaced(const Output& out, const std::string& list) {
  PrintAndLog(out, "!ERR-Cann't replace " + list + "\n");
}

// A replacement that goes nowhere: the copy of a list that was raised already.
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
  platform::TextFile sink(std::make_unique<Discard>(), "NUL");
  if (list) CopyFileList(settings, sentTable, out, *list, sink);
}

}  // namespace

bool CopyFileList(const CounterSettings& settings, SentTable& sentTable, const Output& out,
                  platform::TextFile& list, platform::TextFile& temp, RaisedEntrySink* raised) {
  std::string line;
  std::size_t wordEnd = 0;
  while (list.ReadPiece(line, kListPiece)) {
    SentFile* sent = MatchingSentFile(sentTable, out, line, wordEnd);
    if (sent == nullptr) {
      if (!temp.Write(line)) return false;
      continue;
    }
    ShowMatch(out, *sent);
    CounterChange change;
    if (!temp.Write(FormatCounterLine(settings, line, wordEnd, *sent, out,
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
                     const std::string& area, AreaJournal* journal, int number) {
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
  const bool replaced = FinishReplacement(std::move(temp), tempPath, area, written, [&] {
    list.reset();
    return journal == nullptr || journal->Ready(number, area);
  });
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
  int number = 0;
  for (const std::string& area : areas) {
    ++number;
    if (out.debug) {
      Print(out, "Processing " + area + "\n");
      LogWrite(out, Format("\nFile area: %02d\nPath     : ", number) + area + "\n");
    } else {
      Print(out, Format("\b\b\b\b%4d", number));
    }
    RewriteFileList(settings, sentTable, out, area, journal, number);
  }
  if (!out.debug) Print(out, "\n");
}

}  // namespace zirka
