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

void WarnLongName(RunContext& ctx, std::string_view line) {
  if (!ctx.debug) return;
  WriteMessage(ctx,
               "!WARN-Found long filename (more than 12 chars) or invalid FILES.BBS string\n"
               "      This version do NOT supports long filenames!\n",
               Channel::ToBoth);
  Print(ctx, line);
}

void ShowMatch(RunContext& ctx, const SentFile& sent) {
  if (!ctx.debug) return;
  const auto times = static_cast<long long>(sent.times);
  std::string screenLine = "\xFA ";
  AppendPadded(screenLine, sent.name, 13);
  Print(ctx, screenLine + Format(" %lld times\n", times));
  std::string logLine = "     ";
  AppendPadded(logLine, sent.name, 12);
  LogWrite(ctx, logLine + Format("   %2lld times\n", times));
}

// The sent file that a list line raises, or nullptr when the line is copied as
// it stands; `wordEnd` receives where the entry's first word ends.
SentFile* MatchingSentFile(RunContext& ctx, const std::string& line, std::size_t& wordEnd) {
  if (!IsFileEntry(line)) return nullptr;
  wordEnd = FirstWordEnd(line);
  if (wordEnd > kMaxFileName) {
    WarnLongName(ctx, line);
    return nullptr;
  }
  // Sent names are unique and upper case, so one lookup finds the only record
  // that equals the word ignoring the case of ASCII letters.
  SentFile* sent = ctx.sentTable.Find(UpperAscii(std::string_view(line).substr(0, wordEnd)));
  // With FIRST_ONLY on, a record that has raised one entry matches no other.
  if (sent == nullptr || sent->used) return nullptr;
  return sent;
}

void ReportNotReplaced(RunContext& ctx, const std::string& list) {
  PrintAndLog(ctx, "!ERR-Cann't replace " + list + "\n");
}

}  // namespace

bool CopyFileList(RunContext& ctx, platform::TextFile& list, platform::TextFile& temp) {
  std::string line;
  std::size_t wordEnd = 0;
  while (list.ReadPiece(line, kListPiece)) {
    SentFile* sent = MatchingSentFile(ctx, line, wordEnd);
    if (sent == nullptr) {
      if (!temp.Write(line)) return false;
      continue;
    }
    ShowMatch(ctx, *sent);
    if (!temp.Write(FormatCounterLine(ctx, line, wordEnd, *sent))) return false;
    if (ctx.settings.firstOnly) sent->used = true;
  }
  // A list that could not be read to its end must not be replaced by its first part.
  return !list.readFailed();
}

void RewriteFileList(RunContext& ctx, const std::string& area, int /*number*/) {
  const std::string tempPath = TemporaryName(area, ".!#$");
  auto list = platform::OpenText(area, platform::Mode::Read, platform::Share::DenyWrite);
  std::unique_ptr<platform::TextFile> temp;
  if (list) temp = platform::OpenText(tempPath, platform::Mode::Write, platform::Share::DenyAll);
  if (!list || !temp) {
    PrintAndLog(ctx, "!ERR-Cann't create temp file " + tempPath + "\n");
    return;
  }

  const bool written = CopyFileList(ctx, *list, *temp);
  if (!FinishReplacement(std::move(temp), tempPath, area, written, [&] { list.reset(); })) {
    ReportNotReplaced(ctx, area);
  }
}

void UpdateFileAreas(RunContext& ctx) {
  Print(ctx, Format("\xFE Processing %d file areas\n", static_cast<int>(ctx.areaTable.size())));
  if (!ctx.debug) Print(ctx, "  In process :     ");
  int number = 0;
  for (const std::string& area : ctx.areaTable) {
    ++number;
    if (ctx.debug) {
      Print(ctx, "Processing " + area + "\n");
      LogWrite(ctx, Format("\nFile area: %02d\nPath     : ", number) + area + "\n");
    } else {
      Print(ctx, Format("\b\b\b\b%4d", number));
    }
    RewriteFileList(ctx, area, number);
  }
  if (!ctx.debug) Print(ctx, "\n");
}

}  // namespace zirka
