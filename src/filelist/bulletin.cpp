#include "filelist/bulletin.h"

#include <algorithm>
#include <utility>
#include <memory>

#include "core/messages.h"
#include "core/replacement.h"
#include "core/text.h"
#include "platform/files.h"

namespace zirka {

namespace {

// A bulletin line holds at most this many bytes, so that it can be posted as it is.
constexpr std::size_t kLineWidth = 79;
constexpr std::size_t kRankWidth = 3;     // up to 999 rows
constexpr std::size_t kCounterWidth = 5;  // a counter field holds at most 5 digits
constexpr std::size_t kNameWidth = 12;
constexpr std::size_t kMinAreaWidth = 4;  // "Area"
constexpr std::size_t kMaxAreaWidth = 24;
// Of a description no more is kept than a row can show.
constexpr std::size_t kKeptDescription = kLineWidth;

// `text` in `width` columns: padded with blanks, or cut and marked with '>' at
// its end when it is longer.
std::string Column(std::string_view text, std::size_t width) {
  std::string out;
  if (text.size() > width) {
    out.assign(text.substr(0, width - 1));
    out.push_back('>');
  } else {
    AppendPadded(out, text, width);
  }
  return out;
}

// A description as a row shows it: control characters (tabs among them) as
// blanks, no blanks at either end.
std::string CleanDescription(std::string_view text) {
  std::string out(text.substr(0, std::min(text.size(), kKeptDescription + 1)));
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  const std::size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  out.erase(0, first);
  out.erase(out.find_last_not_of(' ') + 1);
  return out;
}

}  // namespace

BulletinRanking::BulletinRanking(const std::vector<std::string>& areas, int top)
    : areas_(areas),
      counted_(areas.size() + 1, true),
      top_(static_cast<std::size_t>(top)),
      areaEntries_(areas.size() + 1, 0),
      areaSum_(areas.size() + 1, 0) {
  for (std::size_t n = 1; n <= areas_.size(); ++n) {
    const auto first = std::find(areas_.begin(), areas_.end(), areas_[n - 1]);
    counted_[n] = static_cast<std::size_t>(first - areas_.begin()) == n - 1;
  }
}

void BulletinRanking::Entry(const ListEntry& entry) {
  const auto area = static_cast<std::size_t>(entry.area);
  if (area >= counted_.size() || !counted_[area]) return;
  if (entry.raised) anyRaised_ = true;
  if (!entry.hasCounter) return;
  ++entries_;
  sum_ += entry.counter;
  ++areaEntries_[area];
  areaSum_[area] += entry.counter;
  // Most entries fall below the last row kept.
  if (rows_.size() == top_ && entry.counter < std::prev(rows_.end())->first.first) return;

  RankKey key(entry.counter, UpperAscii(entry.name));  // a short name: no allocation
  const auto known = counterOf_.find(key.second);
  if (known != counterOf_.end()) {
    // The first list with the name's highest counter gives its row.
    if (entry.counter <= known->second) return;
    rows_.erase(RankKey(known->second, key.second));
  } else if (rows_.size() == top_ && !Better()(key, std::prev(rows_.end())->first)) {
    return;
  }
  counterOf_[key.second] = entry.counter;
  rows_.emplace(key, Row{std::string(entry.name), entry.area, CleanDescription(entry.description)});
  if (rows_.size() > top_) {
    const auto last = std::prev(rows_.end());
    counterOf_.erase(last->first.second);
    rows_.erase(last);
  }
}

void BulletinRanking::Forget(int area) {
  const auto n = static_cast<std::size_t>(area);
  if (n >= counted_.size()) return;
  entries_ -= std::exchange(areaEntries_[n], 0);
  sum_ -= std::exchange(areaSum_[n], 0);
  // Its rows go; its entries told again bring them back. A row of another list
  // that one of them pushed out stays out.
  for (auto row = rows_.begin(); row != rows_.end();) {
    if (row->second.area == area) {
      counterOf_.erase(row->first.second);
      row = rows_.erase(row);
    } else {
      ++row;
    }
  }
}

// The directory of the area's list, as the area table names it.
std::string BulletinRanking::AreaName(int area) const {
  const std::string& list = areas_[static_cast<std::size_t>(area) - 1];
  const std::size_t last = LastSeparator(list);
  if (last == std::string::npos) return list;
  // A root directory (D:\, /) keeps its separator.
  const bool root = last == 0 || (last == 2 && list[1] == ':');
  return list.substr(0, root ? last + 1 : last);
}

std::string BulletinRanking::Text(std::string_view when, bool keepNameCase) const {
  std::size_t areaWidth = kMinAreaWidth;
  for (const auto& [key, row] : rows_) areaWidth = std::max(areaWidth, AreaName(row.area).size());
  areaWidth = std::min(areaWidth, kMaxAreaWidth);
  const std::size_t descriptionWidth =
      kLineWidth - (kRankWidth + kCounterWidth + kNameWidth + areaWidth + 4);

  std::string text = Format("Top %d downloads, ", static_cast<int>(top_));
  text.append(when).append("\n\n");
  text += "  # Count " + Column("File", kNameWidth) + ' ' + Column("Area", areaWidth) +
          " Description\n";
  text += std::string(kRankWidth, '-') + ' ' + std::string(kCounterWidth, '-') + ' ' +
          std::string(kNameWidth, '-') + ' ' + std::string(areaWidth, '-') + ' ' +
          std::string(descriptionWidth, '-') + '\n';
  int rank = 0;
  for (const auto& [key, row] : rows_) {
    std::string line = Format("%3d %5lld ", ++rank, static_cast<long long>(key.first));
    line += Column(keepNameCase ? row.name : key.second, kNameWidth) + ' ';
    line += Column(AreaName(row.area), areaWidth) + ' ';
    line.append(std::string_view(row.description).substr(0, descriptionWidth));
    line.erase(line.find_last_not_of(' ') + 1);
    text += line + '\n';
  }
  text += '\n' + Counted(entries_, "entry holds a counter", "entries hold counters") + ", " +
          Counted(sum_, "download", "downloads") + " in all\n";
  return text;
}

bool WriteBulletin(const std::string& path, std::string_view text) {
  if (platform::IsDevice(path)) {
    auto device = platform::OpenText(path, platform::Mode::Write, platform::Share::DenyNone);
    if (!device) return false;
    const bool written = device->Write(text);
    return device->Close() && written;
  }
  const std::string target = platform::FinalPath(path);
  const std::string tempPath = TemporaryName(target, ".!#$");
  auto temp = platform::OpenText(tempPath, platform::Mode::Create, platform::Share::DenyAll);
  if (!temp) return false;
  const bool written = temp->Write(text);
  return FinishReplacement(std::move(temp), tempPath, target, written, [] { return true; });
}

}  // namespace zirka
