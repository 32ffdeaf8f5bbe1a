// Opening, replacing and removing files on Windows: the DOS path is the host path,
// share modes are those of _fsopen.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// <windows.h> maps ReplaceFile to its own ReplaceFileA; ours keeps its name.
#undef ReplaceFile

#include <fcntl.h>
#include <io.h>
#include <share.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/fault.h"
#include "platform/files.h"
#include "platform/file_names.h"
#include "platform/win32_file.h"

namespace zirka::platform {

namespace {

const char* OpenMode(Mode mode) {
  switch (mode) {
    case Mode::Read:
      return "rb";
    case Mode::Write:
      return "wb";
    case Mode::Append:
      return "a+b";
    case Mode::Create:
      return "wb";
  }
  return "rb";
}

void SetFailure(DWORD error, OpenFailure& why) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
    why = OpenFailure::Busy;
  } else if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
    why = OpenFailure::Missing;
  }
}

// Makes way for a temporary file: a link at its name is removed (the link, never
// what it points to), and so is a file that no process holds open, the leftover of
// an interrupted run. False when nothing was removed (Busy: another process holds it).
bool RemoveLeftover(const std::string& path, OpenFailure& why) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (link) return directory ? RemoveDirectoryA(path.c_str()) != 0 : DeleteFileA(path.c_str()) != 0;
  if (directory) return false;
  const HANDLE handle =
      CreateFileA(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    SetFailure(GetLastError(), why);
    return false;
  }
  CloseHandle(handle);  // deleted as it is closed
  return true;
}

// A new file of the program's own (Mode::Create), held with DELETE access so that
// it can be moved over its target while it is still open.
std::FILE* CreateNew(const std::string& path, OpenFailure& why) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                      CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
      if (fd == -1) {
        CloseHandle(handle);
        return nullptr;
      }
      std::FILE* file = _fdopen(fd, "wb");
      if (file == nullptr) _close(fd);
      return file;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      SetFailure(error, why);
      return nullptr;
    }
    if (attempt > 0 || !RemoveLeftover(path, why)) return nullptr;
  }
  return nullptr;
}

int ShareFlag(Share share) {
  switch (share) {
    case Share::DenyWrite:
      return _SH_DENYWR;
    case Share::DenyAll:
      return _SH_DENYRW;
    case Share::DenyNone:
      return _SH_DENYNO;
  }
  return _SH_DENYWR;
}

}  // namespace

std::unique_ptr<TextFile> OpenText(const std::string& dosPath, Mode mode, Share share,
                                   OpenFailure& why) {
  why = OpenFailure::Other;
  if (Refused(FaultOp::Open, dosPath)) return nullptr;
  // Only files are read: a device (CON, COM1) would wait for input or give bytes
  // of no file.
  if (mode == Mode::Read && IsDevice(dosPath)) return nullptr;
  SetLastError(ERROR_SUCCESS);
  std::FILE* file = mode == Mode::Create
                        ? CreateNew(HostPath(dosPath), why)
                        : _fsopen(HostPath(dosPath).c_str(), OpenMode(mode), ShareFlag(share));
  if (file == nullptr) {
    if (mode != Mode::Create) SetFailure(GetLastError(), why);
    return nullptr;
  }
  if (mode == Mode::Read &&
      GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != FILE_TYPE_DISK) {
    std::fclose(file);
    return nullptr;
  }
  return std::make_unique<TextFile>(MakeStdioRawFile(file), dosPath);
}

