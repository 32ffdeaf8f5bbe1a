#include "core/text.h"

#include "platform/files.h"

namespace zirka {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace


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
  if (tmailDirectory.empty() || LastSeparator(path) != std::string::npos) return path;
  // The whole path is kept, however long: nothing is cut for a buffer's sake.
  path.insert(0, tmailDirectory);
  return path;
}

std::string& ToUpperAscii(std::string& text) {
  for (char& c : text) c = UpperAsciiChar(c);
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
    if (UpperAsciiChar(a[i]) != UpperAsciiChar(b[i])) return false;
  }
  return true;
}

std::size_t LastSeparator(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (platform::IsDirSeparator(path[i - 1])) return i - 1;
  }
  return std::string_view::npos;
}

void AppendPadded(std::string& out, std::string_view text, std::size_t width) {
  out.append(text);
  if (text.size() < width) out.append(width - text.size(), ' ');
}

}  // namespace zirka
