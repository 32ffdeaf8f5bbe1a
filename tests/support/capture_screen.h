#pragma once
// A test double for the screen.

#include <string>
#include <string_view>

#include "platform/console.h"

namespace zirka::platform {

// Collects screen text in memory.
class CaptureScreen : public Screen {
 public:
  void Write(std::string_view oemText) override { text.append(oemText); }
  std::string text;
};

}  // namespace zirka::platform
