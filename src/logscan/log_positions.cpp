#include "logscan/log_positions.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "core/messages.h"
#include "core/replacement.h"
#include "core/text.h"
#include "platform/files.h"

namespace zirka {

namespace {

constexpr std::string_view kTitle =
    "; Zirka log positions: where each log was read up to. Safe to delete.";
// A positions file is a line per log; anything far larger is not one.
constexpr std::uint64_t kMaxPositionsBytes = 4u << 20;
// The end of a log's last whole line is looked for from its end backwards, first
// in a few bytes (a last line is short), then in blocks growing to this size.
constexpr std::size_t kFirstTailBlock = 512;
constexpr std::size_t kTailBlock = 64 * 1024;

// The end of the log's last whole line: just after its last line feed at or after
// `floor`, else `floor` (which ends a line, or is 0). Read from the end backwards,
// never below `floor`, so a long log costs a few hundred bytes.
std::uint64_t LastLineEnd(TextFile& stream, std::uint64_t size, std::uint64_t floor) {
  std::string block;
  std::size_t blockSize = kFirstTailBlock;
  for (std::uint64_t to = size; to > floor;) {
    const std::uint64_t from = to - floor > blockSize ? to - blockSize : floor;
    const auto want = static_cast<std::size_t>(to - from);
    block.resize(want);
    if (stream.ReadRawAt(from, block.data(), want) != static_cast<long long>(want)) return floor;
    for (std::size_t i = want; i-- > 0;) {
      if (block[i] == '\n') return from + i + 1;
    }
    to = from;
    blockSize = std::min(blockSize * 8, kTailBlock);
  }
  return floor;
}

}  // namespace

std::string PositionsPath(const std::string& mainCtlPath) {
  // Beside the file the control file is, through its links.
  return TemporaryName(platform::FinalPath(mainCtlPath), ".POS");
}

std::string FormatPositions(const std::vector<LogPosition>& positions) {
  std::string text(kTitle);
  text += '\n';
  for (const LogPosition& position : positions) {
    text += PositionText(position);
    text += '\n';
  }
  return text;
}

bool ParsePositions(std::string_view text, std::vector<LogPosition>& positions,
                    std::string& error) {
  positions.clear();
  error.clear();
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    LogPosition position;
    if (ParsePositionText(line, position)) {
      positions.push_back(std::move(position));
    } else if (error.empty()) {
      error = "line " + std::to_string(number) + " is not \"offset hash path\"";
    }
  }
  return error.empty();
}

PositionsFile ReadPositionsFile(const std::string& path, std::vector<LogPosition>& positions,
                                std::string& error) {
  positions.clear();
  error.clear();
  if (!platform::PathExists(path)) return PositionsFile::None;
  platform::OpenFailure why = platform::OpenFailure::Other;
  auto file = platform::OpenText(path, platform::Mode::Read, platform::Share::DenyWrite, why);
  if (!file) return why == platform::OpenFailure::Missing ? PositionsFile::None
                                                          : PositionsFile::Unreadable;
  std::string text;
  std::string piece;
  while (text.size() <= kMaxPositionsBytes && file->ReadPiece(piece, 4096)) text += piece;
  if (file->readFailed()) {
    error = "it can't be read to its end";
  } else if (text.size() > kMaxPositionsBytes) {
    error = "far too long";
  } else {
    ParsePositions(text, positions, error);
  }
  return PositionsFile::Read;
}

void ReadStoredPositions(RunContext& ctx) {
  const std::string path = PositionsPath(ctx.mainCtlPath);
  std::string error;
  switch (ReadPositionsFile(path, ctx.storedPositions, error)) {
    case PositionsFile::None:
      return;
    case PositionsFile::Unreadable:
      PrintAndLog(ctx, "?WARN-Cann't read " + path + ": logs are checked against Last_Time\n");
      return;
    case PositionsFile::Read:
      if (error.empty()) return;
      PrintAndLog(ctx, "?WARN-" + path + " makes no sense (" + error +
                           "): the logs it can't vouch for are checked against Last_Time\n");
      return;
  }
}

LogPosition PositionOf(const LogEntry& entry, std::uint64_t offset) {
  const std::size_t length = std::min(HeadLength(offset), entry.head.size());
  return {offset, HeadHash(std::string_view(entry.head).substr(0, length)), entry.path};
}

std::vector<LogPosition> PositionsToStore(const RunContext& ctx) {
  std::vector<LogPosition> positions;
  for (const LogEntry& entry : ctx.logTable) {
    if (entry.scanFrom) {
      positions.push_back(PositionOf(entry, entry.stream->Tell()));
    } else if (entry.settledAt) {
      positions.push_back(PositionOf(entry, *entry.settledAt));
    }
  }
  for (std::size_t i = 0; i < ctx.storedPositions.size(); ++i) {
    const LogPosition& stored = ctx.storedPositions[i];
    const bool matched = std::any_of(ctx.logTable.begin(), ctx.logTable.end(),
                                     [&](const LogEntry& e) { return e.matched == static_cast<int>(i); });
    const bool placed = std::any_of(positions.begin(), positions.end(),
                                    [&](const LogPosition& p) { return p.path == stored.path; });
    if (!matched && !placed) positions.push_back(stored);
  }
  return positions;
}

bool WritePositions(const std::string& path, const std::vector<LogPosition>& positions) {
  const std::string tempPath = TemporaryName(path, ".PO$");
  auto temp = platform::OpenText(tempPath, platform::Mode::Create, platform::Share::DenyAll);
  if (!temp) return false;
  const bool written = temp->Write(FormatPositions(positions));
  return FinishReplacement(std::move(temp), tempPath, path, written, [] { return true; });
}

void ProbeLogs(RunContext& ctx) {
  for (LogEntry& entry : ctx.logTable) {
    const long long size = entry.stream->Size();
    entry.size = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    entry.head.resize(HeadLength(entry.size));
    const long long got = entry.stream->ReadRawAt(0, entry.head.data(), entry.head.size());
    entry.head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    entry.readEnd = 0;
  }
}

void FindReadEnd(LogEntry& entry, std::uint64_t from) {
  entry.readEnd = LastLineEnd(*entry.stream, entry.size, from);
  entry.stream->Seek(from);
  entry.stream->LimitReadsTo(entry.readEnd);
}

}  // namespace zirka
