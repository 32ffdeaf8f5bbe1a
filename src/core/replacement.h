#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/text_file.h"

namespace zirka {

// Replacing a file through a temporary stand-in.

// The name of a file's temporary stand-in: `path` with everything from the last
// "." of its file name replaced by `extension` (FILES.BBS and ".!#$" give
// FILES.!#$); a file name without a "." gets the extension appended. A "." in a
// directory name never counts.
std::string TemporaryName(const std::string& path, std::string_view extension);

// The end of replacing `target` through the temporary file `temp` (at `tempPath`,
// opened with platform::Mode::Create), once the new contents are written to it
// (`written` false when that failed): the temporary file is committed to the disk,
// `releaseTarget` closes whatever else holds `target` open (an open file can't be
// replaced on Windows) and may still refuse the move (false), and the temporary
// file is moved over `target` in one step while it is still held, then closed.
// The old file is never deleted: on any failure it stays whole and the temporary
// file is removed; `releaseTarget` is called only once the temporary file is whole.
// True when `target` was replaced.
bool FinishReplacement(std::unique_ptr<platform::TextFile> temp, const std::string& tempPath,
                       const std::string& target, bool written,
                       const std::function<bool()>& releaseTarget);

// What became of a replacement moved by MoveReplacement.
enum class Replacement { Done, Failed, TargetChanged };

// FinishReplacement in its two steps, for a caller that commits several
// replacements before it moves any. CommitReplacement gives the temporary file the
// target's mode and owner and commits it to the disk: true when it is there.
bool CommitReplacement(platform::TextFile& temp, const std::string& target);
// The rest, for a temporary file that `committed` says is on the disk (false: it
// is removed, and Failed returned). `unchanged`, when given, is asked last before
// the move: when it says another program changed the target since it was read,
// nothing is moved and `temp` stays with the caller, open and whole, with
// TargetChanged. With `pending`, the directory entry is left for
// platform::SyncDirectories to commit to the disk; `heldTarget`, the target's own
// open file if the caller still holds it, is let go as platform::ReplaceFileHeld
// says, and closed before the move without `pending`.
Replacement MoveReplacement(std::unique_ptr<platform::TextFile>& temp, const std::string& tempPath,
                            const std::string& target, bool committed,
                            const std::function<bool()>& releaseTarget,
                            const std::function<bool()>& unchanged,
                            platform::PendingDirectories* pending,
                            std::unique_ptr<platform::TextFile>& heldTarget);

}  // namespace zirka
