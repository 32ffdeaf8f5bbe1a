#pragma once
// Synthetic T-Mail logs and FILES.BBS lists shaped like a busy node's.

#include <cstddef>
#include <cstdio>
#include <string>

namespace zirka::bench {

// The name of the i-th distinct file of the node: 8.3, upper case.
inline std::string FileName(std::size_t i) {
  std::string digits = std::to_string(i % 100000);
  return "F" + std::string(7 - digits.size(), '0') + digits + ".ZIP";
}

// One session of a log: a dated handshake line or two, and every `sendEvery`-th
// session a sent-file line naming one of `distinct` files. Lines end in CR LF.
inline void AppendLogLines(std::string& log, std::size_t lines, std::size_t distinct,
                           std::size_t sendEvery = 8) {
  static const char* kChatter[] = {
      " Incoming call from 2:5020/1.0@fidonet\r\n",
      " Remote uses T-Mail 2608/Win32, AKA 2:5020/1\r\n",
      " Session with 2:5020/1 completed, 1234 bytes sent\r\n",
      "   Rcvd: 12345 bytes, CPS 3400\r\n",
  };
  for (std::size_t i = 0; i < lines; ++i) {
    const unsigned day = 1 + (i / 40000) % 28;
    const unsigned secs = static_cast<unsigned>(i % 86400);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02u/11 %02u:%02u:%02u", day, secs / 3600,
                  secs / 60 % 60, secs % 60);
    log += stamp;
    if (i % sendEvery == 0) {
      log += " ZS D:\\FILES\\AREA\\" + FileName(i * 7919 % distinct) +
             " 102400 bytes, 3400 cps OK: transferred\r\n";
    } else {
      log += kChatter[i % 4];
    }
  }
}

// A FILES.BBS of `entries` file entries with counters and a continuation line each.
inline std::string MakeList(std::size_t first, std::size_t entries) {
  std::string list;
  for (std::size_t i = 0; i < entries; ++i) {
    list += FileName(first + i) + " [" + std::to_string(i % 1000) +
            "] A useful file with a longer description of what it does\r\n";
    list += "                  | and a continuation line\r\n";
  }
  return list;
}

}  // namespace zirka::bench
