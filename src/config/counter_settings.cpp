#include "config/counter_settings.h"

#include <cstdint>

#include "core/keyword.h"
#include "core/messages.h"
#include "core/text.h"

namespace zirka {

namespace {

constexpr int kDefaultDigits = 3;
constexpr int kMaxDigits = 5;
// Each ignore entry reserves as many characters as a sent file's name and its
// terminator; the debug line shows the room reserved so far.
constexpr unsigned kIgnoreSlot = 13;

// The counter width: an optional sign and the leading digits of the value, as
// atoi reads them; anything not from 1 to 5 gives 3.
int DigitsSetting(const std::string& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
    negative = value[i] == '-';
    ++i;
  }
  std::int64_t number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    number = number * 10 + (value[i] - '0');
    if (number > kMaxDigits) return kDefaultDigits;  // no overflow on long values
  }
  if (negative || number < 1) return kDefaultDigits;
  return static_cast<int>(number);
}

// Sets `target` to the first character of a bracket value and shows it in debug mode.
void ReadBracket(RunContext& ctx, std::string_view keyword, char& target,
                 std::string_view label) {
  const std::string value = FirstKeywordValue(*ctx.mainCtl, keyword);
  if (!value.empty()) target = value.front();
  Debug(ctx, std::string(label).append(1, target).append("\n"));
}

}  // namespace

void ReadCounterSettings(RunContext& ctx) {
  CounterSettings& s = ctx.settings;
  s.dlcDigits = DigitsSetting(FirstKeywordValue(*ctx.mainCtl, "DLC_DIGITS"));
  if (EqualsIgnoreCase(FirstKeywordValue(*ctx.mainCtl, "LOOKUP_CTL"), "YES")) s.lookupCtl = true;
  ReadBracket(ctx, "LEFT_BRACKET", s.leftBracket, "Left bracket  : ");
  ReadBracket(ctx, "RIGHT_BRACKET", s.rightBracket, "Right bracket : ");
  if (EqualsIgnoreCase(FirstKeywordValue(*ctx.mainCtl, "FIRST_ONLY"), "NO")) s.firstOnly = false;
  const std::string lead = FirstKeywordValue(*ctx.mainCtl, "LEAD_CHAR");
  if (!lead.empty()) {
    const bool space = lead.size() >= 5 && EqualsIgnoreCase(lead.substr(0, 5), "SPACE");
    s.leadChar = space ? ' ' : lead.front();
  }
  if (EqualsIgnoreCase(FirstKeywordValue(*ctx.mainCtl, "KEEP_NAME_CASE"), "YES")) {
    s.keepNameCase = true;
    Debug(ctx, "Name case     : kept as the list spells it\n");
  }
  if (EqualsIgnoreCase(FirstKeywordValue(*ctx.mainCtl, "LONG_NAMES"), "YES")) {
    s.longNames = true;
    Debug(ctx, "Long names    : up to 255 characters\n");
  }
}

void ReadIgnoreList(RunContext& ctx) {
  ctx.mainCtl->Rewind();
  // Each IGNORE line below the previous one gives one entry, kept whole, until
  // the first empty value. The debug line is shown for every slot tried, the
  // last one being the empty slot that ends the list.
  for (;;) {
    const auto count = static_cast<unsigned>(ctx.ignoreList.size());
    Debug(ctx, Format("  (%04u, ignore item #%02u)\n", (count + 1) * kIgnoreSlot, count));
    std::string value = LookupKeyword(*ctx.mainCtl, "IGNORE");
    if (value.empty()) break;
    ctx.ignoreList.push_back(ToUpperAscii(value));
  }
}

}  // namespace zirka
