#include "core/keyword.h"

#include "platform/files.h"

namespace zirka {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Upper case and tabs as blanks: the form in which a control-file line is matched.
void NormaliseLine(std::string& line) {
  for (char& c : line) {
    if (c == '\t') {
      c = ' ';
    } else {
      c = UpperChar(c);
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

std::string TrimBlanks(std::string& text) {
  if (text.find_first_not_of(' ') == std::string::npos) return {};  // spaces only, or empty
  std::size_t begin = 0;
  while (begin < text.size() && IsBlankOrControl(text[begin])) ++begin;
  std::size_t end = text.size();
  while (end > begin && IsBlankOrControl(text[end - 1])) --end;
  text = text.substr(begin, end - begin);
  return text;
}

bool IsBlankPrefix(std::string_view text, std::size_t n) {
  if (n > text.size()) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] != ' ') return false;
  }
  return true;
}

void EnsureTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() == '\n') path.pop_back();
  if (path.empty() || !platform::IsDirSeparator(path.back())) path.push_back('\\');
}

std::string& CompletePath(std::string& path, const std::string& tmailDirectory) {
  if (tmailDirectory.empty()) return path;
  for (char c : path) {
    if (platform::IsDirSeparator(c)) return path;
  }
  // The whole path is kept, however long: nothing is cut for a buffer's sake.
  path.insert(0, tmailDirectory);
  return path;
}

std::string& ToUpperAscii(std::string& text) {
  for (char& c : text) c = UpperChar(c);
  return text;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  ToUpperAscii(upper);
  return upper;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  }
  return true;
}

}  // namespace zirka
