// RawFile over a C stream opened in binary mode (Windows).

#include <io.h>

#include <cerrno>
#include <cstdio>

#include "platform/fault.h"
#include "platform/win32_file.h"

namespace zirka::platform {

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

  long long Size() override {
    if (file_ == nullptr) return -1;
    if (lastWasWrite_ && std::fflush(file_) != 0) return -1;
    return _filelengthi64(_fileno(file_));
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
