#pragma once
// What the list rewrite tells the run's journal, area by area, so that a run
// killed amid the lists can be completed without raising a list twice.

#include <string>

namespace zirka {

class AreaJournal {
 public:
  virtual ~AreaJournal() = default;
  // True when the interrupted run that this one completes had replaced the list
  // of area `number` (from 1, in area-table order): it is read, not raised again.
  virtual bool AlreadyReplaced(int number) const = 0;
  // The replacement of `list`, the list of area `number`, is whole on disk and
  // about to be moved over it: recorded durably first. False when that failed;
  // the list must then not be replaced.
  virtual bool Ready(int number, const std::string& list) = 0;
  // The move of area `number`'s replacement was attempted, whatever came of it.
  virtual void Done(int number) = 0;
};

}  // namespace zirka
