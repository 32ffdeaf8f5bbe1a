#pragma once
// Path checks shared by the POSIX and Windows file operations.

#include <string>

namespace zirka::platform {

// A path holding a NUL byte names no file: the system would see only the part
// before it, and a file opened for writing there would be emptied by mistake.
inline bool NamesNoFile(const std::string& dosPath) {
  return dosPath.find('\0') != std::string::npos;
}

}  // namespace zirka::platform
