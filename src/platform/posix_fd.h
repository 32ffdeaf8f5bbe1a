#pragma once
// Pieces of the POSIX layer shared between its files (not for the rest of the program).

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/raw_file.h"

namespace zirka::platform {

// A RawFile over an open file descriptor; it owns the descriptor (and its lock).
std::unique_ptr<RawFile> MakeFdRawFile(int fd);

// A file's id, size and modification time (nanoseconds) from its stat.
void StampFrom(const struct stat& st, std::uint64_t& volume, std::uint64_t& number,
               std::uint64_t& size, std::int64_t& modified);

// Writes all of `size` bytes to `fd`, retrying short writes and interruptions.
bool WriteAllFd(int fd, const char* data, std::size_t size);

}  // namespace zirka::platform
