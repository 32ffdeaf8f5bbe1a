#pragma once
// Starting a child process for the end-to-end harness (POSIX: the tests always run
// on the build host, also when the program under test is zirka.exe under Wine).

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zirka::e2e {

struct ChildSpec {
  std::vector<std::string> argv;  // argv[0] is the file to execute (searched in PATH)
  std::vector<std::string> env;   // the whole environment, NAME=value
  std::string cwd;
  std::string stdoutPath;  // standard output and error go to these files
  std::string stderrPath;  // standard input is /dev/null
  std::chrono::milliseconds timeout{60000};
  std::optional<std::chrono::milliseconds> killAfter;
  bool closedStdout = false;  // descriptor 1 closed instead of the file
};

struct ChildEnd {
  int exitCode = -1;  // 128 + signal when a signal ended it
  bool signaled = false;
};

// Runs the child to its end (or kills it with SIGKILL at killAfter or timeout).
// A child that cannot be started ends with exit code 127.
ChildEnd RunChild(const ChildSpec& child);

// The environment of this process, NAME=value.
std::vector<std::string> CurrentEnvironment();

}  // namespace zirka::e2e
