#include "core/sent_table.h"

#include <functional>

namespace zirka {

namespace {

constexpr std::size_t kFirstSlots = 1024;
constexpr std::uint64_t kIndexMask = 0xFFFFFFFFu;

std::uint64_t TagOf(std::uint64_t hash) { return hash >> 32; }

constexpr std::size_t kSlotsPerFilterWord = 16;
constexpr std::size_t kLeadWords = 65536 / 64;


// The filter word of a hash (from its upper half, which the slot index does not
// use) and the three bits the hash sets in it.
std::size_t FilterWordOf(std::uint64_t hash, std::size_t words) {
  return static_cast<std::size_t>(hash >> 32) & (words - 1);
}
std::uint64_t FilterBitsOf(std::uint64_t hash) {
  return (std::uint64_t{1} << ((hash >> 8) & 63)) | (std::uint64_t{1} << ((hash >> 14) & 63)) |
         (std::uint64_t{1} << ((hash >> 20) & 63));
}

}  // namespace

std::uint64_t SentTable::HashOf(std::string_view name) {
  return std::hash<std::string_view>{}(name);
}

void SentTable::PrefetchSlot(std::uint64_t hash) const {
  if (slots_.empty()) return;
  __builtin_prefetch(&slots_[static_cast<std::size_t>(hash) & (slots_.size() - 1)]);
}

void SentTable::PrefetchRecord(std::uint64_t hash) const {
  if (slots_.empty()) return;
  const std::uint64_t slot = slots_[static_cast<std::size_t>(hash) & (slots_.size() - 1)];
  if (slot != 0 && (slot >> 32) == TagOf(hash)) {
    __builtin_prefetch(&records_[(slot & kIndexMask) - 1]);
  }
}

std::size_t SentTable::SlotOf(std::string_view name, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const std::uint64_t tag = TagOf(hash);
  for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
    const std::uint64_t slot = slots_[i];
    if (slot == 0) return i;
    if ((slot >> 32) == tag && records_[(slot & kIndexMask) - 1].name == name) return i;
  }
}

void SentTable::Grow() {
  std::vector<std::uint64_t> bigger(slots_.empty() ? kFirstSlots : slots_.size() * 2, 0);
  std::vector<std::uint64_t> filter(bigger.size() / kSlotsPerFilterWord, 0);
  const std::size_t mask = bigger.size() - 1;
  for (std::size_t r = 0; r < records_.size(); ++r) {
    const std::uint64_t hash = HashOf(records_[r].name);
    std::size_t i = static_cast<std::size_t>(hash) & mask;
    while (bigger[i] != 0) i = (i + 1) & mask;
    bigger[i] = (TagOf(hash) << 32) | (r + 1);
    filter[FilterWordOf(hash, filter.size())] |= FilterBitsOf(hash);
  }
  slots_.swap(bigger);
  filter_.swap(filter);
}

bool SentTable::AddHashed(std::string_view name, std::uint64_t hash, std::int64_t times) {
  if ((records_.size() + 1) * 2 > slots_.size()) Grow();
  const std::size_t i = SlotOf(name, hash);
  if (slots_[i] != 0) {
    records_[(slots_[i] & kIndexMask) - 1].times += times;
    return false;
  }
  records_.push_back(SentFile{std::string(name), times, false});
  slots_[i] = (TagOf(hash) << 32) | records_.size();
  if (leads_.empty()) leads_.assign(kLeadWords, 0);
  const std::size_t lead = LeadBit(name);
  leads_[lead / 64] |= std::uint64_t{1} << (lead % 64);
  filter_[FilterWordOf(hash, filter_.size())] |= FilterBitsOf(hash);
  return true;
}

SentFile* SentTable::Find(std::string_view name) {
  if (!MayBeginWith(name)) return nullptr;
  const std::uint64_t hash = HashOf(name);
  const std::uint64_t bits = FilterBitsOf(hash);
  if ((filter_[FilterWordOf(hash, filter_.size())] & bits) != bits) return nullptr;
  const std::size_t i = SlotOf(name, hash);
  return slots_[i] == 0 ? nullptr : &records_[(slots_[i] & kIndexMask) - 1];
}

bool IsIgnoredName(const std::vector<std::string>& ignoreList, std::string_view name) {
  for (const std::string& item : ignoreList) {
    if (name.find(item) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace zirka
