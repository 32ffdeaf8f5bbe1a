#pragma once
// The top-downloads bulletin: the file entries with the highest counters across
// every list, one row per file name, as a text a BBS shows or a tosser posts.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "filelist/list_entry.h"

namespace zirka {

inline constexpr int kDefaultBulletinTop = 10;
inline constexpr int kMaxBulletinTop = 999;

// Ranks the entries told to it as the lists are read. It keeps only the rows that
// can still be among the first `top`, so its size does not grow with the lists.
class BulletinRanking final : public ListEntrySink {
 public:
  // `areas`: the lists' full paths in area order (a list named twice is read twice
  // and counted once); `top` from 1 to 999.
  BulletinRanking(const std::vector<std::string>& areas, int top);

  void Entry(const ListEntry& entry) override;
  void Forget(int area) override;

  // True once an entry told was raised by this run.
  bool anyRaised() const { return anyRaised_; }

  // The bulletin, with LF line ends, no line longer than 79 bytes: a heading with
  // `when` (the node's time of the run), the column heads, a row per file name
  // (rank, counter, name, area, the start of the description) and the number of
  // entries with counters with the sum of their counters. Names are written as
  // the lists spell them with `keepNameCase`, else in upper case.
  std::string Text(std::string_view when, bool keepNameCase) const;

 private:
  // Rows go best first: the higher counter, then the name in byte order of its
  // upper-case spelling.
  using RankKey = std::pair<std::int64_t, std::string>;
  struct Better {
    bool operator()(const RankKey& a, const RankKey& b) const {
      return a.first != b.first ? a.first > b.first : a.second < b.second;
    }
  };
  struct Row {
    std::string name;         // as the first list with the row's counter spells it
    int area = 0;             // that list's number, from 1
    std::string description;  // the start of its description, as written there
  };

  std::string AreaName(int area) const;

  std::vector<std::string> areas_;
  std::vector<bool> counted_;  // by area number: false for a list named before
  std::size_t top_;
  std::map<RankKey, Row, Better> rows_;
  std::unordered_map<std::string, std::int64_t> counterOf_;  // upper-case name -> its row's counter
  std::int64_t entries_ = 0;  // entries with counters
  std::int64_t sum_ = 0;      // the sum of their counters
  // By area number: what its entries added to entries_ and sum_.
  std::vector<std::int64_t> areaEntries_;
  std::vector<std::int64_t> areaSum_;
  bool anyRaised_ = false;
};

// Writes `text` to the bulletin at `path` as DOS text: through a temporary file
// beside it, moved over it in one step, so that it is the old bulletin or the new
// one; a device (NUL, /dev/null) is written to directly. False when it could not
// be written; an old bulletin then stays whole.
bool WriteBulletin(const std::string& path, std::string_view text);

}  // namespace zirka
