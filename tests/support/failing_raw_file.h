#pragma once
// A RawFile over `contents` whose reads fail after the first `good` bytes (a disk
// or network error in the middle of a file), noting each byte range read in
// `reads` when given.

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/raw_file.h"

namespace zirka::testing {

class FailingReadFile : public platform::RawFile {
 public:
  using Ranges = std::vector<std::pair<std::uint64_t, std::uint64_t>>;
  FailingReadFile(std::string contents, std::size_t good, Ranges* reads = nullptr)
      : data_(std::move(contents)), good_(good), reads_(reads) {}

  long long Read(char* out, std::size_t size) override {
    if (pos_ >= good_) return -1;
    const std::size_t n = std::min(size, good_ - pos_);
    std::memcpy(out, data_.data() + pos_, n);
    if (reads_ != nullptr && n > 0) reads_->emplace_back(pos_, pos_ + n);
    pos_ += n;
    return static_cast<long long>(n);
  }
  bool Write(const char*, std::size_t) override { return false; }
  bool Seek(std::uint64_t offset) override {
    pos_ = static_cast<std::size_t>(offset);
    return true;
  }
  long long Size() override { return static_cast<long long>(data_.size()); }
  bool Sync() override { return true; }
  bool Close() override { return true; }

 private:
  std::string data_;
  std::size_t good_;
  Ranges* reads_;
  std::size_t pos_ = 0;
};

}  // namespace zirka::testing
