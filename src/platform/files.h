#pragma once
// Opening, replacing and removing files by their DOS paths. Paths stay DOS text
// inside the program; only here do they become host paths (see HostPath).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text_file.h"

namespace zirka::platform {

enum class Mode {
  Read,    // "r": must exist
  Write,   // "w": created, or emptied once its lock is had
  Append,  // "a+": created when missing, every write goes to the end
  // "w" on a new file of the program's own, for a temporary stand-in: created only
  // where nothing is (never an existing file, never through a link). A link at the
  // path, or a file that no process holds (an interrupted run's leftover), is
  // removed first, never following a link; a file another process holds is Busy.
  Create,
};

enum class Share {
  DenyWrite,  // others may read (POSIX: shared lock when reading, exclusive when writing)
  DenyAll,    // others may do nothing (POSIX: exclusive lock)
  DenyNone,   // others may read and write (POSIX: no lock)
};

// Opens a text stream on a DOS path; nullptr when the file can't be opened or the
// share mode can't be had (a sharing violation).
std::unique_ptr<TextFile> OpenText(const std::string& dosPath, Mode mode, Share share);

// Why an open failed: nothing at the path, the share mode held by another open
// (another process holds the file), or anything else (a directory, no rights).
enum class OpenFailure { Missing, Busy, Other };

// OpenText that also says why it failed (`why` is left alone on success).
std::unique_ptr<TextFile> OpenText(const std::string& dosPath, Mode mode, Share share,
                                   OpenFailure& why);

// An exclusive lock on a file of its own, held for as long as the object lives; the
// file is removed when the lock is let go (or, on Windows, when the process ends).
class FileLock {
 public:
  virtual ~FileLock() = default;
};

// Takes the lock of `dosPath`, creating the file (never through a link). nullptr
// when it can't be had: `why` is Busy while another process holds it.
std::unique_ptr<FileLock> TakeFileLock(const std::string& dosPath, OpenFailure& why);

// True when something (a file, a directory) exists at the path.
bool PathExists(const std::string& dosPath);

// True when the path names a device, which is written to directly and never
// replaced. Windows: a DOS device name (NUL, CON, PRN, AUX, COM1-9, LPT1-9, with
// any directory or extension) or a \\.\ path. POSIX: what the path reaches is a
// character or block device, a FIFO or a socket (/dev/null).
bool IsDevice(const std::string& dosPath);

// Moves `tempPath` over `targetPath` in one step (rename / MoveFileExA with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). On failure the target is
// left as it was and false is returned.
bool ReplaceFile(const std::string& tempPath, const std::string& targetPath);

// Moves the temporary file `temp`, still open as Mode::Create gave it, from
// `tempPath` over `targetPath` in one step while it is held, so that no other
// process can put a file of its own in its place between its last write and the
// move; then closes it. False, with the target as it was, when the move failed.
bool ReplaceFileHeld(std::unique_ptr<TextFile> temp, const std::string& tempPath,
                     const std::string& targetPath);

// The directories whose entries a series of replacements changed, committed to
// the disk together once the series is over (SyncDirectories): the first commit
// carries most of what the others would. POSIX: the directories to sync. Windows:
// the moves are written through already, nothing is kept.
struct PendingDirectories {
  std::vector<std::string> dirs;  // host paths, each once
};

// ReplaceFileHeld that leaves committing the directory entry to SyncDirectories.
// `heldTarget` is the target's own open file, when the caller still holds it: it
// is closed before the move where an open file can't be replaced (Windows), else
// right after it.
bool ReplaceFileHeld(std::unique_ptr<TextFile> temp, const std::string& tempPath,
                     const std::string& targetPath, PendingDirectories& pending,
                     std::unique_ptr<TextFile> heldTarget = nullptr);

// Commits every pending directory to the disk and forgets them.
void SyncDirectories(PendingDirectories& pending);

// Who a file or directory is to the file system: two paths reach one file exactly
// when their ids are equal, whatever their spelling, links or drive mappings.
struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t number = 0;
  bool operator==(const FileId&) const = default;
};

// The id of what `dosPath` reaches (through links); empty when nothing can be
// reached there.
std::optional<FileId> FileIdOf(const std::string& dosPath);

// The id of the directory that holds the file at `dosPath` (the file need not
// exist); empty when the directory can't be reached.
std::optional<FileId> DirectoryIdOf(const std::string& dosPath);

// The path of the file that `dosPath` finally reaches through symbolic links, its
// own and its directories': the file to replace, so that the links stay links.
// `dosPath` itself when no link is on the way or the path can't be resolved.
// POSIX: the real path (realpath) when it differs from HostPath(dosPath).
// Windows: `dosPath` unchanged.
std::string FinalPath(const std::string& dosPath);

// What a file was when it was read: who it is, its size and its modification
// time. Two stamps differ once another program wrote to the file or put another
// in its place.
struct FileStamp {
  FileId id;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // in the host's finest unit
  bool operator==(const FileStamp&) const = default;
};

// The stamp of an open file (fstat / GetFileInformationByHandle); empty when it
// can't be had.
std::optional<FileStamp> StampOf(TextFile& file);

// True when the file at `dosPath` still has the stamp `read` (one stat, nothing
// read). The fault seam may append a line to the file first (ZIRKA_FAULT_APPEND).
bool StillAsRead(const std::string& dosPath, const FileStamp& read);

// Gives the temporary file `temp`, about to replace the file at `targetPath`, what
// that file has (see RawFile::TakeOverAttributes): done before it is committed to
// the disk, so that the mode and owner are there with its contents.
void TakeOverAttributes(TextFile& temp, const std::string& targetPath);

// Removes a file; false when it could not be removed.
bool RemoveFile(const std::string& dosPath);

// Removes a file and commits the removal to the disk (the directory is synced
// where the system can). A counted file operation of the fault seam.
bool RemoveFileDurably(const std::string& dosPath);

// The host path a DOS path reaches. Windows: unchanged. POSIX: drive letter through
// ZIRKA_DRIVE_<L> or Wine's dosdevices (else dropped), backslashes to slashes, each
// component matched case-insensitively against the directory when no exact match.
std::string HostPath(const std::string& dosPath);

// True for a character that separates directories in a path the program builds
// or cuts: the backslash everywhere, and '/' too on POSIX.
bool IsDirSeparator(char c);

}  // namespace zirka::platform
