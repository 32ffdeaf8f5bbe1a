#pragma once
// The fault seam: in builds made with ZIRKA_FAULT_SEAM (the fault-injection tests
// only) the k-th file operation can be made to fail. Every open, write, flush,
// close and rename of the platform layer asks ShouldFail first.

namespace zirka::platform {

enum class FaultOp { Open, Write, Flush, Close, Rename };

#if defined(ZIRKA_FAULT_SEAM)
// True when this call is the one chosen to fail (ZIRKA_FAULT_AT=k counts calls
// from 1). Each call is counted; the count is written to the file named by
// ZIRKA_FAULT_COUNT at exit, so a test learns how many points there are.
bool ShouldFail(FaultOp op);
#else
inline bool ShouldFail(FaultOp) { return false; }
#endif

}  // namespace zirka::platform
