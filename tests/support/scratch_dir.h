#pragma once
// A scratch directory on the real disk for the tests that read and write files:
// fresh for each test, removed when the test ends.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/scoped_env.h"

namespace zirka::testing {

// A fresh directory under the system's temporary directory, named after the
// running test, its path canonical. The drive-letter variables and WINEPREFIX
// are cleared while it exists, so that the machine's own Wine set-up can't leak
// into a test.
class ScratchDir {
 public:
  ScratchDir() {
    std::string name = "zirka";
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
      name += std::string("-") + info->test_suite_name() + "-" + info->name();
    }
    for (char& c : name) {
      if (c == '/') c = '_';  // parameterised tests are named "Name/0"
    }
    std::random_device random;
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / (name + "-" + std::to_string(random()));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    path_ = std::filesystem::canonical(path);
    env_.emplace_back(new ScopedEnv("WINEPREFIX", (path_ / "no-wine").string()));
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      env_.emplace_back(new ScopedEnv(std::string("ZIRKA_DRIVE_") + letter, std::nullopt));
    }
  }
  ~ScratchDir() {
    while (!env_.empty()) env_.pop_back();  // last set, first put back
    std::error_code ignored;
    if (home_) std::filesystem::current_path(*home_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The host path of `relative` inside the directory ("": the directory itself).
  std::string Path(const std::string& relative = "") const {
    return relative.empty() ? path_.string() : (path_ / relative).string();
  }
  // Writes `bytes` as they are into a file, its directories created.
  void Put(const std::string& relative, const std::string& bytes = "") const {
    std::filesystem::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary) << bytes;
  }
  void MakeDir(const std::string& relative) const {
    std::filesystem::create_directories(path_ / relative);
  }
  // The bytes of a file ("" when it is missing).
  std::string Slurp(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(const std::string& relative) const {
    return std::filesystem::exists(path_ / relative);
  }

  // Maps drive D: to the directory.
  void MapDriveD() { env_.emplace_back(new ScopedEnv("ZIRKA_DRIVE_D", Path())); }
  // Makes the directory the current one until the test ends, so that relative
  // paths name files in it.
  void MakeCurrent() {
    if (!home_) home_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }

 private:
  std::filesystem::path path_;
  std::optional<std::filesystem::path> home_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
};

}  // namespace zirka::testing
