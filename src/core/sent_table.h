#pragma once
// The table of files sent to callers, filled by the log scan and read by the
// report and the file-list update: records in order of first appearance, found
// by name through an open-addressing index that stores no second copy of a name.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zirka {

// One file name sent to a caller and how often it was sent.
struct SentFile {
  std::string name;        // without its path, upper case; may exceed 12 characters
  std::int64_t times = 0;  // sent-file lines found for it
  bool used = false;       // FIRST_ONLY: already raised one list entry, matches no more
};

class SentTable {
 public:
  // The hash of a name as the table uses it.
  static std::uint64_t HashOf(std::string_view name);

  // Adds `times` sends of `name`; true when the name is new to the table.
  bool Add(std::string_view name, std::int64_t times = 1) {
    return AddHashed(name, HashOf(name), times);
  }
  // The same with the name's hash (HashOf) computed by the caller.
  bool AddHashed(std::string_view name, std::uint64_t hash, std::int64_t times = 1);
  // The record named exactly `name`, or nullptr.
  SentFile* Find(std::string_view name);
  // How many first bytes of a name MayBeginWith looks at.
  static constexpr std::size_t kLeadBytes = 4;
  // False when no name in the table begins with `lead`: the first kLeadBytes bytes of
  // a word (all of a shorter one), a quick test before the word is looked up whole.
  bool MayBeginWith(std::string_view lead) const {
    if (leads_.empty()) return false;
    const std::size_t bit = LeadBit(lead);
    return (leads_[bit / 64] >> (bit % 64) & 1) != 0;
  }

  // Hints for a caller that adds several names in a row: start loading the slot a
  // hash leads to, and then the record that slot names. Nothing visible changes.
  void PrefetchSlot(std::uint64_t hash) const;
  void PrefetchRecord(std::uint64_t hash) const;
  const std::vector<SentFile>& records() const { return records_; }
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }

 private:
  // The bit of leads_ for the first kLeadBytes bytes of a name.
  static std::size_t LeadBit(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < name.size() && i < kLeadBytes; ++i) {
      hash = (hash ^ static_cast<unsigned char>(name[i])) * 16777619u;
    }
    return (hash ^ hash >> 16) & 0xFFFF;
  }
  // The slot that holds `name`, or the empty slot where it belongs.
  std::size_t SlotOf(std::string_view name, std::uint64_t hash) const;
  void Grow();

  std::vector<SentFile> records_;
  // A power of two of slots, at most half of them in use. A slot holds the upper
  // 32 bits of the name's hash and, below them, the record's index plus one;
  // 0 is an empty slot.
  std::vector<std::uint64_t> slots_;
  // A filter that turns most names not in the table away before the slots are
  // read: one 64-bit word per 16 slots, in which each name sets three bits chosen
  // by its hash. A name whose bits are not all set is not in the table.
  std::vector<std::uint64_t> filter_;
  // A bit for the first kLeadBytes bytes of each name in the table (65,536 bits once
  // a name is added): most words of a list are turned away by it before they are
  // read whole and hashed, when the table holds a few names only.
  std::vector<std::uint64_t> leads_;
};

// True when `name` holds an item of the ignore list (upper-case name fragments).
bool IsIgnoredName(const std::vector<std::string>& ignoreList, std::string_view name);

}  // namespace zirka
