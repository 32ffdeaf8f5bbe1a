// RawFile over a POSIX file descriptor.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
