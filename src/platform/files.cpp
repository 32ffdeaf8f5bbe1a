// What the file operations of both hosts share.

#include "platform/files.h"

namespace zirka::platform {

std::unique_ptr<TextFile> OpenText(const std::string& dosPath, Mode mode, Share share) {
  OpenFailure why;
  return OpenText(dosPath, mode, share, why);
}

}  // namespace zirka::platform
