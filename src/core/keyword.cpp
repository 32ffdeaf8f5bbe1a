#include "core/keyword.h"

#include "core/text.h"

namespace zirka {

namespace {

// Upper case and tabs as blanks: the form in which a control-file line is matched.
void NormaliseLine(std::string& line) {
  for (char& c : line) {
    if (c == '\t') {
      c = ' ';
    } else {
      c = UpperAsciiChar(c);
    }
  }
}

// The value of `line` when it is a line of `keyword`; nothing otherwise.
bool MatchLine(const std::string& line, std::string_view keyword, std::string& value) {
  if (line.empty() || line.front() == '\n') return false;  // an empty line
  // Only the first occurrence of the keyword is considered.
  const std::size_t at = line.find(keyword);
  if (at == std::string::npos) return false;
  if (!IsBlankPrefix(line, at)) return false;  // a comment, or another word first
  const std::size_t after = at + keyword.size();
  if (after >= line.size() || line[after] != ' ') return false;  // a longer word
  const std::size_t semicolon = line.find(';', after);
  const std::size_t end = semicolon == std::string::npos ? line.size() : semicolon;
  value.assign(line, after, end - after);
  return true;
}

}  // namespace

std::string LookupKeyword(platform::TextFile& stream, std::string_view keyword) {
  std::string line;
  std::string value;
  while (stream.ReadPiece(line, kCtlPiece)) {
    NormaliseLine(line);
    if (MatchLine(line, keyword, value)) return TrimBlanks(value);
  }
  return {};
}

std::string FirstKeywordValue(platform::TextFile& stream, std::string_view keyword) {
  stream.Rewind();
  return LookupKeyword(stream, keyword);
}

}  // namespace zirka
