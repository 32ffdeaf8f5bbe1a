#include "core/messages.h"

#include <cstdarg>
#include <cstdio>

namespace zirka {

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text;
  if (needed > 0) {
    text.resize(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(needed));
  }
  va_end(args);
  return text;
}

void Print(RunContext& ctx, std::string_view text) { ctx.screen.Write(text); }

void Debug(RunContext& ctx, std::string_view text) {
  if (ctx.debug) ctx.screen.Write(text);
}

void LogWrite(RunContext& ctx, std::string_view text) {
  if (ctx.programLog) ctx.programLog->Write(text);
}

void PrintAndLog(RunContext& ctx, std::string_view text) {
  Print(ctx, text);
  LogWrite(ctx, text);
}

void WriteMessage(RunContext& ctx, std::string_view text, Channel channel) {
  switch (channel) {
    case Channel::ToLog:
      LogWrite(ctx, text);
      break;
    case Channel::ToScreen:
      Print(ctx, text);
      Print(ctx, "\n");
      break;
    case Channel::ToBoth:
      LogWrite(ctx, text);
      Print(ctx, text);
      Print(ctx, "\n");
      break;
  }
}

}  // namespace zirka
