#include "platform/text_file.h"

#include <algorithm>
#include <cstring>

namespace zirka::platform {

namespace {
constexpr char kCtrlZ = '\x1a';
}  // namespace

TextFile::TextFile(std::unique_ptr<RawFile> raw, std::string name, std::size_t bufferSize)
    : raw_(std::move(raw)), name_(std::move(name)), bufferSize_(bufferSize) {}

TextFile::~TextFile() { Close(); }

// Moves the unread bytes to the front of the buffer and reads until at least `want`
// bytes are unread or the file ends. A Ctrl-Z ends the file: nothing from it on is
// ever handed out. A byte order mark at the head of the file is passed over.
void TextFile::Refill(std::size_t want) {
  // At the head, `want` bytes are to be had after a byte order mark.
  const bool atHead = inBase_ + inPos_ == 0;
  if (atHead) want += kByteOrderMark.size();
  const std::size_t unread = inEnd_ - inPos_;
  if (inCapacity_ < want || inCapacity_ < bufferSize_) {
    const std::size_t capacity = std::max(want, bufferSize_);
    std::unique_ptr<char[]> bigger(new char[capacity]);
    if (unread > 0) std::memcpy(bigger.get(), in_.get() + inPos_, unread);
    in_ = std::move(bigger);
    inCapacity_ = capacity;
  } else if (inPos_ > 0 && unread > 0) {
    std::memmove(in_.get(), in_.get() + inPos_, unread);
  }
  inBase_ += inPos_;
  inPos_ = 0;
  inEnd_ = unread;
  while (!sourceDone_ && inEnd_ < want) {
    const std::uint64_t next = inBase_ + inEnd_;
    if (next >= readLimit_) {
      sourceDone_ = true;
      break;
    }
    const std::size_t room = static_cast<std::size_t>(
        std::min<std::uint64_t>(inCapacity_ - inEnd_, readLimit_ - next));
    const long long got = raw_->Read(in_.get() + inEnd_, room);
    if (got <= 0) {
      if (got < 0) readFailed_ = true;
      sourceDone_ = true;
      break;
    }
    char* const fresh = in_.get() + inEnd_;
    const auto* ctrlZ =
        static_cast<const char*>(std::memchr(fresh, kCtrlZ, static_cast<std::size_t>(got)));
    if (ctrlZ != nullptr) {
      inEnd_ += static_cast<std::size_t>(ctrlZ - fresh);
      sourceDone_ = true;
      break;
    }
    inEnd_ += static_cast<std::size_t>(got);
  }
  if (atHead) {
    byteOrderMark_ = std::string_view(in_.get(), inEnd_).starts_with(kByteOrderMark);
    if (byteOrderMark_) inPos_ = kByteOrderMark.size();
  }
}

bool TextFile::StartsWithByteOrderMark() {
  if (!closed_ && raw_ && inBase_ + inPos_ == 0 && inEnd_ == 0 && !sourceDone_) {
    Refill(0);
    ForgetLineFeeds();
  }
  return byteOrderMark_;
}

bool TextFile::NextPieceAtEdge(PieceView& piece, std::size_t maxChars) {
  const bool got = TakePiece(piece, maxChars);
  ForgetLineFeeds();
  return got;
}

bool TextFile::TakePiece(PieceView& piece, std::size_t maxChars) {
  piece = PieceView{};
  if (closed_ || !raw_ || maxChars == 0) return false;
  // A piece of maxChars characters ending in a line feed may stand in the file
  // as maxChars + 1 bytes (its CR LF).
  const std::size_t window = maxChars + 1;
  if (inEnd_ - inPos_ < window && !sourceDone_) Refill(window);
  const std::size_t avail = inEnd_ - inPos_;
  if (avail == 0) return false;
  const char* const begin = in_.get() + inPos_;
  const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', std::min(avail, window)));
  if (lf != nullptr) {
    const auto at = static_cast<std::size_t>(lf - begin);
    const std::size_t length = at > 0 && begin[at - 1] == '\r' ? at - 1 : at;
    if (length < maxChars) {
      piece = PieceView{std::string_view(begin, length), true};
      inPos_ += at + 1;
      return true;
    }
  }
  // No line feed ends the piece within maxChars characters: it is that many bytes
  // (or what is left of the file), a lone CR among them kept.
  const std::size_t length = std::min(avail, maxChars);
  piece = PieceView{std::string_view(begin, length), false};
  inPos_ += length;
  return true;
}

bool TextFile::ReadPiece(std::string& piece, std::size_t maxChars) {
  PieceView view;
  const bool got = NextPiece(view, maxChars);
  piece.assign(view.text);
  if (view.lineFeed) piece.push_back('\n');
  return got;
}

std::uint64_t TextFile::Tell() const { return inBase_ + inPos_; }

bool TextFile::Seek(std::uint64_t offset) {
  if (closed_ || !raw_) return false;
  inPos_ = 0;
  inEnd_ = 0;
  inBase_ = offset;
  ForgetLineFeeds();
  sourceDone_ = false;
  readFailed_ = false;
  return raw_->Seek(offset);
}

long long TextFile::ReadRawAt(std::uint64_t offset, char* out, std::size_t size) {
  if (!Seek(offset)) return -1;
  std::size_t got = 0;
  while (got < size) {
    const long long n = raw_->Read(out + got, size - got);
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  inBase_ = offset + got;
  return static_cast<long long>(got);
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

bool TextFile::WritePiece(const PieceView& piece) {
  if (closed_ || !raw_) return false;
  out_.append(piece.text);
  if (piece.lineFeed) out_.append("\r\n", 2);
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

void TextFile::ReleaseBuffers() {
  if (closed_ || !raw_) return;
  FlushBuffer();
  std::string().swap(out_);
  if (inPos_ == inEnd_) {
    inBase_ += inPos_;
    inPos_ = 0;
    inEnd_ = 0;
    ForgetLineFeeds();
    in_.reset();
    inCapacity_ = 0;
  }
}

bool TextFile::StartOver() {
  if (closed_ || !raw_) return false;
  out_.clear();
  failed_ = false;
  return raw_->Truncate() && raw_->Seek(0);
}

bool TextFile::Close() {
  if (closed_) return !failed_;
  closed_ = true;
  inPos_ = inEnd_ = 0;  // nothing more is handed out
  ForgetLineFeeds();
  if (!raw_) return false;
  FlushBuffer();
  if (!raw_->Close()) failed_ = true;
  raw_.reset();
  return !failed_;
}

}  // namespace zirka::platform
