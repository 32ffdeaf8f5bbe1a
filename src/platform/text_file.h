#pragma once
// DOS text streams over binary I/O, the same on every host:
//  - reading drops a CR that is directly followed by LF, and byte 0x1A ends the file;
//  - writing turns each LF into CR LF;
//  - a line is read in pieces exactly as fgets with a buffer of N+1 bytes gives them;
//  - every other byte is kept as it is, NUL included.
// Reads and writes go through a large buffer, never byte by byte through stdio.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/raw_file.h"

namespace zirka::platform {

class TextFile {
 public:
  // Bytes read from or written to the file at a time: large enough for gigabyte
  // logs, small enough that opening a short control file costs next to nothing.
  static constexpr std::size_t kBufferSize = 64 * 1024;

  TextFile(std::unique_ptr<RawFile> raw, std::string name);
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // The next piece of a line, as fgets(buf, maxChars + 1) returns it: at most
  // maxChars bytes, ending right after the first line feed. False, with `piece`
  // empty, at the end of the file or on a read error.
  bool ReadPiece(std::string& piece, std::size_t maxChars);

  // The byte offset in the file of the next byte ReadPiece would return.
  std::uint64_t Tell() const;
  // Continues reading at a byte offset that Tell returned (or 0).
  bool Seek(std::uint64_t offset);
  bool Rewind() { return Seek(0); }
  // Reads end at byte offset `end` as they do at the end of the file, whatever
  // was written beyond it since (a log read again up to where an earlier run
  // stopped).
  void LimitReadsTo(std::uint64_t end) { readLimit_ = end; }

  // Buffers `text`, each LF written as CR LF. False once any write has failed.
  bool Write(std::string_view text);
  // Hands the buffer to the system (it survives the process, not a crash of the
  // machine).
  bool WriteOut();
  // Writes out the buffer and commits the file to the disk.
  bool Flush();
  // Writes out the buffer and closes the file. False if anything written was lost.
  bool Close();

  bool failed() const { return failed_; }
  // True once a read failed: what was read so far is not the whole file, though
  // ReadPiece ends as it does at the end of the file.
  bool readFailed() const { return readFailed_; }
  const std::string& name() const { return name_; }

 private:
  bool Fill();
  bool FlushBuffer();

  std::unique_ptr<RawFile> raw_;
  std::string name_;
  std::string in_;            // read buffer
  std::size_t inPos_ = 0;     // next unread byte in in_
  std::uint64_t inBase_ = 0;  // file offset of in_[0]
  std::uint64_t readLimit_ = UINT64_MAX;  // no byte at or past it is read
  bool eof_ = false;          // Ctrl-Z seen or the file ended
  std::string out_;           // write buffer
  bool failed_ = false;       // a write or flush failed
  bool readFailed_ = false;   // a read failed
  bool closed_ = false;
};

}  // namespace zirka::platform
