#pragma once
// Message output shared by every phase: the screen, the program log, and both.

#include <string>
#include <string_view>

#include "core/context.h"

namespace zirka {

enum class Channel { ToLog, ToScreen, ToBoth };

// printf-style formatting into a string. Use only for texts without NUL bytes;
// text taken from files is appended as it stands.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Writes bytes to the screen as they are.
void Print(RunContext& ctx, std::string_view text);
// Writes bytes to the screen only in debug mode.
void Debug(RunContext& ctx, std::string_view text);
// Writes bytes to the program log when it is open.
void LogWrite(RunContext& ctx, std::string_view text);

// The same bytes, as they stand, to the screen and (when open) the program log.
void PrintAndLog(RunContext& ctx, std::string_view text);

// ToLog: the text to the program log when open. ToScreen: the text and a line
// break to the screen. ToBoth: both.
void WriteMessage(RunContext& ctx, std::string_view text, Channel channel);

}  // namespace zirka