namespace {

class Win32FileLock : public FileLock {
 public:
  explicit Win32FileLock(HANDLE handle) : handle_(handle) {}
  ~Win32FileLock() override { CloseHandle(handle_); }  // deleted on close
  Win32FileLock(const Win32FileLock&) = delete;
  Win32FileLock& operator=(const Win32FileLock&) = delete;

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<FileLock> TakeFileLock(const std::string& dosPath, OpenFailure& why) {
  why = OpenFailure::Other;
  if (Refused(FaultOp::Open, dosPath)) return nullptr;
  const std::string path = HostPath(dosPath);
  const HANDLE handle = CreateFileA(
      path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A lock file being deleted by the run that let it go refuses access for a moment.
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
        (error == ERROR_ACCESS_DENIED && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)) {
      why = OpenFailure::Busy;
    } else if (error == ERROR_PATH_NOT_FOUND) {
      why = OpenFailure::Missing;
    }
    return nullptr;
  }
  try {
    return std::make_unique<Win32FileLock>(handle);
  } catch (...) {
    CloseHandle(handle);
    throw;
  }
}

bool PathExists(const std::string& dosPath) {
  if (NamesNoFile(dosPath)) return false;
  return GetFileAttributesA(HostPath(dosPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDevice(const std::string& dosPath) {
  if (NamesNoFile(dosPath)) return false;
  if (dosPath.rfind("\\\\.\\", 0) == 0) return true;
  // The file name up to its first "." and without trailing blanks, in upper case.
  const std::size_t cut = dosPath.find_last_of("\\/:");
  std::string name = dosPath.substr(cut == std::string::npos ? 0 : cut + 1);
  name.erase(std::min(name.find('.'), name.size()));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (name == "NUL" || name == "CON" || name == "PRN" || name == "AUX") return true;
  return name.size() == 4 && (name.rfind("COM", 0) == 0 || name.rfind("LPT", 0) == 0) &&
         name[3] >= '1' && name[3] <= '9';
}

std::string DirectoryOf(const std::string& hostPath) {
  // A root directory keeps its separator: the drive's root, or the root alone.
  const std::size_t cut = hostPath.find_last_of("\\/");
  if (cut == std::string::npos) return ".";
  const bool root = cut == 0 || (cut == 2 && hostPath[1] == ':');
  return hostPath.substr(0, root ? cut + 1 : cut);
}

std::optional<FileId> IdOf(const std::string& hostPath, bool directory) {
  const HANDLE handle =
      CreateFileA(hostPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(handle, &info) != 0;
  if (known && directory) known = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  CloseHandle(handle);
  if (!known) return std::nullopt;
  return FileId{info.dwVolumeSerialNumber,
                (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// Links are left to the system here: a reparse point at a list is replaced as a
// file.
std::string FinalPath(const std::string& dosPath) { return dosPath; }

bool StillAsRead(const std::string& dosPath, const FileStamp& read) {
  if (NamesNoFile(dosPath)) return false;
  const std::string path = HostPath(dosPath);
  AppendBeforeCheck(path);
  const HANDLE handle =
      CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!known) return false;
  FileStamp now;
  StampFrom(info, now.id.volume, now.id.number, now.size, now.modified);
  return now == read;
}

bool ReplaceFile(const std::string& tempPath, const std::string& targetPath) {
  if (Refused(FaultOp::Rename, tempPath, targetPath)) return false;
  return MoveFileExA(HostPath(tempPath).c_str(), HostPath(targetPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool ReplaceFileHeld(std::unique_ptr<TextFile> temp, const std::string& tempPath,
                     const std::string& targetPath) {
  if (Refused(FaultOp::Rename, tempPath, targetPath)) return false;
  if (temp->MoveTo(HostPath(targetPath))) {
    temp->Close();
    return true;
  }
  // Where the system can't move an open file: closed first, then moved by name.
  temp->Close();
  return MoveFileExA(HostPath(tempPath).c_str(), HostPath(targetPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool ReplaceFileHeld(std::unique_ptr<TextFile> temp, const std::string& tempPath,
                     const std::string& targetPath, PendingDirectories& /*pending*/,
                     std::unique_ptr<TextFile> heldTarget) {
  heldTarget.reset();  // an open file can't be replaced here
  return ReplaceFileHeld(std::move(temp), tempPath, targetPath);
}

void SyncDirectories(PendingDirectories& /*pending*/) {}

bool RemoveFile(const std::string& dosPath) {
  if (NamesNoFile(dosPath)) return false;
  return DeleteFileA(HostPath(dosPath).c_str()) != 0;
}

// A deletion in a directory can't be synced on its own on Windows; the file
// system's journal commits it with the directory's next change.
bool RemoveFileDurably(const std::string& dosPath) {
  if (Refused(FaultOp::Remove, dosPath)) return false;
  return DeleteFileA(HostPath(dosPath).c_str()) != 0;
}

std::string HostPath(const std::string& dosPath) { return dosPath; }

bool IsDirSeparator(char c) { return c == '\\'; }

}  // namespace zirka::platform
