#include "core/whole_line.h"

namespace zirka {

namespace {

bool EndsLine(const std::string& piece) { return !piece.empty() && piece.back() == '\n'; }

}  // namespace

LineState ReadWholeLine(platform::TextFile& stream, std::string& line, std::string& spare) {
  if (!stream.ReadPiece(line, kWholeLineMax)) return LineState::None;
  if (EndsLine(line)) {
    line.pop_back();
    return LineState::Whole;
  }
  // A piece shorter than the bound without a line feed ends the file.
  if (line.size() < kWholeLineMax) return LineState::Unfinished;
  // The line goes on: the rest is read piece by piece and dropped.
  while (stream.ReadPiece(spare, kWholeLineMax)) {
    if (EndsLine(spare)) return LineState::Overlong;
  }
  return LineState::Unfinished;
}

}  // namespace zirka
