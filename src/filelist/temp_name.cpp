#include "filelist/temp_name.h"

#include "platform/files.h"

namespace zirka {

std::string TemporaryName(const std::string& path, std::string_view extension) {
  std::size_t nameStart = 0;
  for (std::size_t i = path.size(); i > 0; --i) {
    if (platform::IsDirSeparator(path[i - 1])) {
      nameStart = i;
      break;
    }
  }
  const std::size_t dot = path.rfind('.');
  const std::size_t keep = (dot == std::string::npos || dot < nameStart) ? path.size() : dot;
  return path.substr(0, keep) + std::string(extension);
}

}  // namespace zirka
