#include "support/memory_file.h"

#include <algorithm>
#include <cstring>

namespace zirka::platform {

namespace {

class MemoryRawFile : public RawFile {
 public:
  explicit MemoryRawFile(std::shared_ptr<std::string> contents) : data_(std::move(contents)) {}

  long long Read(char* out, std::size_t size) override {
    if (closed_) return -1;
    if (pos_ >= data_->size()) return 0;
    const std::size_t n = std::min(size, data_->size() - pos_);
    std::memcpy(out, data_->data() + pos_, n);
    pos_ += n;
    return static_cast<long long>(n);
  }
  bool Write(const char* in, std::size_t size) override {
    if (closed_) return false;
    data_->append(in, size);
    return true;
  }
  bool Seek(std::uint64_t offset) override {
    if (closed_) return false;
    pos_ = static_cast<std::size_t>(offset);
    return true;
  }
  long long Size() override { return closed_ ? -1 : static_cast<long long>(data_->size()); }
  bool Sync() override { return !closed_; }
  bool Close() override {
    if (closed_) return false;
    closed_ = true;
    return true;
  }

 private:
  std::shared_ptr<std::string> data_;
  std::size_t pos_ = 0;
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<RawFile> MakeMemoryRawFile(std::shared_ptr<std::string> contents) {
  return std::make_unique<MemoryRawFile>(std::move(contents));
}

std::unique_ptr<TextFile> MakeMemoryText(std::shared_ptr<std::string> contents,
                                         std::string name, std::size_t bufferSize) {
  return std::make_unique<TextFile>(MakeMemoryRawFile(std::move(contents)), std::move(name),
                                    bufferSize);
}

}  // namespace zirka::platform
