// RawFile over a POSIX file descriptor.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/fault.h"
#include "platform/posix_fd.h"

namespace zirka::platform {

bool WriteAllFd(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void StampFrom(const struct stat& st, std::uint64_t& volume, std::uint64_t& number,
               std::uint64_t& size, std::int64_t& modified) {
  volume = static_cast<std::uint64_t>(st.st_dev);
  number = static_cast<std::uint64_t>(st.st_ino);
  size = static_cast<std::uint64_t>(st.st_size);
  modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

namespace {

class FdRawFile : public RawFile {
 public:
  explicit FdRawFile(int fd) : fd_(fd) {}
  ~FdRawFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  FdRawFile(const FdRawFile&) = delete;
  FdRawFile& operator=(const FdRawFile&) = delete;

  long long Read(char* out, std::size_t size) override {
    if (fd_ < 0) return -1;
    for (;;) {
      const ssize_t n = ::read(fd_, out, size);
      if (n < 0 && errno == EINTR) continue;
      return n;
    }
  }

  bool Write(const char* in, std::size_t size) override {
    if (fd_ < 0) return false;
    if (ShouldFail(FaultOp::Write)) {
      errno = EIO;
      return false;
    }
    return WriteAllFd(fd_, in, size);
  }

  bool Seek(std::uint64_t offset) override {
    if (fd_ < 0) return false;
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) != static_cast<off_t>(-1);
  }

  long long Size() override {
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
    return static_cast<long long>(st.st_size);
  }

  bool Stamp(std::uint64_t& volume, std::uint64_t& number, std::uint64_t& size,
             std::int64_t& modified) override {
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
    StampFrom(st, volume, number, size, modified);
    return true;
  }

  void TakeOverAttributes(const std::string& hostPath) override {
    struct stat old;
    struct stat own;
    if (fd_ < 0 || ::stat(hostPath.c_str(), &old) != 0 || !S_ISREG(old.st_mode) ||
        ::fstat(fd_, &own) != 0) {
      return;
    }
    // Owner first (a change of owner may clear the set-id bits), the group alone
    // where only that may be given, then the mode; what the process may not set
    // stays as created.
    if ((old.st_uid != own.st_uid || old.st_gid != own.st_gid) &&
        ::fchown(fd_, old.st_uid, old.st_gid) != 0 && old.st_gid != own.st_gid) {
      (void)::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
    }
    if ((old.st_mode & 07777) != (own.st_mode & 07777)) (void)::fchmod(fd_, old.st_mode & 07777);
  }

  bool Truncate() override { return fd_ >= 0 && ::ftruncate(fd_, 0) == 0; }

  void StartWriteback() override {
#if defined(__linux__)
    if (fd_ >= 0) (void)::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
  }

  bool Sync() override {
    if (fd_ < 0) return false;
    if (ShouldFail(FaultOp::Flush)) {
      errno = EIO;
      return false;
    }
    // A descriptor that can't be synced (a pipe, a terminal) has nothing to lose.
    return ::fsync(fd_) == 0 || errno == EINVAL || errno == EROFS;
  }

  bool Close() override {
    if (fd_ < 0) return false;
    const int fd = fd_;
    fd_ = -1;
    if (ShouldFail(FaultOp::Close)) {
      ::close(fd);
      errno = EIO;
      return false;
    }
    // close() reports errors of delayed writes (NFS); EINTR leaves the descriptor closed.
    return ::close(fd) == 0 || errno == EINTR;
  }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<RawFile> MakeFdRawFile(int fd) {
  try {
    return std::make_unique<FdRawFile>(fd);
  } catch (...) {
    ::close(fd);  // not left open, with its lock, for want of memory
    throw;
  }
}

}  // namespace zirka::platform
