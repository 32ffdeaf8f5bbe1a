// Opening, replacing and removing files on Windows: the DOS path is the host path,
// share modes are those of _fsopen.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// <windows.h> maps ReplaceFile to its own ReplaceFileA; ours keeps its name.
#undef ReplaceFile

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
  }
  return "rb";
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
  SetLastError(ERROR_SUCCESS);
  std::FILE* file = _fsopen(HostPath(dosPath).c_str(), OpenMode(mode), ShareFlag(share));
  if (file == nullptr) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
      why = OpenFailure::Busy;
    } else if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      why = OpenFailure::Missing;
    }
    return nullptr;
  }
  return std::make_unique<TextFile>(MakeStdioRawFile(file), dosPath);
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

bool ReplaceFile(const std::string& tempPath, const std::string& targetPath) {
  if (Refused(FaultOp::Rename, tempPath, targetPath)) return false;
  return MoveFileExA(HostPath(tempPath).c_str(), HostPath(targetPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool ReplaceFile(const std::string& tempPath, const std::string& targetPath,
                 PendingDirectories& /*pending*/, std::unique_ptr<TextFile> heldTarget) {
  heldTarget.reset();
  return ReplaceFile(tempPath, targetPath);
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
