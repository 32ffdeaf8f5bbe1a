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

std::string Counted(std::int64_t count, const char* one, const char* many) {
  return Format("%lld %s", static_cast<long long>(count), count == 1 ? one : many);
}

void Print(const Output& out, std::string_view text) { out.screen.Write(text); }

void Debug(const Output& out, std::string_view text) {
  if (out.debug) out.screen.Write(text);
}

void LogWrite(const Output& out, std::string_view text) {
  if (out.log) out.log->Write(text);
}

void PrintAndLog(const Output& out, std::string_view text) {
  Print(out, text);
  LogWrite(out, text);
}

void WriteMessage(const Output& out, std::string_view text, Channel channel) {
  switch (channel) {
    case Channel::ToLog:
      LogWrite(out, text);
      break;
    case Channel::ToScreen:
      Print(out, text);
      Print(out, "\n");
      break;
    case Channel::ToBoth:
      LogWrite(out, text);
      Print(out, text);
      Print(out, "\n");
      break;
  }
}

}  // namespace zirka
