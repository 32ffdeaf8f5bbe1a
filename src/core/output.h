#pragma once
// Where the program's messages go.

#include "platform/console.h"
#include "platform/text_file.h"

namespace zirka {

// The screen, the program log (null while it is not open) and whether debug
// lines are shown: all that a function writing messages needs of the run.
struct Output {
  platform::Screen& screen;
  platform::TextFile* log = nullptr;
  bool debug = false;
};

}  // namespace zirka
