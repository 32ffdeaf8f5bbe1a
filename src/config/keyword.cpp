// Placeholder until this phase is built.
#include "config/keyword.h"
#include "run/terminate.h"

namespace zirka {
std::string LookupKeyword(platform::TextFile&, std::string_view) { return {}; }
std::string TrimBlanks(std::string& t) { return t; }
bool IsBlankPrefix(std::string_view, std::size_t) { return false; }
void EnsureTrailingBackslash(std::string&) {}
std::string& CompletePath(std::string& p, const std::string&) { return p; }
std::string& ToUpperAscii(std::string& t) { return t; }
std::string UpperAscii(std::string_view t) { return std::string(t); }
bool EqualsIgnoreCase(std::string_view a, std::string_view b) { return a == b; }
}  // namespace zirka
