#pragma once
// DOS text streams over binary I/O, the same on every host:
//  - reading drops a CR that is directly followed by LF, and byte 0x1A ends the file;
//  - reading drops a UTF-8 byte order mark at the head of the file (as a Windows
//    editor may write it): the first line begins after it;
//  - writing turns each LF into CR LF;
//  - a line is read in pieces exactly as fgets with a buffer of N+1 bytes gives them;
//  - every other byte is kept as it is, NUL included.
// Reads and writes go through a large buffer, never byte by byte through stdio.
// NextPiece hands a piece out as a view into the read buffer, so that a scan over a
// gigabyte of log copies nothing per line.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/raw_file.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zirka::platform {

// One piece of a line as it stands in the read buffer. The piece ReadPiece gives is
// `text` followed by a line feed when `lineFeed` is set; `text` never holds a line
// feed, and a CR that stood right before the line feed is not part of it.
// The UTF-8 byte order mark, EF BB BF.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct PieceView {
  std::string_view text;
  bool lineFeed = false;

  // The length of the piece with its line feed.
  std::size_t size() const { return text.size() + (lineFeed ? 1 : 0); }
};

class TextFile {
 public:
  // Bytes read from or written to the file at a time: large enough for gigabyte
  // logs, small enough that opening a short control file costs next to nothing.
  static constexpr std::size_t kBufferSize = 128 * 1024;

  // `bufferSize` is for tests; a piece always fits in the read buffer, which grows
  // to maxChars + 1 bytes when it is smaller.
  TextFile(std::unique_ptr<RawFile> raw, std::string name,
           std::size_t bufferSize = kBufferSize);
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // The next piece of a line, as fgets(buf, maxChars + 1) returns it: at most
  // maxChars bytes, ending right after the first line feed. False, with `piece`
  // empty, at the end of the file or on a read error.
  bool ReadPiece(std::string& piece, std::size_t maxChars);
  // The same piece without a copy: `piece` stays valid until the next read, Seek or
  // Close of this file. False, with `piece` empty, where ReadPiece gives false.
  bool NextPiece(PieceView& piece, std::size_t maxChars) {
    // Most pieces are short lines whose line feed is in the buffer already: taken
    // here, inline in a scan's loop, from a bit mask of the line feeds in 64 bytes
    // at a time. The rest, and every edge, in NextPieceAtEdge.
    if (maxChars == 0) return NextPieceAtEdge(piece, maxChars);
    while (lineFeeds_ == 0) {
      // Stop once the mask covers all maxChars + 1 bytes a piece may span.
      if (scanned_ - inPos_ > maxChars) break;
      if (inEnd_ - scanned_ < kBlock) return NextPieceAtEdge(piece, maxChars);
      lineFeeds_ = LineFeedsIn(in_.get() + scanned_);
      scanned_ += kBlock;
    }
    const char* const begin = in_.get() + inPos_;
    if (lineFeeds_ != 0) {
      const std::size_t at =
          scanned_ - kBlock + static_cast<std::size_t>(std::countr_zero(lineFeeds_)) - inPos_;
      if (at <= maxChars) {
        const std::size_t length = at > 0 && begin[at - 1] == '\r' ? at - 1 : at;
        if (length < maxChars) {
          piece = PieceView{std::string_view(begin, length), true};
          inPos_ += at + 1;
          lineFeeds_ &= lineFeeds_ - 1;
          return true;
        }
      }
    }
    // No line feed ends a piece within maxChars characters, and more than that many
    // bytes are buffered: the piece is maxChars bytes, a lone CR among them kept.
    piece = PieceView{std::string_view(begin, maxChars), false};
    inPos_ += maxChars;
    return true;
  }

  // True when the file begins with a byte order mark, which reading drops: a copy
  // of the file writes it back first. Reads the head of the file when nothing has
  // been read yet.
  bool StartsWithByteOrderMark();

