#pragma once
// Lines of the mailers' logs as the end-to-end cases write them, and the Last_Time
// a run left in ZIRKA.CTL.

#include <string>

#include "e2e/harness.h"

namespace zirka::e2e {

// A binkd line that sends `path` at `when` ("07 Dec 14:30:15").
inline std::string BinkdSent(const std::string& when, const std::string& path) {
  return "+ " + when + " [4711] sent: " + path + " (225392, 2204.00 CPS, 2:5020/100@fidonet)\n";
}

// A qico line that sends `name` whole at `when` ("08 Dec 26 12:00:00").
inline std::string QicoSent(const std::string& when, const std::string& name) {
  return when + " binkp[4711]: sent: " + name + ", 1000 bytes, 1000 cps [ok]\n";
}

// The stored Last_Time of FIDO/ZIRKA.CTL (its 14 characters), or "" when there is none.
inline std::string StoredLastTime(const Node& node) {
  const std::string ctl = node.Read("FIDO/ZIRKA.CTL");
  const std::size_t at = ctl.find("Last_Time ");
  return at == std::string::npos ? "" : ctl.substr(at + 10, 14);
}

}  // namespace zirka::e2e
