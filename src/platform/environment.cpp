#include <cstdlib>

#include "platform/system.h"

namespace zirka::platform {

std::optional<std::string> GetEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace zirka::platform
