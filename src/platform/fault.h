#pragma once
// The fault seam: in builds made with ZIRKA_FAULT_SEAM (the fault-injection tests
// only) the k-th file operation can be made to fail. Every open, write, flush,
// close and rename of the platform layer asks ShouldFail first.

#include <string>

namespace zirka::platform {

enum class FaultOp { Open, Write, Flush, Close, Rename, Remove };

#if defined(ZIRKA_FAULT_SEAM)
// True when this call is the one chosen to fail (ZIRKA_FAULT_AT=k counts calls
// from 1). With ZIRKA_FAULT_KILL=1 that call does not return: the process ends at
// once, before the operation, without unwinding or flushing anything (SIGKILL where
// there is one). Each call is counted; the count is written to the file named by
// ZIRKA_FAULT_COUNT at a normal exit, so a test learns how many points there are.
bool ShouldFail(FaultOp op);
// Another program at work: with ZIRKA_FAULT_APPEND=once (the first call only) or
// =always (every call), appends an entry to the file at `hostPath` right before
// the check that a list is still as it was read.
void AppendBeforeCheck(const std::string& hostPath);
#else
inline bool ShouldFail(FaultOp) { return false; }
inline void AppendBeforeCheck(const std::string&) {}
#endif

}  // namespace zirka::platform
