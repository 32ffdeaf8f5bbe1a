#pragma once
// Counter settings and the ignore list, read from ZIRKA.CTL.

#include "core/context.h"

namespace zirka {

// DLC_DIGITS, LOOKUP_CTL, LEFT_BRACKET, RIGHT_BRACKET; leaves ZIRKA.CTL rewound.
void ReadCounterSettings(RunContext& ctx);

// The IGNORE lines, then FIRST_ONLY and LEAD_CHAR.
void ReadIgnoreList(RunContext& ctx);

}  // namespace zirka
