#include "core/replacement.h"

#include "core/text.h"
#include "platform/files.h"

namespace zirka {

std::string TemporaryName(const std::string& path, std::string_view extension) {
  const std::size_t last = LastSeparator(path);
  const std::size_t nameStart = last == std::string::npos ? 0 : last + 1;
  const std::size_t dot = path.rfind('.');
  const std::size_t keep = (dot == std::string::npos || dot < nameStart) ? path.size() : dot;
  return path.substr(0, keep) + std::string(extension);
}

bool FinishReplacement(std::unique_ptr<platform::TextFile> temp, const std::string& tempPath,
                       const std::string& target, bool written,
                       const std::function<bool()>& releaseTarget,
                       platform::PendingDirectories* pending,
                       std::unique_ptr<platform::TextFile> heldTarget) {
  // The temporary file stays open, and so held, until it is moved: no other run
  // can take its name in between.
  bool ok = written && temp->Flush();
  if (ok) ok = releaseTarget();
  if (ok && pending != nullptr) {
    ok = platform::ReplaceFileHeld(std::move(temp), tempPath, target, *pending,
                                   std::move(heldTarget));
  } else if (ok) {
    heldTarget.reset();
    ok = platform::ReplaceFileHeld(std::move(temp), tempPath, target);
  }
  if (temp) temp->Close();
  if (!ok) platform::RemoveFile(tempPath);
  return ok;
}

}  // namespace zirka
