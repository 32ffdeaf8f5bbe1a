#pragma once
// Counter settings and the ignore list, read from ZIRKA.CTL.

#include "core/context.h"

namespace zirka {

// DLC_DIGITS, LOOKUP_CTL, LEFT_BRACKET, RIGHT_BRACKET, FIRST_ONLY, LEAD_CHAR,
// KEEP_NAME_CASE and LONG_NAMES, each from its first line in ZIRKA.CTL.
void ReadCounterSettings(RunContext& ctx);

// The IGNORE lines, from the top of ZIRKA.CTL down to the first empty value.
void ReadIgnoreList(RunContext& ctx);

}  // namespace zirka
