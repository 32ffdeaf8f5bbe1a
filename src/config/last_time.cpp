#include "config/last_time.h"

#include "core/keyword.h"
#include "core/replacement.h"
#include "platform/files.h"
#include "core/messages.h"
#include "core/text.h"

namespace zirka {

namespace {

constexpr std::string_view kKeyword = "Last_Time";

// What one copy of ZIRKA.CTL did, for the notices once it is in place.
struct CopyResult {
  bool written = false;  // every write succeeded
  int updated = 0;       // Last_Time lines replaced
  bool added = false;    // the Last_Time block was appended
};

// A Last_Time line: after trimming, the keyword in any letter case, then a blank,
// a tab, ";" or the end of the line. A longer word (Last_Timer) is another line.
bool IsLastTimeLine(const std::string& line) {
  std::string copy = line;
  const std::string trimmed = TrimBlanks(copy);
  if (trimmed.size() < kKeyword.size()) return false;
  if (!EqualsIgnoreCase(std::string_view(trimmed).substr(0, kKeyword.size()), kKeyword)) {
    return false;
  }
  if (trimmed.size() == kKeyword.size()) return true;
  const char next = trimmed[kKeyword.size()];
  return next == ' ' || next == '\t' || next == ';';
}

std::string LastTimeLine(const RunContext& ctx) {
  return "Last_Time " + ctx.newLastTime.written() + "  ; Last analisis time\n";
}

// Copies ZIRKA.CTL from its start into `temp`, every Last_Time line replaced by
// the new one; appends the Last_Time block when none was replaced and none was
// stored.
CopyResult CopyControlFile(RunContext& ctx, platform::TextFile& source, platform::TextFile& temp) {
  CopyResult result;
  bool ok = source.Rewind();
  // A control file that begins with a byte order mark keeps it.
  if (ok && source.StartsWithByteOrderMark()) ok = temp.Write(platform::kByteOrderMark);
  bool pending = true;
  bool atLineStart = true;
  std::string line;
  while (ok && source.ReadPiece(line, kCtlPiece)) {
    const bool replace = line.front() != ';' && line.front() != '\n' && IsLastTimeLine(line);
    if (replace) {
      ok = temp.Write(LastTimeLine(ctx));
      ++result.updated;
      pending = false;
      atLineStart = true;
    } else {
      ok = temp.Write(line);
      atLineStart = line.back() == '\n';
    }
  }
  if (ok && ctx.noStoredLastTime && pending) {
    // The block starts on a line of its own, also after a last line without a
    // line feed.
    if (!atLineStart) ok = temp.Write("\n");
    // The comment line is Russian in CP866 (OEM) bytes, "Время последнего просмотра
    // лога" (time of the last log analysis), written as they stand, not translated.
    ok = ok && temp.Write(LastTimeLine(ctx) +
                          ";\n;   \x82\xE0\xA5\xAC\xEF \xAF\xAE\xE1\xAB\xA5\xA4\xAD\xA5\xA3\xAE "
                          "\xAF\xE0\xAE\xE1\xAC\xAE\xE2\xE0\xA0 \xAB\xAE\xA3\xA0\n");
    result.added = true;
  }
  // A control file that could not be read to its end must not be cut short.
  result.written = ok && !source.readFailed();
  return result;
}

// Writes the new ZIRKA.CTL through `tempPath` and moves it over the old one. The
// old file is never deleted: on any failure it stays whole and the temporary file
// is removed. ZIRKA.CTL is closed before the move (a file that is open can't be
// replaced on Windows) and opened again for a later attempt.
bool ReplaceThrough(RunContext& ctx, const std::string& tempPath, CopyResult& result) {
  auto temp = platform::OpenText(tempPath, platform::Mode::Create, platform::Share::DenyAll);
  if (!temp) return false;
  if (!ctx.mainCtl) {
    ctx.mainCtl =
        platform::OpenText(ctx.mainCtlPath, platform::Mode::Read, platform::Share::DenyWrite);
  }
  if (ctx.mainCtl) result = CopyControlFile(ctx, *ctx.mainCtl, *temp);
  const bool written = ctx.mainCtl != nullptr && result.written;
  return FinishReplacement(std::move(temp), tempPath, platform::FinalPath(ctx.mainCtlPath),
                           written, [&] {
    ctx.mainCtl.reset();
    return true;
  });
}

void ShowNotices(RunContext& ctx, const CopyResult& result) {
  for (int i = 0; i < result.updated; ++i) {
    PrintAndLog(ctx, "\xFE \"Last_Time\" variable updated\n");
  }
  if (result.added) {
    PrintAndLog(ctx, "\xFE \"Last_Time\" variable added to Zirka.Ctl\n");
  }
}

}  // namespace

bool HasLastTimeToStore(const RunContext& ctx) {
  return ctx.anyLogNew && !ctx.newLastTime.empty();
}

int CountedErrorlevel(const RunContext& ctx) { return ctx.sentTable.empty() ? 4 : 0; }

int StoreLastTime(RunContext& ctx, bool* stored) {
  // Nothing to store: ZIRKA.CTL is left as it is.
  if (HasLastTimeToStore(ctx)) {
    // First through a temporary file named after the program, in its directory;
    // when that can't be created or moved over ZIRKA.CTL (a read-only directory,
    // another volume), through one beside ZIRKA.CTL (the file it is, through its
    // links, which stay links). The bin directory of an
    // install (/usr/bin) is never written to.
    CopyResult result;
    if ((!ctx.programInstalled &&
         ReplaceThrough(ctx, TemporaryName(ctx.programPath, ".$#!"), result)) ||
        ReplaceThrough(ctx, TemporaryName(platform::FinalPath(ctx.mainCtlPath), ".$#!"), result)) {
      ShowNotices(ctx, result);
    } else {
      WriteMessage(ctx, "\nAn error occured while adding Last_Time variable to Zirka.Ctl\n",
                   Channel::ToBoth);
      if (stored != nullptr) *stored = false;
    }
  }
  return CountedErrorlevel(ctx);
}

}  // namespace zirka
