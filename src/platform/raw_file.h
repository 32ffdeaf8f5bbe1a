#pragma once
// Unbuffered byte access to one open file. Each host has its own implementation
// (raw_file_posix.cpp, raw_file_win32.cpp); the tests add one over memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zirka::platform {

class RawFile {
 public:
  virtual ~RawFile() = default;
  // Reads up to `size` bytes; returns the count read, 0 at the end, -1 on an error.
  virtual long long Read(char* data, std::size_t size) = 0;
  // Writes all `size` bytes; false on any error (a short write is an error).
  virtual bool Write(const char* data, std::size_t size) = 0;
  // Moves to an absolute byte offset.
  virtual bool Seek(std::uint64_t offset) = 0;
  // Moves the open file to `hostPath`, replacing what is there, while it stays
  // open; false where that can't be done (the caller then closes it and moves it
  // by name).
  virtual bool MoveTo(const std::string& /*hostPath*/) { return false; }
  // The file's size in bytes; -1 when it can't be told.
  virtual long long Size() { return -1; }
  // The file's id (volume, number), size and modification time; false when they
  // can't be told.
  virtual bool Stamp(std::uint64_t& /*volume*/, std::uint64_t& /*number*/,
                     std::uint64_t& /*size*/, std::int64_t& /*modified*/) {
    return false;
  }
  // Gives the open file what the file at `hostPath` (about to be replaced by it)
  // has: POSIX its owner and group where the process may set them (else the group
  // if it may) and its permission bits; Windows its hidden and system attributes,
  // with the archive bit set. Nothing when there is no such file; never fails.
  virtual void TakeOverAttributes(const std::string& /*hostPath*/) {}
  // Empties the file and writes on from its start; false when that failed.
  virtual bool Truncate() { return false; }
  // Has the system start writing what was written to the disk, without waiting for
  // it (Linux: sync_file_range): a hint before Sync, which still commits.
  virtual void StartWriteback() {}
  // Pushes what was written to the disk (fsync / _commit).
  virtual bool Sync() = 0;
  // Releases the file and its lock; further calls fail. False when closing failed.
  virtual bool Close() = 0;
};

}  // namespace zirka::platform
