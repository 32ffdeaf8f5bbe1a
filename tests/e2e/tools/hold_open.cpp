// zirka_hold_open: holds a file open the way another program on a node would
// (the mailer serving a list, a BBS editing it, a second run writing its
// temporary file) until told to let go. A helper of the end-to-end cases.
//
//   zirka_hold_open <mode> <file> <ready-marker> <stop-marker> [seconds]
//
// mode: read-deny-write   opened for reading, others may not write
//       write-deny-write  opened for writing (not emptied), others may not write
//       deny-all          opened for writing (created when missing), others may
//                         do nothing
// Windows: _fsopen with _SH_DENYWR or _SH_DENYRW. POSIX: flock, as the program's
// own share modes: a shared lock for reading, an exclusive one otherwise.
//
// Once the file is open, the ready marker is created; the file is held until the
// stop marker exists or the seconds (default 60) have passed.
// Exit: 0 released by the marker, 2 bad arguments, 3 the file could not be
// opened, 4 released because the time ran out.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#if defined(_WIN32)
#include <share.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

// The open file, released when the program ends.
#if defined(_WIN32)
bool Hold(const std::string& mode, const std::string& file) {
  FILE* f = nullptr;
  if (mode == "read-deny-write") {
    f = _fsopen(file.c_str(), "rb", _SH_DENYWR);
  } else if (mode == "write-deny-write") {
    f = _fsopen(file.c_str(), "r+b", _SH_DENYWR);
  } else if (mode == "deny-all") {
    f = _fsopen(file.c_str(), "a+b", _SH_DENYRW);
  }
  return f != nullptr;  // left open until the process ends
}
#else
bool Hold(const std::string& mode, const std::string& file) {
  int fd = -1;
  int lock = LOCK_EX;
  if (mode == "read-deny-write") {
    fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    lock = LOCK_SH;
  } else if (mode == "write-deny-write") {
    fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
  } else if (mode == "deny-all") {
    fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  }
  return fd >= 0 && ::flock(fd, lock | LOCK_NB) == 0;  // left open until the process ends
}
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5 || argc > 6) {
    std::fprintf(stderr, "usage: %s <mode> <file> <ready-marker> <stop-marker> [seconds]\n",
                 argc > 0 ? argv[0] : "zirka_hold_open");
    return 2;
  }
  const std::string mode = argv[1];
  const std::string file = argv[2];
  const std::string ready = argv[3];
  const std::string stop = argv[4];
  const int seconds = argc == 6 ? std::stoi(argv[5]) : 60;
  if (!Hold(mode, file)) {
    std::fprintf(stderr, "cannot hold %s as %s\n", file.c_str(), mode.c_str());
    return 3;
  }
  { std::ofstream marker(ready); }
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < until) {
    if (std::filesystem::exists(stop)) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 4;
}
