#include "areas/area_table.h"

#include "core/keyword.h"
#include "core/messages.h"
#include "core/text.h"
#include "platform/files.h"

namespace zirka {

namespace {

// T-Mail's list lines are read in pieces of this many characters.
constexpr std::size_t kListLinePiece = 180;
// Lines this short (a bare drive root such as C:\) name no area.
constexpr std::size_t kMinListLine = 4;

// Tabs as blanks, cut at the first line feed, carriage return or ";", trimmed.
// Empty for a line that gives nothing (a comment, blanks, 3 characters or fewer).
std::string CleanListLine(std::string line) {
  for (char& c : line) {
    if (c == '\t') c = ' ';
  }
  const std::size_t end = line.find_first_of("\n\r;");
  if (end != std::string::npos) line.erase(end);
  std::string trimmed = TrimBlanks(line);
  if (trimmed.size() < kMinListLine) return {};
  return trimmed;
}

platform::Share ShareFor(AreaSource source) {
  // The requestable directories list belongs to T-Mail's side, whose files are
  // shared fully; the others only let others read.
  return source == AreaSource::RequestableDirs ? platform::Share::DenyNone
                                               : platform::Share::DenyWrite;
}

// Reads one of T-Mail's two lists and passes every candidate it gives to AcceptArea.
void ReadAreaList(RunContext& ctx, const std::string& path, AreaSource source) {
  auto list = platform::OpenText(path, platform::Mode::Read, platform::Share::DenyNone);
  if (!list) {
    if (source == AreaSource::RequestableDirs) {
      Debug(ctx, "!ERR-Cann't open requestable directories list: " + path + "\n");
      LogWrite(ctx, "!ERR-Unable to open requestable directories list: " + path + "\n");
    } else {
      const std::string message = "!ERR-Unable to open list of aliases: " + path + "\n";
      Debug(ctx, message);
      LogWrite(ctx, message);
    }
    return;
  }
  std::string line;
  while (list->ReadPiece(line, kListLinePiece)) {
    const auto candidate = source == AreaSource::RequestableDirs ? RequestableDirCandidate(line)
                                                                 : AliasCandidate(line);
    if (candidate && !AcceptArea(ctx.areaTable, ctx.out(), *candidate, source) &&
        source == AreaSource::RequestableDirs) {
      ctx.areasWithoutList.push_back(UpperAscii(*candidate + "FILES.BBS"));
    }
  }
  list->Close();
}

}  // namespace

std::optional<std::string> RequestableDirCandidate(std::string line) {
  std::string text = CleanListLine(std::move(line));
  if (text.empty()) return std::nullopt;
  // The directory is the first word; a description may follow it.
  const std::size_t blank = text.find(' ');
  if (blank != std::string::npos) text.erase(blank);
  EnsureTrailingBackslash(text);
  return text;
}

std::optional<std::string> AliasCandidate(std::string line) {
  const std::string text = CleanListLine(std::move(line));
  if (text.empty() || text.front() == '\\') return std::nullopt;
  // The alias is the first word; it only marks the start of the line.
  std::size_t pos = text.find(' ');
  if (pos == std::string::npos) return std::nullopt;
  pos = text.find_first_not_of(' ', pos);
  if (pos == std::string::npos) return std::nullopt;
  // A group "(...)" is taken only when the rest of the line holds both a ")" and
  // a blank; otherwise the "(" belongs to the path.
  if (text[pos] == '(' && text.find(')', pos) != std::string::npos &&
      text.find(' ', pos) != std::string::npos) {
    pos = text.find_first_not_of(' ', text.find(')', pos) + 1);
    if (pos == std::string::npos) return std::nullopt;
  }
  // The path up to and including its last separator; a file name or mask after
  // it is dropped.
  const std::string path = text.substr(pos);
  const std::size_t last = LastSeparator(path);
  if (last == std::string::npos) return std::nullopt;
  return path.substr(0, last + 1);
}

bool AcceptArea(std::vector<std::string>& areaTable, const Output& out,
                const std::string& directory, AreaSource source) {
  Debug(out, Format(">  area %02d: ", static_cast<int>(areaTable.size()) + 1) + directory);
  const std::string path = UpperAscii(directory + "FILES.BBS");

  auto files = platform::OpenText(path, platform::Mode::Read, ShareFor(source));
  if (!files) {
    Debug(out, "FILES.BBS not found! Ignoring...\n");
    if (source == AreaSource::RequestableDirs) LogWrite(out, path + " not found\n");
    // Every candidate's debug line is ended the same way, so the message's own
    // line feed is followed by an empty line.
    Debug(out, "\n");
    return false;
  }
  files->Close();
  files.reset();

  // Areas from T-Mail's lists are unique; AREA lines are taken as they stand.
  // Entries are upper case, so entries equal ignoring case are equal.
  if (source != AreaSource::AreaLine) {
    for (const std::string& earlier : areaTable) {
      if (earlier != path) continue;
      Debug(out, " - duplicated area\n");
      if (source == AreaSource::RequestableDirs) {
        LogWrite(out, "?WARN-Area " + earlier + " occured two or more times\n");
      }
      return true;
    }
  }
  Debug(out, "\n");
  areaTable.push_back(path);
  return true;
}

void BuildAreaTable(RunContext& ctx) {
  // Every AREA line from the top of ZIRKA.CTL, down to the first empty value.
  ctx.mainCtl->Rewind();
  for (;;) {
    std::string directory = LookupKeyword(*ctx.mainCtl, "AREA");
    if (directory.empty()) break;
    EnsureTrailingBackslash(directory);
    if (!AcceptArea(ctx.areaTable, ctx.out(), directory, AreaSource::AreaLine)) {
      ctx.areasWithoutList.push_back(UpperAscii(directory + "FILES.BBS"));
    }
  }

  if (ctx.tmailCtl && ctx.settings.lookupCtl) {
    ctx.tmailCtl->Rewind();
    std::string dirList = LookupKeyword(*ctx.tmailCtl, "FREQ_DIR");
    Debug(ctx, "Req dir list path: " + dirList + "\n");
    CompletePath(dirList, ctx.tmailDirectory);
    ReadAreaList(ctx, dirList, AreaSource::RequestableDirs);

    ctx.tmailCtl->Rewind();
    std::string aliases = LookupKeyword(*ctx.tmailCtl, "FREQ_NDX");
    CompletePath(aliases, ctx.tmailDirectory);
    ReadAreaList(ctx, aliases, AreaSource::Aliases);
  }

  const int count = static_cast<int>(ctx.areaTable.size());
  Debug(ctx, Format("Total %d area(s) found\n", count));
  if (ctx.debug) LogWrite(ctx, Format("\xFE Total %d file area(s) found\n", count));
}

}  // namespace zirka
