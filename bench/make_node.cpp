// Writes a big node tree for timing whole runs:
//   zirka_make_node <dir> <log megabytes> <areas> <entries per area>
// The tree: ZIRKA.CTL (areas, program log, report, Last_Time, CTL_PATH),
// T-MAIL.CTL, one log of about the given size, and the areas' FILES.BBS lists.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "bench_data.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: zirka_make_node <dir> <log MiB> <areas> <entries per area>\n";
    return 2;
  }
  const fs::path root = argv[1];
  const std::size_t logMiB = std::strtoul(argv[2], nullptr, 10);
  const std::size_t areas = std::strtoul(argv[3], nullptr, 10);
  const std::size_t entries = std::strtoul(argv[4], nullptr, 10);

  std::string ctl =
      "LOG D:\\FIDO\\ZIRKA.LOG\r\nREPORT D:\\FIDO\\ZIRKA.RPT\r\n"
      "CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\r\nFIRST_ONLY No\r\n"
      "Last_Time 01/10 00:00:00  ; Last analisis time\r\n";
  for (std::size_t a = 0; a < areas; ++a) {
    ctl += "AREA D:\\FILES\\AREA" + std::to_string(a) + "\r\n";
    WriteFile(root / "files" / ("area" + std::to_string(a)) / "files.bbs",
              zirka::bench::MakeList(a * entries, entries));
  }
  WriteFile(root / "fido" / "zirka.ctl", ctl);
  WriteFile(root / "t-mail" / "t-mail.ctl", "LOG t-mail.log\r\n");

  std::ofstream log(root / "t-mail" / "t-mail.log", std::ios::binary);
  std::string chunk;
  std::size_t written = 0;
  const std::size_t target = logMiB << 20;
  const std::size_t distinct = areas * entries > 0 ? areas * entries : 1;
  while (written < target) {
    chunk.clear();
    zirka::bench::AppendLogLines(chunk, 20000, distinct);
    log << chunk;
    written += chunk.size();
  }
  std::cout << "node " << root.string() << ": log " << (written >> 20) << " MiB, " << areas
            << " areas x " << entries << " entries\n";
  return 0;
}
