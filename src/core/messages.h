#pragma once
// Message output shared by every phase: the screen, the program log, and both.

#include <cstdint>
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

// A count with its noun: "1 entry", "2 entries".
std::string Counted(std::int64_t count, const char* one, const char* many);

// The program's messages are kept byte for byte as sysops and their batch files
// know them, old spellings included ("Cann't", "overriden", "analisis", "occured",
// "contol", "standart"): do not correct them.

// Writes bytes to the screen as they are.
void Print(const Output& out, std::string_view text);
// Writes bytes to the screen only in debug mode.
void Debug(const Output& out, std::string_view text);
// Writes bytes to the program log when it is open.
void LogWrite(const Output& out, std::string_view text);
// The same bytes, as they stand, to the screen and (when open) the program log.
void PrintAndLog(const Output& out, std::string_view text);
// ToLog: the text to the program log when open. ToScreen: the text and a line
// break to the screen. ToBoth: both.
void WriteMessage(const Output& out, std::string_view text, Channel channel);

// The same, to where the run's messages go as it now stands.
inline void Print(const RunContext& ctx, std::string_view text) { Print(ctx.out(), text); }
inline void Debug(const RunContext& ctx, std::string_view text) { Debug(ctx.out(), text); }
inline void LogWrite(const RunContext& ctx, std::string_view text) { LogWrite(ctx.out(), text); }
inline void PrintAndLog(const RunContext& ctx, std::string_view text) {
  PrintAndLog(ctx.out(), text);
}
inline void WriteMessage(const RunContext& ctx, std::string_view text, Channel channel) {
  WriteMessage(ctx.out(), text, channel);
}

}  // namespace zirka
