#include "logscan/report.h"

#include <cstdint>
#include <string>

#include "platform/system.h"
#include "core/messages.h"
#include "core/text.h"

namespace zirka {

namespace {

constexpr std::size_t kNameColumns = 12;

}  // namespace

void WriteReport(platform::TextFile* report, const SentTable& sentTable, std::time_t startTime) {
  if (!report || sentTable.empty()) return;
  std::string block = "\n\xFE Zirka 3.8 \xFE " + platform::CalendarText(startTime) + "\n";
  block += "  Filename    Times sent\n\n";
  std::uint64_t total = 0;
  for (const SentFile& file : sentTable.records()) {
    // The name is written whole, padded to 12 columns when it is shorter.
    AppendPadded(block, file.name, kNameColumns);
    block += "       " + std::to_string(file.times) + "\n";
    total += static_cast<std::uint64_t>(file.times);
  }
  // The last line has no line feed: the next run's block begins with one.
  block += "\n\xFE Total " + std::to_string(sentTable.size()) + " file(s) were sent " +
           std::to_string(total) + " time(s)";
  report->Write(block);
}

}  // namespace zirka
