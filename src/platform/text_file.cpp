#include "platform/text_file.h"

#include <algorithm>
#include <cstring>

namespace zirka::platform {

namespace {
constexpr char kCtrlZ = '\x1a';
}  // namespace

TextFile::TextFile(std::unique_ptr<RawFile> raw, std::string name)
    : raw_(std::move(raw)), name_(std::move(name)) {}

TextFile::~TextFile() { Close(); }

bool TextFile::Fill() {
  // Keep the unread tail (at most one byte: a CR waiting for its LF) in front.
  if (inPos_ > 0) {
    inBase_ += inPos_;
    in_.erase(0, inPos_);
    inPos_ = 0;
  }
  const std::size_t have = in_.size();
  const std::uint64_t next = inBase_ + have;
  if (next >= readLimit_) return false;
  const std::size_t want =
      static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, readLimit_ - next));
  in_.resize(have + want);
  const long long got = raw_ ? raw_->Read(in_.data() + have, want) : -1;
  in_.resize(have + (got > 0 ? static_cast<std::size_t>(got) : 0));
  if (got < 0) readFailed_ = true;
  return got > 0;
}

bool TextFile::ReadPiece(std::string& piece, std::size_t maxChars) {
  piece.clear();
  if (closed_ || !raw_) return false;
  while (piece.size() < maxChars && !eof_) {
    if (inPos_ >= in_.size() && !Fill()) {
      eof_ = true;
      break;
    }
    const char* begin = in_.data() + inPos_;
    const std::size_t avail = in_.size() - inPos_;
    const std::size_t want = std::min(avail, maxChars - piece.size());
    // Copy plain bytes up to the first byte that needs a decision.
    std::size_t n = 0;
    while (n < want) {
      const char c = begin[n];
      if (c == '\n' || c == '\r' || c == kCtrlZ) break;
      ++n;
    }
    piece.append(begin, n);
    inPos_ += n;
    if (n == want) continue;
    const char c = begin[n];
    if (c == kCtrlZ) {
      eof_ = true;
      break;
    }
    if (c == '\n') {
      piece.push_back('\n');
      ++inPos_;
      return true;
    }
    // A CR: dropped when an LF follows it, kept otherwise.
    if (inPos_ + 1 >= in_.size()) {
      if (!Fill() || in_.size() < 2) {  // the CR ends the file
        piece.push_back('\r');
        ++inPos_;
        continue;
      }
    }
    if (in_[inPos_ + 1] == '\n') {
      ++inPos_;  // the LF is read next
    } else {
      piece.push_back('\r');
      ++inPos_;
    }
  }
  return !piece.empty();
}

std::uint64_t TextFile::Tell() const { return inBase_ + inPos_; }

bool TextFile::Seek(std::uint64_t offset) {
  if (closed_ || !raw_) return false;
  in_.clear();
  inPos_ = 0;
  inBase_ = offset;
  eof_ = false;
  readFailed_ = false;
  return raw_->Seek(offset);
}

bool TextFile::Write(std::string_view text) {
  if (closed_ || !raw_) return false;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lf = text.find('\n', start);
    const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
    out_.append(text.data() + start, end - start);
    if (lf == std::string_view::npos) break;
    out_.append("\r\n", 2);
    start = lf + 1;
  }
  if (out_.size() >= kBufferSize) FlushBuffer();
  return !failed_;
}

bool TextFile::FlushBuffer() {
  if (!out_.empty()) {
    if (!raw_ || !raw_->Write(out_.data(), out_.size())) failed_ = true;
    out_.clear();
  }
  return !failed_;
}

bool TextFile::WriteOut() {
  if (closed_ || !raw_) return false;
  return FlushBuffer();
}

bool TextFile::Flush() {
  if (closed_ || !raw_) return false;
  FlushBuffer();
  if (!failed_ && !raw_->Sync()) failed_ = true;
  return !failed_;
}

bool TextFile::Close() {
  if (closed_) return !failed_;
  closed_ = true;
  if (!raw_) return false;
  FlushBuffer();
  if (!raw_->Close()) failed_ = true;
  raw_.reset();
  return !failed_;
}

}  // namespace zirka::platform