  // The byte offset in the file of the next byte ReadPiece would return.
  std::uint64_t Tell() const;
  // Continues reading at a byte offset that Tell returned (or 0).
  bool Seek(std::uint64_t offset);
  bool Rewind() { return Seek(0); }
  // Moves the open file to `hostPath` (see RawFile::MoveTo), the buffer written out
  // first.
  bool MoveTo(const std::string& hostPath) { return WriteOut() && raw_ && raw_->MoveTo(hostPath); }
  // The file's size in bytes; -1 when it can't be told.
  long long Size() { return closed_ || !raw_ ? -1 : raw_->Size(); }
  // The raw file beneath, for the platform layer (nullptr once closed).
  RawFile* raw() { return closed_ ? nullptr : raw_.get(); }
  // Drops what was written, buffered or not: the file is empty and written anew
  // from its start. False when that failed.
  bool StartOver();
  // Up to `size` bytes from byte offset `offset` as they stand in the file (no CR
  // dropped, a Ctrl-Z kept): the count read, -1 on an error. Reading pieces goes on
  // after a Seek.
  long long ReadRawAt(std::uint64_t offset, char* out, std::size_t size);
  // Reads end at byte offset `end` as they do at the end of the file, whatever
  // was written beyond it since (a log read again up to where an earlier run
  // stopped).
  void LimitReadsTo(std::uint64_t end) { readLimit_ = end; }

  // Buffers `text`, each LF written as CR LF. False once any write has failed.
  bool Write(std::string_view text);
  // Writes a piece as ReadPiece gives it: its text, then CR LF if it had a line feed.
  bool WritePiece(const PieceView& piece);
  // Hands the buffer to the system (it survives the process, not a crash of the
  // machine).
  bool WriteOut();
  // Writes out the buffer and commits the file to the disk.
  bool Flush();
  // Writes out the buffer and has the system start writing the file to the disk,
  // without waiting: for several files flushed one after the other.
  void StartWriteback() {
    if (WriteOut()) raw_->StartWriteback();
  }
  // For a file held open while other work goes on: what is buffered for writing is
  // handed to the system, and both buffers are let go (the read buffer once
  // everything in it is read); reading goes on where it stood.
  void ReleaseBuffers();
  // Writes out the buffer and closes the file. False if anything written was lost.
  bool Close();

  bool failed() const { return failed_; }
  // True once a read failed: what was read so far is not the whole file, though
  // ReadPiece ends as it does at the end of the file.
  bool readFailed() const { return readFailed_; }
  const std::string& name() const { return name_; }

 private:
  static constexpr std::size_t kBlock = 64;
  // Bit i set where block[i] is a line feed.
  static std::uint64_t LineFeedsIn(const char* block) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < kBlock; i += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
      const auto hits = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)));
      bits |= static_cast<std::uint64_t>(hits) << i;
    }
    return bits;
#else
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < kBlock; ++i) {
      bits |= static_cast<std::uint64_t>(block[i] == '\n') << i;
    }
    return bits;
#endif
  }
  // Starts the line-feed mask afresh at the next unread byte.
  void ForgetLineFeeds() {
    scanned_ = inPos_;
    lineFeeds_ = 0;
  }
  bool NextPieceAtEdge(PieceView& piece, std::size_t maxChars);
  bool TakePiece(PieceView& piece, std::size_t maxChars);
  void Refill(std::size_t want);
  bool FlushBuffer();

  std::unique_ptr<RawFile> raw_;
  std::string name_;
  std::size_t bufferSize_;
  std::unique_ptr<char[]> in_;  // read buffer, allocated at the first read
  std::size_t inCapacity_ = 0;  // bytes allocated for in_
  std::size_t inPos_ = 0;       // next unread byte in in_
  std::size_t inEnd_ = 0;       // end of the bytes read into in_
  std::uint64_t inBase_ = 0;    // file offset of in_[0]
  // The line feeds in in_[inPos_, scanned_) are all in its last 64 bytes, at the
  // bits set in lineFeeds_ (bit i for in_[scanned_ - 64 + i]).
  std::size_t scanned_ = 0;
  std::uint64_t lineFeeds_ = 0;
  bool sourceDone_ = false;     // Ctrl-Z read, the file ended or a read failed
  std::uint64_t readLimit_ = UINT64_MAX;  // no byte at or past it is read
  std::string out_;           // write buffer
  bool failed_ = false;       // a write or flush failed
  bool readFailed_ = false;   // a read failed
  bool byteOrderMark_ = false;  // the head of the file, as last read, is a byte order mark
  bool closed_ = false;
};

}  // namespace zirka::platform
