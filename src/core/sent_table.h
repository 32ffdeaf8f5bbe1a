#pragma once
// The table of files sent to callers, filled by the log scan and read by the
// report and the file-list update.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zirka {

// One file name sent to a caller and how often it was sent.
struct SentFile {
  std::string name;        // without its path, upper case; may exceed 12 characters
  std::int64_t times = 0;  // sent-file lines found for it
  bool used = false;       // FIRST_ONLY: already raised one list entry, matches no more
};

// The sent files in order of first appearance, with a hash index by name.
class SentTable {
 public:
  // Adds one send of `name`; true when the name is new to the table.
  bool Add(const std::string& name);
  // The record named exactly `name`, or nullptr.
  SentFile* Find(const std::string& name);
  const std::vector<SentFile>& records() const { return records_; }
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }

 private:
  std::vector<SentFile> records_;
  std::unordered_map<std::string, std::size_t> index_;
};

// True when `name` holds an item of the ignore list (upper-case name fragments).
bool IsIgnoredName(const std::vector<std::string>& ignoreList, std::string_view name);

}  // namespace zirka
