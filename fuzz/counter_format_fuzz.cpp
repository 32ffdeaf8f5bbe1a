// FormatCounterLine over arbitrary file entries and settings.
//
// Input: an 8-byte header, then the entry text.
//   byte 0: dlcDigits (1 + byte % 5)     byte 1: left bracket     byte 2: right bracket
//   byte 3: lead character               bytes 4-6: times (1 + value % 1,000,000)
//   byte 7: bit 0 ends the entry in LF, bit 1 turns debug mode on
// The entry is the text with its line feeds taken out, cut to 399 characters with
// its LF: a first word of 1 to 12 characters (a blank is put in after 12, "X" in front
// of an empty one), then the rest. The sent file is the first word in upper case.
// No bracket or lead character is LF, which no control-file value can give.
//
// The properties are those of CheckCounterLine; in debug mode the old counter text
// is also shown on the screen with every byte kept.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "counter_check.h"
#include "filelist/counter_format.h"
#include "filelist/files_bbs.h"
#include "fuzz_support.h"
#include "platform/console.h"
#include "core/text.h"
#include "support/capture_screen.h"

namespace {

using namespace zirka;
using namespace zirka::fuzz;

constexpr std::size_t kHeader = 8;

char SettingChar(std::uint8_t byte) { return byte == '\n' ? ' ' : static_cast<char>(byte); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeader) return 0;
  CounterSettings settings;
  settings.dlcDigits = 1 + data[0] % 5;
  settings.leftBracket = SettingChar(data[1]);
  settings.rightBracket = SettingChar(data[2]);
  settings.leadChar = SettingChar(data[3]);
  const std::uint32_t raw = data[4] | (data[5] << 8) | (data[6] << 16);
  const std::int64_t times = 1 + raw % 1000000;
  const bool endsInLf = data[7] & 1;

  std::string entry;
  for (const char c : AsText(data + kHeader, size - kHeader)) {
    if (c != '\n') entry.push_back(c);
  }
  std::size_t nameEnd = entry.find_first_of(" \t");
  if (nameEnd == 0) {
    entry.insert(0, "X");
    nameEnd = 1;
  } else if (nameEnd == std::string::npos) {
    nameEnd = entry.size();
    if (nameEnd == 0) {
      entry = "X";
      nameEnd = 1;
    }
  }
  if (nameEnd > 12) {
    entry.insert(12, " ");
    nameEnd = 12;
  }
  if (entry.size() > kListPiece - (endsInLf ? 1 : 0)) entry.resize(kListPiece - (endsInLf ? 1 : 0));
  if (endsInLf) entry.push_back('\n');

  SentFile sent;
  sent.name = UpperAscii(std::string_view(entry).substr(0, nameEnd));
  sent.times = times;

  platform::CaptureScreen screen;
  RunContext ctx(screen);
  ctx.settings = settings;
  ctx.debug = (data[7] & 2) != 0;

  const std::string result = FormatCounterLine(ctx.settings, entry, nameEnd, sent, ctx.out());
  CheckCounterLine(settings, entry, sent, result);

  std::size_t left = 0;
  std::size_t right = 0;
  if (ctx.debug && FindCounterField(settings, entry, left, right)) {
    const std::string source = "  Source : " + entry.substr(left + 1, right - left - 1) + "\n";
    ZIRKA_FUZZ_CHECK(screen.text.find(source) != std::string::npos);
  }
  return 0;
}
