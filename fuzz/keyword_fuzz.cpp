// Keyword lookup over arbitrary control-file bytes.
//
// Input: the first byte picks one of the program's keywords; the rest is the control
// file. The keyword is looked up again and again, as for AREA, LOG_PATH and IGNORE,
// until the empty value comes back. Every value must be upper case, free of tabs and
// ';', trimmed, at most one 180-character piece long, and taken from a line of the
// keyword that stands below the line of the previous value; the repeated lookup must
// come to an end within one lookup per piece.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/keyword.h"
#include "fuzz_support.h"

namespace {

using namespace zirka;
using namespace zirka::fuzz;

// Every keyword the program reads; the seeds pick them by their index here.
constexpr std::array<std::string_view, 17> kKeywords = {
    "KEEP_LOG",   "LOG",        "KEEP_REPORT",  "REPORT",        "CTL_PATH", "LOG_PATH",
    "LAST_TIME",  "DLC_DIGITS", "LOOKUP_CTL",   "LEFT_BRACKET",  "RIGHT_BRACKET",
    "AREA",       "IGNORE",     "FIRST_ONLY",   "LEAD_CHAR",     "FREQ_DIR", "FREQ_NDX"};

// A piece as it is matched: upper case, tabs as blanks.
std::string Normalised(std::string piece) {
  for (char& c : piece) {
    if (c == '\t') c = ' ';
    if (IsLower(c)) c = static_cast<char>(c - 'a' + 'A');
  }
  return piece;
}

// True when `value` can be the value of `piece`: the keyword's first occurrence has
// only blanks before it and a blank after it, and the value stands after it, before
// any ';'.
bool CanGive(const std::string& piece, std::string_view keyword, const std::string& value) {
  const std::size_t at = piece.find(keyword);
  if (at == std::string::npos) return false;
  for (std::size_t i = 0; i < at; ++i) {
    if (piece[i] != ' ') return false;
  }
  const std::size_t after = at + keyword.size();
  if (after >= piece.size() || piece[after] != ' ') return false;
  const std::size_t found = piece.find(value, after);
  const std::size_t comment = piece.find(';', after);
  return found != std::string::npos && found + value.size() <= comment;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view keyword = kKeywords[data[0] % kKeywords.size()];
  const std::string_view file = AsText(data + 1, size - 1);

  std::vector<std::string> pieces = DosPieces(file, kCtlPiece);
  for (std::string& piece : pieces) piece = Normalised(std::move(piece));

  auto stream = ReadingText(file);
  std::size_t lookups = 0;
  std::size_t next = 0;  // the first piece a further value may come from
  for (;;) {
    const std::string value = LookupKeyword(*stream, keyword);
    ++lookups;
    ZIRKA_FUZZ_CHECK(lookups <= pieces.size() + 1);
    if (value.empty()) break;

    ZIRKA_FUZZ_CHECK(value.size() <= kCtlPiece);
    ZIRKA_FUZZ_CHECK(!IsBlankOrControl(value.front()));
    ZIRKA_FUZZ_CHECK(!IsBlankOrControl(value.back()));
    for (const char c : value) {
      ZIRKA_FUZZ_CHECK(!IsLower(c));
      ZIRKA_FUZZ_CHECK(c != '\t');
      ZIRKA_FUZZ_CHECK(c != ';');
    }
    // Values come in file order, each from a line of its own.
    while (next < pieces.size() && !CanGive(pieces[next], keyword, value)) ++next;
    ZIRKA_FUZZ_CHECK(next < pieces.size());
    ++next;
  }
  return 0;
}
