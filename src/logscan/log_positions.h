#pragma once
// The positions file (ZIRKA.POS beside ZIRKA.CTL): where the last run that stored
// Last_Time stopped reading each log. DOS text:
//
//   ; Zirka log positions: where each log was read up to. Safe to delete.
//   58811 9F3A5B7C1D2E4F60 D:\T-MAIL\T-MAIL.LOG
//
// one line per log: the byte offset, the hash of the log's head (HeadHash) in 16
// hexadecimal digits, and the log's path.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/context.h"
#include "core/log_position.h"

namespace zirka {

// The positions file of the run that uses `mainCtlPath`: its extension replaced by
// .POS (ZIRKA.CTL gives ZIRKA.POS, a name without one gets .POS appended).
std::string PositionsPath(const std::string& mainCtlPath);

// The whole file's text, LF line ends (the text stream writes CR LF).
std::string FormatPositions(const std::vector<LogPosition>& positions);

// Reads a positions text (LF or CR LF). Every sound line is kept; a line that makes
// no sense is left out and the first such is described in `error` (then false).
bool ParsePositions(std::string_view text, std::vector<LogPosition>& positions,
                    std::string& error);

// What reading a positions file found: none at the path, one that can't be opened,
// or one read (whose sound lines are in `positions`, and the first fault, if any,
// in `error`).
enum class PositionsFile { None, Unreadable, Read };
PositionsFile ReadPositionsFile(const std::string& path, std::vector<LogPosition>& positions,
                                std::string& error);

// Reads the run's positions file into ctx.storedPositions. A missing file is no
// fault; one that can't be read or makes no sense gives a "?WARN-" line on the
// screen and in the program log, and the logs it can't vouch for are checked
// against Last_Time.
void ReadStoredPositions(RunContext& ctx);

// What the run leaves as each log's position: the end of what the scan read, or
// the position of a log that was not scanned; the stored positions of logs this
// run did not have (one that could not be opened) are kept.
std::vector<LogPosition> PositionsToStore(const RunContext& ctx);

// The position of `entry` at `offset`, hashed from the head the run read of it.
LogPosition PositionOf(const LogEntry& entry, std::uint64_t offset);

// Writes the positions file whole through a temporary file beside it (.PO$),
// committed to the disk and moved over it. False when it could not be written; the
// old file then stays as it was.
bool WritePositions(const std::string& path, const std::vector<LogPosition>& positions);

// Reads what the run needs of each log before deciding where to read it: its size
// and its head. FindReadEnd then finds where its reading ends.
void ProbeLogs(RunContext& ctx);

// Finds the end of the log's last whole line again without reading anything before
// byte `from` (the end of a line, or 0), and limits the log's reads to it.
void FindReadEnd(LogEntry& entry, std::uint64_t from);

}  // namespace zirka
