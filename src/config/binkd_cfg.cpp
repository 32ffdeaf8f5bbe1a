#include "config/binkd_cfg.h"

#include <cstddef>

#include "core/text.h"
#include "core/whole_line.h"

namespace zirka {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Reads a line's words one at a time.
class WordReader {
 public:
  WordReader(std::string_view line, const EnvLookup& env) : line_(line), env_(env) {
    if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
  }

  // The next word into `word`; false at the end of the line or at a comment.
  bool Next(std::string& word) {
    word.clear();
    while (pos_ < line_.size() && IsSeparator(line_[pos_])) ++pos_;
    if (pos_ >= line_.size() || line_[pos_] == '#') return false;
    bool quoted = false;
    while (pos_ < line_.size()) {
      const char c = line_[pos_];
      if (!quoted && IsSeparator(c)) break;
      ++pos_;
      if (c == '"') {
        quoted = !quoted;
      } else if (c == '\\') {
        if (pos_ < line_.size()) word += line_[pos_++];
      } else if (c == '%') {
        ExpandVariable(word);
      } else {
        word += c;
      }
    }
    return true;
  }

 private:
  // Just after a '%': appends the variable's value and moves past "NAME%", or
  // appends the '%' alone.
  void ExpandVariable(std::string& word) {
    std::size_t end = pos_;
    while (end < line_.size()) {
      const char c = line_[end];
      if (c == '%' || c == '"' || c == '\\' || IsSeparator(c)) break;
      ++end;
    }
    if (end > pos_ && end < line_.size() && line_[end] == '%') {
      if (const auto value = env_(line_.substr(pos_, end - pos_))) {
        word += *value;
        pos_ = end + 1;
        return;
      }
    }
    word += '%';
  }

  std::string_view line_;
  const EnvLookup& env_;
  std::size_t pos_ = 0;
};

}  // namespace

std::optional<std::string> BinkdLogOfLine(std::string_view line, const EnvLookup& env) {
  WordReader reader(line, env);
  std::string word;
  if (!reader.Next(word) || !EqualsIgnoreCase(word, "log")) return std::nullopt;
  if (!reader.Next(word)) word.clear();
  return word;
}

std::optional<std::string> FindBinkdLog(std::string_view config, const EnvLookup& env) {
  while (!config.empty()) {
    const std::size_t end = config.find('\n');
    const std::string_view line = config.substr(0, end);
    if (auto value = BinkdLogOfLine(line, env)) return value;
    if (end == std::string_view::npos) break;
    config.remove_prefix(end + 1);
  }
  return std::nullopt;
}

std::optional<std::string> ReadBinkdLog(platform::TextFile& stream, const EnvLookup& env) {
  std::string line;
  std::string spare;
  for (LineState state = ReadWholeLine(stream, line, spare); state != LineState::None;
       state = ReadWholeLine(stream, line, spare)) {
    if (auto value = BinkdLogOfLine(line, env)) return value;
  }
  return std::nullopt;
}

bool IsAbsoluteBinkdPath(std::string_view path) {
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
  return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':';
}

std::string BinkdLogPath(std::string_view cfgPath, std::string_view logPath) {
  if (IsAbsoluteBinkdPath(logPath)) return std::string(logPath);
  std::size_t dirEnd = cfgPath.find_last_of("/\\");
  if (dirEnd != std::string_view::npos) {
    ++dirEnd;
  } else if (cfgPath.size() >= 2 && IsDriveLetter(cfgPath[0]) && cfgPath[1] == ':') {
    dirEnd = 2;
  } else {
    dirEnd = 0;
  }
  std::string path(cfgPath.substr(0, dirEnd));
  path += logPath;
  return path;
}

}  // namespace zirka
