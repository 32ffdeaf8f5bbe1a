#include "core/log_position.h"

#include <charconv>
#include <cstdio>

namespace zirka {

namespace {

constexpr std::size_t kHashDigits = 16;

}  // namespace

std::string PositionText(const LogPosition& position) {
  char head[kHashDigits + 1];
  std::snprintf(head, sizeof head, "%016llX", static_cast<unsigned long long>(position.head));
  return std::to_string(position.offset) + " " + head + " " + position.path;
}

bool ParsePositionText(std::string_view text, LogPosition& position) {
  const char* const end = text.data() + text.size();
  const auto [afterOffset, ec] = std::from_chars(text.data(), end, position.offset);
  if (ec != std::errc() || afterOffset == end || *afterOffset != ' ') return false;
  const std::string_view rest(afterOffset + 1, static_cast<std::size_t>(end - afterOffset - 1));
  if (rest.size() < kHashDigits + 2 || rest[kHashDigits] != ' ') return false;
  for (std::size_t i = 0; i < kHashDigits; ++i) {
    const char c = rest[i];
    if (!(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'F')) return false;
  }
  std::from_chars(rest.data(), rest.data() + kHashDigits, position.head, 16);
  position.path.assign(rest.substr(kHashDigits + 1));
  for (const char c : position.path) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

}  // namespace zirka
