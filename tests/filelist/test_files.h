#pragma once
// Test support for the area and file-list tests: a run context on a captured
// screen with an in-memory program log, and a scratch directory on the disk.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/console.h"
#include "platform/text_file.h"
#include "core/context.h"
#include "support/memory_file.h"
#include "support/capture_screen.h"

namespace zirka::testing {

namespace fs = std::filesystem;

// A scratch directory named after the running test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() /
            ("zirka-lists-" + std::string(info->test_suite_name()) + "-" + info->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The host path of `name` inside the directory.
  std::string Path(const std::string& name = "") const {
    return name.empty() ? path_.string() : (path_ / name).string();
  }
  void Put(const std::string& name, const std::string& bytes) const {
    fs::create_directories((path_ / name).parent_path());
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }
  std::string Slurp(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(const std::string& name) const { return fs::exists(path_ / name); }

 private:
  fs::path path_;
};

// A run context whose screen and program log can be read back.
class CapturedRun {
 public:
  CapturedRun() : ctx(screen) {}

  void OpenLog() { ctx.programLog = platform::MakeMemoryText(log_, "LOG"); }
  // What the program log holds so far, CR LF as written.
  std::string Log() {
    if (ctx.programLog) ctx.programLog->Flush();
    return *log_;
  }
  // A memory stream holding `text` for ZIRKA.CTL or T-MAIL.CTL.
  static std::unique_ptr<platform::TextFile> Text(const std::string& text) {
    return platform::MakeMemoryText(std::make_shared<std::string>(text));
  }

  platform::CaptureScreen screen;
  RunContext ctx;

 private:
  std::shared_ptr<std::string> log_ = std::make_shared<std::string>();
};

// `text` with every LF written as CR LF, as a text stream writes it.
inline std::string Dos(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

}  // namespace zirka::testing
