#include "e2e/busy_node.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace zirka::e2e {

namespace {

namespace fs = std::filesystem;

// "A003": the directory and name prefix of area `index`.
std::string AreaTag(int index) {
  char tag[16];
  std::snprintf(tag, sizeof tag, "A%03d", index);
  return tag;
}

// "A003F012.ZIP": exactly 12 characters, unique over the node.
std::string FileName(int area, int file) {
  char name[32];
  std::snprintf(name, sizeof name, "%sF%03d.ZIP", AreaTag(area).c_str(), file % 1000);
  return name;
}

// A log time `seconds` after 02/05 00:00:00, counting days 02 to 28 of each
// month (never past December for the shapes used here), day first as T-Mail
// writes it.
std::string LogTimeAt(std::int64_t seconds) {
  const std::int64_t days = seconds / 86400;
  const int day = static_cast<int>(2 + days % 27);
  const int month = static_cast<int>(5 + days / 27);
  const int hh = static_cast<int>(seconds / 3600 % 24);
  const int mm = static_cast<int>(seconds / 60 % 60);
  const int ss = static_cast<int>(seconds % 60);
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d %02d:%02d:%02d", day, month, hh, mm, ss);
  return text;
}

// A small fixed-seed generator: the same node on every run and every machine.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed) {}
  int Next(int bound) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(bound));
  }

 private:
  std::uint32_t state_;
};

std::string FileList(int area, const BusyNodeShape& shape) {
  const std::string tag = AreaTag(area);
  const std::string rule = "-----------------------------------------------------------\n";
  std::string text = rule + " Area " + tag + ": files for the point system\n" + rule;
  for (int f = 0; f < shape.filesPerArea; ++f) {
    const std::string name = FileName(area, f);
    switch (f % 4) {
      case 0:
        text += name + " [000] Utility number " + std::to_string(f) + " of " + tag + "\n";
        break;
      case 1:
        text += name + " [" + std::string(f < 10 ? "01" : "0") + std::to_string(f) +
                "] Another useful tool\n                   second line of its description\n";
        break;
      case 2:
        text += name + "  Archive without any counter yet\n";
        break;
      default:
        text += name + "\t[007] Tabbed entry\n\n";
        break;
    }
  }
  return text + "-----------------------------------------------------------\n";
}

// One T-Mail log: a few lines older than the stored Last_Time, then sessions
// with chatter, received files, failed sends and good sends.
std::string TmailLog(int logNumber, const BusyNodeShape& shape) {
  Lcg pick(0x5eed0000u + static_cast<std::uint32_t>(logNumber));
  std::string text = "30/04 23:10:00 ZS D:\\FILES\\" + AreaTag(0) + "\\" + FileName(0, 0) +
                     " OK: 2400 cps (before the stored time)\n";
  for (int s = 0; s < shape.sessions; ++s) {
    std::int64_t at = static_cast<std::int64_t>(s) * 600 + logNumber * 7;
    const std::string node = "2:5020/" + std::to_string(100 + pick.Next(900));
    text += LogTimeAt(at) + " Session with " + node + " (Station " + std::to_string(s) + ")\n";
    text += "                Sysop: Somebody, City, Country\n";
    for (int f = 0; f < shape.fillerLines; ++f) {
      text += LogTimeAt(at + f) + " Transferring mail packet " + std::to_string(f) + "\n";
    }
    at += shape.fillerLines + 1;
    text += LogTimeAt(at) + " ZR C:\\T-MAIL\\INBOUND\\0000FFFE.PKT OK: 9600 cps\n";
    for (int k = 0; k < 3; ++k) {
      // The first send of a session goes round the areas, so that every list has
      // an entry to raise once there are as many sessions as areas.
      const int area = k == 0 ? s % shape.areas : pick.Next(shape.areas);
      const int file = k == 0 ? pick.Next(shape.filesPerArea)
                              : pick.Next(shape.filesPerArea + 2);  // some names are no entries
      std::string path = "D:\\FILES\\" + AreaTag(area) + "\\" + FileName(area, file);
      if (k == 1) {
        for (char& c : path) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      }
      const bool failed = k != 0 && pick.Next(7) == 0;
      text += LogTimeAt(at + 1 + k) + " " + (k == 2 ? "HS" : "ZS") + " " + path +
              (failed ? " ERROR: carrier lost\n" : " OK: 2400 cps\n");
    }
    text += LogTimeAt(at + 5) + " Session end, 3 files\n\n";
  }
  return text;
}

}  // namespace

