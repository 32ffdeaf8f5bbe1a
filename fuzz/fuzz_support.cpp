#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "platform/raw_file.h"
#include "support/memory_file.h"

namespace zirka::fuzz {

void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "\nPROPERTY FAILED: %s\n  at %s:%d\n", what, file, line);
  std::fflush(stderr);
  std::abort();
}

bool StartsWithByteOrderMark(std::string_view bytes) {
  return bytes.substr(0, bytes.find('\x1a')).starts_with("\xEF\xBB\xBF");
}

std::vector<std::string> DosPieces(std::string_view bytes, std::size_t maxChars) {
  const std::size_t end = bytes.find('\x1a');
  std::string_view raw = bytes.substr(0, end);
  if (StartsWithByteOrderMark(bytes)) raw.remove_prefix(3);
  std::string text;
  text.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text.push_back(raw[i]);
  }
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = start;
    while (stop < text.size() && stop - start < maxChars) {
      if (text[stop++] == '\n') break;
    }
    pieces.emplace_back(text, start, stop - start);
    start = stop;
  }
  return pieces;
}

std::string DosEncode(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

std::unique_ptr<platform::TextFile> ReadingText(std::string_view bytes) {
  return platform::MakeMemoryText(std::make_shared<std::string>(bytes));
}

std::unique_ptr<platform::TextFile> WritingText(std::shared_ptr<std::string> out) {
  return platform::MakeMemoryText(std::move(out), "OUT");
}

bool IsDated(std::string_view line) {
  return line.size() >= 5 && IsDigit(line[0]) && IsDigit(line[1]) && line[2] == '/' &&
         IsDigit(line[3]) && IsDigit(line[4]);
}

}  // namespace zirka::fuzz
