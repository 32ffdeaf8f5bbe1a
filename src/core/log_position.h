#pragma once
// Where a run stopped reading a log, so that the next run goes on from there: the
// offset, what identifies the log's content, and the log's path. Kept in the
// positions file beside the main control file (ZIRKA.POS) and in the journal.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zirka {

// A log is known by a hash of its first bytes: up to this many, and never past the
// offset read up to (so that a log that grew since still hashes the same).
inline constexpr std::size_t kLogHeadBytes = 4096;

struct LogPosition {
  std::uint64_t offset = 0;  // read up to here; the byte before it ends a line
  std::uint64_t head = 0;    // HeadHash of the log's first min(offset, kLogHeadBytes) bytes
  std::string path;          // full path, upper case, as the log table holds it

  bool operator==(const LogPosition&) const = default;
};

// The hash of a log's head: 64-bit FNV-1a over the bytes, then over their count, so
// that heads of different lengths never share a hash by their bytes alone.
inline std::uint64_t HeadHash(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](unsigned char byte) {
    hash ^= byte;
    hash *= 1099511628211ull;
  };
  for (const char c : bytes) mix(static_cast<unsigned char>(c));
  for (std::uint64_t n = bytes.size(), i = 0; i < 8; ++i, n >>= 8) {
    mix(static_cast<unsigned char>(n & 0xFF));
  }
  return hash;
}

// A position as one line of text, "offset HASH path": the offset in decimal, the
// head's hash in 16 upper-case hexadecimal digits, the path.
std::string PositionText(const LogPosition& position);
// Reads such a text; false, with `position` unspecified, when it is not one.
bool ParsePositionText(std::string_view text, LogPosition& position);

// The head a position hashes: at most kLogHeadBytes, at most `offset`.
inline std::size_t HeadLength(std::uint64_t offset) {
  return offset < kLogHeadBytes ? static_cast<std::size_t>(offset) : kLogHeadBytes;
}

}  // namespace zirka
