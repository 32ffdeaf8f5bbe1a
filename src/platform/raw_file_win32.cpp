// RawFile over a C stream opened in binary mode (Windows).

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/fault.h"
#include "platform/win32_file.h"

namespace zirka::platform {

void StampFrom(const BY_HANDLE_FILE_INFORMATION& info, std::uint64_t& volume,
               std::uint64_t& number, std::uint64_t& size, std::int64_t& modified) {
  volume = info.dwVolumeSerialNumber;
  number = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  modified = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
      info.ftLastWriteTime.dwLowDateTime);
}

namespace {

class StdioRawFile : public RawFile {
 public:
  explicit StdioRawFile(std::FILE* file) : file_(file) {}
  ~StdioRawFile() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  StdioRawFile(const StdioRawFile&) = delete;
  StdioRawFile& operator=(const StdioRawFile&) = delete;

  long long Read(char* out, std::size_t size) override {
    if (file_ == nullptr) return -1;
    // A stream open for update needs a positioning call between a write and a read.
    if (lastWasWrite_ && std::fseek(file_, 0, SEEK_CUR) != 0) return -1;
    lastWasWrite_ = false;
    const std::size_t n = std::fread(out, 1, size, file_);
    if (n == 0 && std::ferror(file_)) return -1;
    return static_cast<long long>(n);
  }

  bool Write(const char* in, std::size_t size) override {
    if (file_ == nullptr) return false;
    if (ShouldFail(FaultOp::Write)) {
      errno = EIO;
      return false;
    }
    if (!lastWasWrite_ && std::fseek(file_, 0, SEEK_CUR) != 0) return false;
    lastWasWrite_ = true;
    return std::fwrite(in, 1, size, file_) == size;
  }

  bool Seek(std::uint64_t offset) override {
    if (file_ == nullptr) return false;
    return _fseeki64(file_, static_cast<long long>(offset), SEEK_SET) == 0;
  }

  // A rename through the open handle (opened with DELETE access by Mode::Create):
  // the file is never let go between its last write and the move.
  bool MoveTo(const std::string& hostPath) override {
    if (file_ == nullptr || std::fflush(file_) != 0) return false;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file_)));
    if (handle == INVALID_HANDLE_VALUE) return false;
    const int chars = MultiByteToWideChar(CP_ACP, 0, hostPath.c_str(), -1, nullptr, 0);
    if (chars <= 0) return false;
    std::wstring relative(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(CP_ACP, 0, hostPath.c_str(), -1, relative.data(), chars);
    const DWORD fullChars = GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr);
    if (fullChars == 0) return false;
    std::wstring full(fullChars, L'\0');
    const DWORD got = GetFullPathNameW(relative.c_str(), fullChars, full.data(), nullptr);
    if (got == 0 || got >= fullChars) return false;
    full.resize(got);
    const std::size_t nameBytes = full.size() * sizeof(WCHAR);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, full.data(), nameBytes);
    return SetFileInformationByHandle(handle, FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size())) != 0;
  }

  long long Size() override {
    if (file_ == nullptr) return -1;
    if (lastWasWrite_ && std::fflush(file_) != 0) return -1;
    return _filelengthi64(_fileno(file_));
  }

  bool Stamp(std::uint64_t& volume, std::uint64_t& number, std::uint64_t& size,
             std::int64_t& modified) override {
    if (file_ == nullptr) return false;
    if (lastWasWrite_ && std::fflush(file_) != 0) return false;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file_)));
    BY_HANDLE_FILE_INFORMATION info;
    if (handle == INVALID_HANDLE_VALUE || GetFileInformationByHandle(handle, &info) == 0) {
      return false;
    }
    StampFrom(info, volume, number, size, modified);
    return true;
  }

  // The hidden and system attributes of the file replaced, and the archive bit:
  // a changed file is to be backed up.
  void TakeOverAttributes(const std::string& hostPath) override {
    if (file_ == nullptr) return;
    const DWORD old = GetFileAttributesA(hostPath.c_str());
    if (old == INVALID_FILE_ATTRIBUTES || (old & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file_)));
    if (handle == INVALID_HANDLE_VALUE) return;
    FILE_BASIC_INFO basic{};  // times of 0 stay as they are
    basic.FileAttributes =
        (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) | FILE_ATTRIBUTE_ARCHIVE;
    (void)SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic);
  }

  bool Truncate() override {
    return file_ != nullptr && std::fflush(file_) == 0 && _chsize_s(_fileno(file_), 0) == 0;
  }

  bool Sync() override {
    if (file_ == nullptr) return false;
    if (ShouldFail(FaultOp::Flush)) {
      errno = EIO;
      return false;
    }
    return std::fflush(file_) == 0 && _commit(_fileno(file_)) == 0;
  }

  bool Close() override {
    if (file_ == nullptr) return false;
    std::FILE* file = file_;
    file_ = nullptr;
    if (ShouldFail(FaultOp::Close)) {
      std::fclose(file);
      errno = EIO;
      return false;
    }
    return std::fclose(file) == 0;
  }

 private:
  std::FILE* file_;
  bool lastWasWrite_ = false;
};

}  // namespace

std::unique_ptr<RawFile> MakeStdioRawFile(std::FILE* file) {
  return std::make_unique<StdioRawFile>(file);
}

}  // namespace zirka::platform
