#include "e2e/damaged_node.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace zirka::e2e {

namespace {

namespace fs = std::filesystem;

std::string Counter(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "[%03d]", value);
  return text;
}

}  // namespace

std::string HealthyCtl(const std::string& extra) {
  return CtlWithLastTime("01/05 00:00:00", extra);
}

std::string CtlWithLastTime(const std::string& lastTime, const std::string& extra) {
  return "; Zirka on a small node\n"
         "LOG D:\\FIDO\\ZIRKA.LOG\n"
         "REPORT D:\\FIDO\\REPORT.TXT\n"
         "KEEP_REPORT No\n"
         "CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"
         "AREA D:\\FILES\\UTIL\n"
         "AREA D:\\FILES\\GAMES\n"
         "AREA D:\\FILES\\NEWS\n" +
         extra + "Last_Time " + lastTime + "  ; Last analisis time\n";
}

std::string HealthyLog() {
  return "30/04 22:00:00 ZS D:\\FILES\\UTIL\\FOO.ZIP OK: 2400 cps\n"
         "02/05 10:00:00 Session with 2:5020/1.0\n"
         "02/05 10:00:05 ZS D:\\FILES\\UTIL\\FOO.ZIP OK: 2400 cps\n"
         "02/05 11:00:05 ZS D:\\FILES\\GAMES\\BAR.ARJ OK: 2400 cps\n"
         "02/05 12:00:05 HS D:\\FILES\\NEWS\\NEWS.TXT OK: 9600 cps\n"
         "02/05 12:30:00 Session end\n";
}

std::string UtilList(int fooCount) {
  return Dos("FOO.ZIP      " + Counter(fooCount) +
             " Foo utility\n"
             "BAZ.ZIP      [003] Baz tool\n");
}

std::string GamesList(int barCount) {
  return Dos("BAR.ARJ      " + Counter(barCount) + " A game\n");
}

std::string NewsList(int newsCount) {
  return Dos("NEWS.TXT     " + Counter(newsCount) + " Weekly news\n");
}

void MakeHealthyNode(const Node& node) {
  node.Write(kHealthyCtl, HealthyCtl());
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
  node.Write(kHealthyLog, HealthyLog());
  node.WriteRaw(kUtilList, UtilList(0));
  node.WriteRaw(kGamesList, GamesList(1));
  node.WriteRaw(kNewsList, NewsList(10));
}

std::string HealthyScreen(int sent, int areas) {
  std::string found = "  Total found:    0";
  for (int i = 1; i <= sent; ++i) found += "\b\b\b\b   " + std::to_string(i);
  std::string progress = "  In process :     ";
  for (int i = 1; i <= areas; ++i) progress += "\b\b\b\b   " + std::to_string(i);
  return "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n"
         "\xFE Reading D:\\FIDO\\ZIRKA.CTL\n"
         "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n"
         "\n"
         "\xF9 Checking D:\\T-MAIL\\T-MAIL.LOG...OK\n"
         "\n"
         "\xFE Scanning log(s) for new sent files\n" +
         found + "\n\xFE Processing " + std::to_string(areas) + " file areas\n" + progress +
         "\n\xFE \"Last_Time\" variable updated\n" + ExitLines(0);
}

std::string ReportOf(const std::vector<std::pair<std::string, int>>& files) {
  std::string text =
      "\n\xFE Zirka 3.8 \xFE Www Mmm DD hh:mm:ss YYYY\n\n  Filename    Times sent\n\n";
  int total = 0;
  for (const auto& [name, times] : files) {
    text += name + std::string(name.size() < 12 ? 12 - name.size() : 0, ' ') + "       " +
            std::to_string(times) + "\n";
    total += times;
  }
  return Dos(text + "\n\xFE Total " + std::to_string(files.size()) + " file(s) were sent " +
             std::to_string(total) + " time(s)");
}

Snapshot TreeSnapshot(const Node& node) {
  Snapshot snapshot;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(node.root(), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string rel = fs::relative(it->path(), node.root()).generic_string();
    snapshot[rel] = ReadWhole(node, rel);
  }
  return snapshot;
}

std::vector<std::string> ChangedFiles(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> changed;
  for (const auto& [file, bytes] : before) {
    const auto it = after.find(file);
    if (it == after.end() || it->second != bytes) changed.push_back(file);
  }
  for (const auto& [file, bytes] : after) {
    if (before.find(file) == before.end()) changed.push_back(file);
  }
  std::sort(changed.begin(), changed.end());
  return changed;
}

std::vector<std::string> Files(std::vector<std::string> paths) {
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::string Garbage(std::size_t count, unsigned seed) {
  std::uint32_t state = seed;
  std::string bytes;
  bytes.reserve(count);
  while (bytes.size() < count) {
    state = state * 1664525u + 1013904223u;
    const char c = static_cast<char>(state >> 24);
    if ((c >= '0' && c <= '9') || c == '\r' || c == '\n' || c == '\x1a') continue;
    bytes.push_back(c);
  }
  return bytes;
}

}  // namespace zirka::e2e
