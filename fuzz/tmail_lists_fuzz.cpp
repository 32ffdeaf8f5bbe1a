// T-Mail's list of requestable directories and list of aliases over arbitrary bytes.
//
// Input: the list file. It is read as BuildAreaTable reads it, in 180-character
// pieces (checked against the independent model of the DOS text stream), and every
// piece is handed to both line parsers. A candidate is never empty and ends in a
// directory separator. A requestable directory is the cleaned line's first word with
// a separator ensured, so it holds no blank and no ';', and a line gives one exactly
// when it is longer than 3 characters after cleaning. An alias candidate is the end of
// the line's path cut after its last separator: it stands after the alias and its
// blank, and nothing after it up to the end of the line is a separator.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "areas/area_table.h"
#include "core/keyword.h"
#include "fuzz_support.h"
#include "platform/files.h"

namespace {

using namespace zirka;
using namespace zirka::fuzz;

// A line as both lists clean it: tabs as blanks, cut at the first LF, CR or ';',
// trimmed of blanks and control characters at both ends.
std::string Cleaned(std::string_view piece) {
  std::string line(piece.substr(0, piece.find_first_of("\n\r;")));
  for (char& c : line) {
    if (c == '\t') c = ' ';
  }
  std::size_t begin = 0;
  std::size_t end = line.size();
  while (begin < end && IsBlankOrControl(line[begin])) ++begin;
  while (end > begin && IsBlankOrControl(line[end - 1])) --end;
  return line.substr(begin, end - begin);
}

void CheckRequestable(const std::string& piece) {
  const std::optional<std::string> candidate = RequestableDirCandidate(piece);
  const std::string line = Cleaned(piece);
  ZIRKA_FUZZ_CHECK(candidate.has_value() == (line.size() > 3));
  if (!candidate) return;
  ZIRKA_FUZZ_CHECK(!candidate->empty());
  ZIRKA_FUZZ_CHECK(platform::IsDirSeparator(candidate->back()));
  ZIRKA_FUZZ_CHECK(candidate->find(' ') == std::string::npos);
  ZIRKA_FUZZ_CHECK(candidate->find(';') == std::string::npos);
  const std::string word = line.substr(0, line.find(' '));
  if (platform::IsDirSeparator(word.back())) {
    ZIRKA_FUZZ_CHECK(*candidate == word);
  } else {
    ZIRKA_FUZZ_CHECK(*candidate == word + "\\");
  }
}

void CheckAlias(const std::string& piece) {
  const std::optional<std::string> candidate = AliasCandidate(piece);
  if (!candidate) return;
  ZIRKA_FUZZ_CHECK(!candidate->empty());
  ZIRKA_FUZZ_CHECK(platform::IsDirSeparator(candidate->back()));
  ZIRKA_FUZZ_CHECK(candidate->front() != ' ');

  const std::string line = Cleaned(piece);
  const std::size_t blank = line.find(' ');
  ZIRKA_FUZZ_CHECK(blank != std::string::npos);  // an alias, a blank, a path
  ZIRKA_FUZZ_CHECK(line.front() != '\\');
  std::size_t lastSeparator = line.size();
  while (lastSeparator > 0 && !platform::IsDirSeparator(line[lastSeparator - 1])) --lastSeparator;
  const std::string_view cut = std::string_view(line).substr(0, lastSeparator);
  ZIRKA_FUZZ_CHECK(cut.size() >= candidate->size());
  ZIRKA_FUZZ_CHECK(cut.substr(cut.size() - candidate->size()) == *candidate);
  ZIRKA_FUZZ_CHECK(cut.size() - candidate->size() > blank);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kPiece = 180;
  const std::string_view file = AsText(data, size);
  const std::vector<std::string> pieces = DosPieces(file, kPiece);

  auto stream = ReadingText(file);
  std::string piece;
  std::size_t count = 0;
  while (stream->ReadPiece(piece, kPiece)) {
    ZIRKA_FUZZ_CHECK(count < pieces.size());
    ZIRKA_FUZZ_CHECK(piece == pieces[count]);
    ++count;
    CheckRequestable(piece);
    CheckAlias(piece);
  }
  ZIRKA_FUZZ_CHECK(count == pieces.size());
  return 0;
}