std::string BusyList(int index) { return "FILES/" + AreaTag(index) + "/FILES.BBS"; }

std::vector<std::string> MakeBusyNode(const Node& node, const BusyNodeShape& shape) {
  std::string ctl = "; Zirka on a busy node\n";
  if (shape.programLog) {
    ctl +=
        "LOG D:\\FIDO\\ZIRKA.LOG\n"
        "REPORT D:\\FIDO\\REPORT.TXT\n";
  }
  ctl +=
      "CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"
      "LOG_PATH D:\\T-MAIL\\OUTBOUND.LOG\n"
      "DLC_DIGITS 3\n";
  std::vector<std::string> files;
  for (int a = 0; a < shape.areas; ++a) {
    ctl += "AREA D:\\FILES\\" + AreaTag(a) + "\n";
    node.Write(BusyList(a), FileList(a, shape));
    files.push_back(BusyList(a));
  }
  ctl += "Last_Time 01/05 00:00:00  ; Last analisis time\n";
  node.Write(kBusyCtl, ctl);
  files.push_back(kBusyCtl);
  node.Write("T-MAIL/T-MAIL.CTL", "; T-Mail's own settings\nLOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", TmailLog(0, shape));
  node.Write("T-MAIL/OUTBOUND.LOG", TmailLog(1, shape));
  return files;
}

std::string ReadWhole(const Node& node, const std::string& file) {
  const fs::path path = node.root() + "/" + file;
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec) return "";
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::ifstream in(path, std::ios::binary);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

Snapshot TakeSnapshot(const Node& node, const std::vector<std::string>& files) {
  Snapshot snapshot;
  for (const std::string& file : files) snapshot[file] = ReadWhole(node, file);
  return snapshot;
}

void Restore(const Node& node, const Snapshot& snapshot) {
  for (const auto& [file, bytes] : snapshot) node.WriteRaw(file, bytes);
}

void ResetBusyNode(const Node& node, const Snapshot& snapshot) {
  Restore(node, snapshot);
  for (const std::string& file : TempFilesLeft(node)) node.Remove(file);
  node.Remove(kBusyJournal);
  node.Remove(kBusyPositions);
  node.Remove("FIDO/ZIRKA.LOG");
  node.Remove("FIDO/REPORT.TXT");
}

std::vector<std::string> TempFilesLeft(const Node& node) {
  std::vector<std::string> left;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(node.root(), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const bool listTemp = name == "FILES.!#$";
    const auto endsWith = [&name](const char* tail) {
      const std::string t(tail);
      return name.size() >= t.size() && name.compare(name.size() - t.size(), t.size(), t) == 0;
    };
    if (listTemp || endsWith(".$#!") || endsWith(".JN$") || endsWith(".PO$")) {
      left.push_back(fs::relative(it->path(), node.root()).generic_string());
    }
  }
  return left;
}

void AppendTicEntry(const Node& node, const std::string& list) {
  node.WriteRaw(list, ReadWhole(node, list) + kTicEntry);
}

int ProcessedAreas(const std::string& screen) {
  const std::string mark = "\xFE Processing ";
  const std::size_t at = screen.find(mark);
  if (at == std::string::npos) return -1;
  return std::atoi(screen.c_str() + at + mark.size());
}

}  // namespace zirka::e2e
