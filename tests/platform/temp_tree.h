#pragma once
// Test fixtures for the platform layer: a scratch directory on the real disk and
// environment variables that are put back when the test ends.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/scoped_env.h"

namespace zirka::platform::testing {

namespace fs = std::filesystem;
using zirka::testing::ScopedEnv;


// A fresh directory under the system's temporary directory, removed afterwards.
// The drive-letter variables and WINEPREFIX are cleared while it exists, so that
// the machine's own Wine set-up can't leak into a test.
class TempTree : public ::testing::Test {
 protected:
  TempTree() {
    std::random_device random;
    root_ = fs::temp_directory_path() /
            ("zirka-platform-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(root_);
    root_ = fs::canonical(root_);
    env_.emplace_back(new ScopedEnv("WINEPREFIX", (root_ / "no-wine").string()));
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      env_.emplace_back(new ScopedEnv(std::string("ZIRKA_DRIVE_") + letter, std::nullopt));
    }
  }
  ~TempTree() override {
    while (!env_.empty()) env_.pop_back();  // last set, first put back
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  std::string Root() const { return root_.string(); }
  std::string At(const std::string& relative) const { return (root_ / relative).string(); }

  void MakeDir(const std::string& relative) const { fs::create_directories(root_ / relative); }

  void MakeFile(const std::string& relative, const std::string& bytes = "") const {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary) << bytes;
  }

  std::string Contents(const std::string& relative) const {
    std::ifstream in(root_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Maps drive D: to the scratch directory.
  void MapDriveD() { env_.emplace_back(new ScopedEnv("ZIRKA_DRIVE_D", Root())); }

 private:
  fs::path root_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
};

}  // namespace zirka::platform::testing
