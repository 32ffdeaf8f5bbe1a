#pragma once
// Path checks shared by the POSIX and Windows file operations.

#include <cerrno>
#include <optional>
#include <string>

#include "platform/fault.h"
#include "platform/files.h"

namespace zirka::platform {

// A path holding a NUL byte names no file: the system would see only the part
// before it, and a file opened for writing there would be emptied by mistake.
inline bool NamesNoFile(const std::string& dosPath) {
  return dosPath.find('\0') != std::string::npos;
}

// What every open and every replacement checks first: a failure chosen by the
// fault seam, and a path that names no file. True, with errno set as the failed
// call would set it, when the operation must fail.
inline bool Refused(FaultOp op, const std::string& path, const std::string& other = {}) {
  if (ShouldFail(op)) {
    errno = EIO;
    return true;
  }
  if (NamesNoFile(path) || NamesNoFile(other)) {
    errno = ENOENT;
    return true;
  }
  return false;
}

// Defined by each host: the directory that holds a host path (a root keeps its
// separator), and the id of what a host path reaches (with `directory`, only
// when that is a directory).
std::string DirectoryOf(const std::string& hostPath);
std::optional<FileId> IdOf(const std::string& hostPath, bool directory);

}  // namespace zirka::platform
