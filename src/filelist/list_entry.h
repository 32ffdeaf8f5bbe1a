#pragma once
// What the list rewrite tells of each file entry it reads: the counters of every
// list, as they stand once the run is done with it, without a second reading.

#include <cstdint>
#include <string_view>

namespace zirka {

// A file entry (its first word 1 to 12 characters) as the list holds it once the
// run is done with the list. The views are valid only during the call.
struct ListEntry {
  int area = 0;                  // the list's number in the area table, from 1
  std::string_view name;         // the first word as the list spells it
  bool raised = false;           // this run raised its counter
  bool hasCounter = false;       // it has a counter field (an entry without one has no value)
  std::int64_t counter = 0;      // the counter's value
  std::string_view description;  // the text after the counter field, without the line feed
};

// Told of every file entry of every list the run reads, in area order and line order.
class ListEntrySink {
 public:
  virtual void Entry(const ListEntry& entry) = 0;
  // Every entry told of area `area` so far is taken back: its list is read again
  // (another program changed it before it could be replaced).
  virtual void Forget(int /*area*/) {}

 protected:
  ~ListEntrySink() = default;
};

}  // namespace zirka
