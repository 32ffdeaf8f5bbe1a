#pragma once
// A file held open by another program for as long as a case needs: the helper
// zirka_hold_open natively (the flock the program's own share modes use), or
// zirka_hold_open_win.exe under Wine (a Windows share mode, _fsopen).
//
//   Holder holder(node, "read-deny-write", "FILES/GAMES/FILES.BBS");
//   ASSERT_TRUE(holder.holding());
//   ... run the program ...
//   EXPECT_EQ(holder.Release(), 0);

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/harness.h"
#include "e2e/process.h"

#ifndef ZIRKA_E2E_HOLD_OPEN
#define ZIRKA_E2E_HOLD_OPEN ""
#endif
#ifndef ZIRKA_E2E_HOLD_OPEN_EXE
#define ZIRKA_E2E_HOLD_OPEN_EXE ""
#endif

namespace zirka::e2e {

// The helper of this platform: zirka_hold_open, or zirka_hold_open_win.exe under Wine.
inline std::string HelperProgram() {
  return UnderWine() ? ZIRKA_E2E_HOLD_OPEN_EXE : ZIRKA_E2E_HOLD_OPEN;
}

// A host path as the helper names it: unchanged natively, through Wine's drive Z:
// (the host's root) under Wine, so that it does not depend on the D: link.
inline std::string HelperPath(const std::filesystem::path& host) {
  if (!UnderWine()) return host.string();
  std::string path = "Z:" + host.string();
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Runs zirka_hold_open on one file of a node until Release.
class Holder {
 public:
  // mode: "read-deny-write", "write-deny-write" or "deny-all" (see hold_open.cpp).
  Holder(const Node& node, const std::string& mode, const std::string& rel) {
    // Outside drive D:.
    const std::filesystem::path base = std::filesystem::path(node.root()).parent_path();
    ready_ = base / "hold.ready";
    stop_ = base / "hold.stop";
    std::filesystem::remove(ready_);
    std::filesystem::remove(stop_);
    ChildSpec child;
    child.argv = LauncherCommand();
    child.argv.push_back(HelperProgram());
    for (const std::string& arg : {mode, HelperPath(std::filesystem::path(node.root()) / rel),
                                   HelperPath(ready_), HelperPath(stop_), std::string("120")}) {
      child.argv.push_back(arg);
    }
    for (const std::string& entry : CurrentEnvironment()) {
      if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WINEPREFIX=", 0) == 0) continue;
      child.env.push_back(entry);
    }
    if (UnderWine()) {
      child.env.push_back("WINEPREFIX=" + WinePrefixDir());
      child.env.push_back("WINEDEBUG=-all");
    }
    child.cwd = node.root();
    child.stdoutPath = (base / "hold.out").string();
    child.stderrPath = (base / "hold.err").string();
    child.timeout = std::chrono::seconds(180);
    thread_ = std::thread([this, child] {
      exitCode_ = RunChild(child).exitCode;
      done_ = true;
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(ready_) && !done_ && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~Holder() { Release(); }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

  // True while the helper holds the file.
  bool holding() const { return std::filesystem::exists(ready_) && !done_; }

  // Lets the file go; the helper's exit code (0 when it held the file to the end).
  int Release() {
    if (thread_.joinable()) {
      { std::ofstream marker(stop_); }
      thread_.join();
    }
    return exitCode_;
  }

 private:
  std::filesystem::path ready_, stop_;
  std::thread thread_;
  std::atomic<bool> done_{false};
  std::atomic<int> exitCode_{-1};
};

}  // namespace zirka::e2e
