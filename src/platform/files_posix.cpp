// Opening, replacing and removing files on POSIX. Share modes become advisory
// flock locks taken right after the open; a lock that can't be had fails the open.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "platform/fault.h"
#include "platform/files.h"
#include "platform/file_names.h"
#include "platform/posix_fd.h"

namespace zirka::platform {

namespace {

int OpenFlags(Mode mode) {
  // O_NONBLOCK keeps a FIFO in the path from hanging the run; it is cleared after the open.
  const int common = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  switch (mode) {
    case Mode::Read:
      return O_RDONLY | common;
    case Mode::Write:
      // Not O_TRUNC: the file is emptied only once its lock is had.
      return O_WRONLY | O_CREAT | common;
    case Mode::Append:
      return O_RDWR | O_CREAT | O_APPEND | common;
    case Mode::Create:
      return O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | common;
  }
  return O_RDONLY | common;
}

// The lock a share mode asks for: shared when others may still read a file we
// only read, exclusive otherwise, none when others may do anything.
int LockFor(Mode mode, Share share) {
  switch (share) {
    case Share::DenyNone:
      return 0;
    case Share::DenyAll:
      return LOCK_EX;
    case Share::DenyWrite:
      return mode == Mode::Read ? LOCK_SH : LOCK_EX;
  }
  return LOCK_EX;
}

bool LockNow(int fd, int lock) {
  if (lock == 0) return true;
  for (;;) {
    if (::flock(fd, lock | LOCK_NB) == 0) return true;
    if (errno != EINTR) return false;
  }
}

// Makes the open file ready for use: no directory, blocking I/O again, the lock
// taken, and the content dropped when it is written anew.
bool Prepare(int fd, Mode mode, Share share) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  // Only files are read: a device (/dev/zero, a serial port) or a FIFO would give
  // no end, or bytes of no file.
  if (mode == Mode::Read && !S_ISREG(st.st_mode)) {
    errno = ENODEV;
    return false;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) return false;
  if (!LockNow(fd, LockFor(mode, share))) return false;
  if (mode == Mode::Write && S_ISREG(st.st_mode) && ::ftruncate(fd, 0) != 0) return false;
  return true;
}

// Makes way for a temporary file: a link at its name is removed (the link, never
// what it points to), and so is a regular file that no process holds locked, the
// leftover of an interrupted run. False, with errno EWOULDBLOCK for a file a live
// process holds, when nothing was removed.
bool RemoveLeftover(const std::string& path) {
  struct stat named;
  if (::lstat(path.c_str(), &named) != 0) return errno == ENOENT;
  if (S_ISLNK(named.st_mode)) return ::unlink(path.c_str()) == 0 || errno == ENOENT;
  if (!S_ISREG(named.st_mode)) {
    errno = EEXIST;
    return false;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return errno == ENOENT;
  struct stat held;
  bool removed = false;
  if (LockNow(fd, LOCK_EX)) {
    // Still the same file under the name: removed while it is locked.
    if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      removed = ::unlink(path.c_str()) == 0;
    }
  }
  const int saved = errno;
  ::close(fd);
  errno = saved;
  return removed;
}

// True when a component of the host path, or the file itself, is a symbolic link.
bool LinkOnTheWay(const std::string& path) {
  struct stat st;
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string prefix = path.substr(0, end);
    if (!prefix.empty() && ::lstat(prefix.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return true;
    if (end == std::string::npos) return false;
  }
}

// Pushes a directory's entries (a rename done in it) to the disk. Some file
// systems can't sync a directory; the rename itself has succeeded by then.
void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

}  // namespace

std::unique_ptr<TextFile> OpenText(const std::string& dosPath, Mode mode, Share share,
                                   OpenFailure& why) {
  why = OpenFailure::Other;
  if (Refused(FaultOp::Open, dosPath)) return nullptr;
  const std::string path = HostPath(dosPath);
  int fd;
  do {
    fd = ::open(path.c_str(), OpenFlags(mode), 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0 && mode == Mode::Create && errno == EEXIST) {
    if (!RemoveLeftover(path)) {
      if (errno == EWOULDBLOCK) why = OpenFailure::Busy;
      return nullptr;
    }
    do {
      fd = ::open(path.c_str(), OpenFlags(mode), 0666);
    } while (fd < 0 && errno == EINTR);
  }
  if (fd < 0) {
    if (errno == ENOENT) why = OpenFailure::Missing;
    return nullptr;
  }
  if (!Prepare(fd, mode, share)) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    if (saved == EWOULDBLOCK) why = OpenFailure::Busy;
    return nullptr;
  }
  return std::make_unique<TextFile>(MakeFdRawFile(fd), dosPath);
}

namespace {

class PosixFileLock : public FileLock {
 public:
  PosixFileLock(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
  ~PosixFileLock() override {
    // Removed while still held: a run that opened it meanwhile finds, once it has
    // the lock, that it holds a file no longer there, and tries again.
    ::unlink(path_.c_str());
    ::close(fd_);
  }
  PosixFileLock(const PosixFileLock&) = delete;
  PosixFileLock& operator=(const PosixFileLock&) = delete;

 private:
  std::string path_;
  int fd_;
};

}  // namespace

std::unique_ptr<FileLock> TakeFileLock(const std::string& dosPath, OpenFailure& why) {
  why = OpenFailure::Other;
  if (Refused(FaultOp::Open, dosPath)) return nullptr;
  const std::string path = HostPath(dosPath);
  for (;;) {
    int fd;
    do {
      fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
                  0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
      if (errno == ENOENT) why = OpenFailure::Missing;
      return nullptr;
    }
    struct stat held;
    struct stat named;
    if (!LockNow(fd, LOCK_EX)) {
      if (errno == EWOULDBLOCK) why = OpenFailure::Busy;
      ::close(fd);
      return nullptr;
    }
    if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    if (::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino) {
      try {
        return std::make_unique<PosixFileLock>(path, fd);
      } catch (...) {
        ::close(fd);
        throw;
      }
    }
    ::close(fd);  // the run that held it removed it: take the new one
  }
}

bool PathExists(const std::string& dosPath) {
  if (NamesNoFile(dosPath)) return false;
  struct stat st;
  return ::stat(HostPath(dosPath).c_str(), &st) == 0;
}

bool IsDevice(const std::string& dosPath) {
  if (NamesNoFile(dosPath)) return false;
  struct stat st;
  if (::stat(HostPath(dosPath).c_str(), &st) != 0) return false;
  return S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode) ||
         S_ISSOCK(st.st_mode);
}

std::string DirectoryOf(const std::string& hostPath) {
  const std::size_t slash = hostPath.rfind('/');
  std::string dir = slash == std::string::npos ? "." : hostPath.substr(0, slash);
  if (dir.empty()) dir = "/";
  return dir;
}

std::optional<FileId> IdOf(const std::string& hostPath, bool directory) {
  struct stat st;
  if (::stat(hostPath.c_str(), &st) != 0 || (directory && !S_ISDIR(st.st_mode))) {
    return std::nullopt;
  }
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::string FinalPath(const std::string& dosPath) {
  if (NamesNoFile(dosPath)) return dosPath;
  const std::string host = HostPath(dosPath);
  if (!LinkOnTheWay(host)) return dosPath;
  char* real = ::realpath(host.c_str(), nullptr);
  if (real == nullptr) return dosPath;
  std::string final(real);
  std::free(real);
  // Taken as a DOS path again: a name holding a backslash would be cut there.
  return final.find('\\') == std::string::npos ? final : dosPath;
}

bool StillAsRead(const std::string& dosPath, const FileStamp& read) {
  if (NamesNoFile(dosPath)) return false;
  const std::string path = HostPath(dosPath);
  AppendBeforeCheck(path);
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  FileStamp now;
  StampFrom(st, now.id.volume, now.id.number, now.size, now.modified);
  return now == read;
}

bool ReplaceFile(const std::string& tempPath, const std::string& targetPath) {
  if (Refused(FaultOp::Rename, tempPath, targetPath)) return false;
  const std::string from = HostPath(tempPath);
  const std::string to = HostPath(targetPath);
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  SyncDirectory(DirectoryOf(to));
  return true;
}

// A file that is open can be moved on POSIX: the temporary file stays held (and
// locked) through the move and is closed after it.
bool ReplaceFileHeld(std::unique_ptr<TextFile> temp, const std::string& tempPath,
                     const std::string& targetPath) {
  const bool moved = ReplaceFile(tempPath, targetPath);
  temp->Close();  // written out and synced already: nothing of it can be lost here
  return moved;
}

bool ReplaceFileHeld(std::unique_ptr<TextFile> temp, const std::string& tempPath,
                     const std::string& targetPath, PendingDirectories& pending,
                     std::unique_ptr<TextFile> heldTarget) {
  if (Refused(FaultOp::Rename, tempPath, targetPath)) return false;
  const std::string from = HostPath(tempPath);
  const std::string to = HostPath(targetPath);
  const bool moved = ::rename(from.c_str(), to.c_str()) == 0;
  temp->Close();
  if (!moved) return false;
  heldTarget.reset();
  std::string dir = DirectoryOf(to);
  if (std::find(pending.dirs.begin(), pending.dirs.end(), dir) == pending.dirs.end()) {
    pending.dirs.push_back(std::move(dir));
  }
  return true;
}

void SyncDirectories(PendingDirectories& pending) {
  for (const std::string& dir : pending.dirs) SyncDirectory(dir);
  pending.dirs.clear();
}

bool RemoveFile(const std::string& dosPath) {
  if (NamesNoFile(dosPath)) return false;
  return ::unlink(HostPath(dosPath).c_str()) == 0;
}

bool RemoveFileDurably(const std::string& dosPath) {
  if (Refused(FaultOp::Remove, dosPath)) return false;
  const std::string path = HostPath(dosPath);
  if (::unlink(path.c_str()) != 0) return false;
  SyncDirectory(DirectoryOf(path));
  return true;
}

}  // namespace zirka::platform
