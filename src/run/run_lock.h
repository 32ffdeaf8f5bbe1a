#pragma once
// Runs of one control file take turns: each holds a lock on ZIRKA.LCK beside
// ZIRKA.CTL (the control file's name with .LCK) from before it reads ZIRKA.CTL until
// it ends; the file is removed then. Runs of two control files never wait for each other; a preview takes no
// lock and waits for none.

#include <memory>

#include "core/context.h"
#include "core/terminate.h"
#include "platform/files.h"

namespace zirka {

// Takes the lock into `lock`. When another run holds it, ZIRKA.CTL is let go (so
// that the other run can replace it), the wait is shown on the screen, and
// ZIRKA.CTL is opened again once the lock is had: errorlevel 3 when it is not had
// within a minute (ZIRKA_LOCK_WAIT seconds, when set), 5 when ZIRKA.CTL is gone
// by then. A lock file that can't be made (a read-only directory) leaves the run
// without one: nothing there can be changed by any run.
[[nodiscard]] Outcome TakeRunLock(RunContext& ctx, std::unique_ptr<platform::FileLock>& lock);

}  // namespace zirka
