#include "core/known_keywords.h"

#include <algorithm>
#include <vector>

#include "core/keyword.h"
#include "core/text.h"

namespace zirka {

namespace {

// Letters changed, added, dropped, or two neighbours swapped, to turn `a` into `b`.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  const std::size_t n = b.size();
  std::vector<std::size_t> before(n + 1), previous(n + 1), current(n + 1);
  for (std::size_t j = 0; j <= n; ++j) previous[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j <= n; ++j) {
      const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
    }
    before.swap(previous);
    previous.swap(current);
  }
  return previous[n];
}

bool IsKnown(std::string_view word) {
  return std::find(std::begin(kMainCtlKeywords), std::end(kMainCtlKeywords), word) !=
         std::end(kMainCtlKeywords);
}

// The first word of a line read as the lookup reads it; empty for an empty line
// or a comment.
std::string_view FirstWord(std::string_view line) {
  const std::size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos || line[start] == ';' || line[start] == '\n') return {};
  const std::size_t end = line.find_first_of(" \n", start);
  return line.substr(start, end == std::string_view::npos ? line.npos : end - start);
}

}  // namespace

void FindUnknownKeywords(platform::TextFile& ctl,
                         const std::function<bool(const UnknownKeyword&)>& found) {
  ctl.Rewind();
  std::string piece;
  std::size_t line = 0;
  bool lineStart = true;
  while (ctl.ReadPiece(piece, kCtlPiece)) {
    const bool startsLine = lineStart;
    lineStart = !piece.empty() && piece.back() == '\n';
    if (!startsLine) continue;
    ++line;
    for (char& c : piece) c = c == '\t' ? ' ' : UpperAsciiChar(c);
    const std::string_view word = FirstWord(piece);
    if (word.empty() || IsKnown(word)) continue;
    // "AREA;x" is no AREA line (no blank after the keyword), but AREA was meant.
    const std::string_view beforeComment = word.substr(0, word.find(';'));
    if (!found({line, std::string(word), LikelyKeyword(beforeComment)})) return;
  }
}

std::string LikelyKeyword(std::string_view word) {
  std::string_view best;
  std::size_t bestDistance = 3;  // two slips at most
  for (const std::string_view keyword : kMainCtlKeywords) {
    const std::size_t distance = EditDistance(word, keyword);
    // A slip must leave most of the keyword standing: LGO is LOG, FOO is not.
    if (distance < bestDistance && 2 * distance < keyword.size()) {
      best = keyword;
      bestDistance = distance;
    }
  }
  return std::string(best);
}

}  // namespace zirka
