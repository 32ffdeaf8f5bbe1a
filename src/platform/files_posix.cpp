// Opening, replacing and removing files on POSIX. Share modes become advisory
// flock locks taken right after the open; a lock that can't be had fails the open.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) return false;
  if (!LockNow(fd, LockFor(mode, share))) return false;
  if (mode == Mode::Write && S_ISREG(st.st_mode) && ::ftruncate(fd, 0) != 0) return false;
  return true;
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

bool ReplaceFile(const std::string& tempPath, const std::string& targetPath) {
  if (Refused(FaultOp::Rename, tempPath, targetPath)) return false;
  const std::string from = HostPath(tempPath);
  const std::string to = HostPath(targetPath);
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  SyncDirectory(DirectoryOf(to));
  return true;
}

bool ReplaceFile(const std::string& tempPath, const std::string& targetPath,
                 PendingDirectories& pending, std::unique_ptr<TextFile> heldTarget) {
  if (Refused(FaultOp::Rename, tempPath, targetPath)) return false;
  const std::string from = HostPath(tempPath);
  const std::string to = HostPath(targetPath);
  const std::string dir = DirectoryOf(to);
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  // One sync at a time: the one before is done by the time this one starts.
  SyncDirectories(pending);
  auto sync = [dir, held = std::move(heldTarget)]() mutable {
    SyncDirectory(dir);
    held.reset();
  };
  try {
    pending.inFlight = std::async(std::launch::async, std::move(sync));
  } catch (const std::system_error&) {  // no thread to be had: synced here
    sync();
  }
  return true;
}

void SyncDirectories(PendingDirectories& pending) {
  if (pending.inFlight.valid()) pending.inFlight.get();
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
