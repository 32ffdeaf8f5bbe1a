#pragma once
// What the list rewrite tells the run's journal, area by area, so that a run
// killed amid the lists can be completed without raising a list twice.

#include <string>
#include <vector>

namespace zirka {

// A list whose replacement is whole on disk: area `number`'s `list`.
struct ReadyList {
  int number = 0;
  std::string list;
};

class AreaJournal {
 public:
  virtual ~AreaJournal() = default;
  // True when the interrupted run that this one completes had replaced the list
  // of area `number` (from 1, in area-table order): it is read, not raised again.
  virtual bool AlreadyReplaced(int number) const = 0;
  // The replacements of `lists` are whole on disk and about to be moved over
  // them: recorded durably first, all at once. False when that failed; none of
  // them may then be replaced.
  virtual bool Ready(const std::vector<ReadyList>& lists) = 0;
  // The replacements of areas `numbers`, Ready and not moved, are withdrawn (another
  // program changed their lists): recorded durably, before they are removed, so
  // that the lists may be raised anew. False when that failed.
  virtual bool Withdraw(const std::vector<int>& numbers) = 0;
  // The move of area `number`'s replacement was attempted, whatever came of it,
  // and a move that was made is committed to the disk.
  virtual void Done(int number) = 0;
};

}  // namespace zirka
