#include "core/sent_table.h"

namespace zirka {

bool SentTable::Add(const std::string& name) {
  const auto [it, inserted] = index_.try_emplace(name, records_.size());
  if (!inserted) {
    ++records_[it->second].times;
    return false;
  }
  try {
    records_.push_back(SentFile{name, 1, false});
  } catch (...) {
    index_.erase(it);
    throw;
  }
  return true;
}

SentFile* SentTable::Find(const std::string& name) {
  const auto it = index_.find(name);
  return it == index_.end() ? nullptr : &records_[it->second];
}

bool IsIgnoredName(const std::vector<std::string>& ignoreList, std::string_view name) {
  for (const std::string& item : ignoreList) {
    if (name.find(item) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace zirka
