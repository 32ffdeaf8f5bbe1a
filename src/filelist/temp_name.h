#pragma once

#include <string>
#include <string_view>

namespace zirka {

// The name of a file's temporary stand-in: `path` with everything from the last
// "." of its file name replaced by `extension` (FILES.BBS and ".!#$" give
// FILES.!#$); a file name without a "." gets the extension appended. A "." in a
// directory name never counts.
std::string TemporaryName(const std::string& path, std::string_view extension);

}  // namespace zirka
