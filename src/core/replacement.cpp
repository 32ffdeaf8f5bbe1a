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

bool CommitReplacement(platform::TextFile& temp, const std::string& target) {
  // The old file's mode and owner go with the contents to the disk.
  platform::TakeOverAttributes(temp, target);
  return temp.Flush();
}

Replacement MoveReplacement(std::unique_ptr<platform::TextFile>& temp, const std::string& tempPath,
                            const std::string& target, bool committed,
                            const std::function<bool()>& releaseTarget,
                            const std::function<bool()>& unchanged,
                            platform::PendingDirectories* pending,
                            std::unique_ptr<platform::TextFile>& heldTarget) {
  // The temporary file stays open, and so held, until it is moved: no other run
  // can take its name in between.
  bool ok = committed && releaseTarget();
  // The last look before the move: a stat, so that what another program added
  // while the copy was written out is never put aside by it.
  if (ok && unchanged && !unchanged()) return Replacement::TargetChanged;
  if (ok && pending != nullptr) {
    ok = platform::ReplaceFileHeld(std::move(temp), tempPath, target, *pending,
                                   std::move(heldTarget));
  } else if (ok) {
    heldTarget.reset();
    ok = platform::ReplaceFileHeld(std::move(temp), tempPath, target);
  }
  if (temp) temp->Close();
  temp.reset();
  if (!ok) platform::RemoveFile(tempPath);
  return ok ? Replacement::Done : Replacement::Failed;
}

bool FinishReplacement(std::unique_ptr<platform::TextFile> temp, const std::string& tempPath,
                       const std::string& target, bool written,
                       const std::function<bool()>& releaseTarget) {
  const bool committed = written && CommitReplacement(*temp, target);
  std::unique_ptr<platform::TextFile> none;
  return MoveReplacement(temp, tempPath, target, committed, releaseTarget, nullptr, nullptr,
                         none) == Replacement::Done;
}

}  // namespace zirka
