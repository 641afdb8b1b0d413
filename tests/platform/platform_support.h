// Helpers of the platform tests: a temporary directory tree.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/scoped_env.h"

namespace orvane::testing {

// A fresh directory, removed with everything in it at the end.
class TempTree {
 public:
  TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-platform-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
  }
  ~TempTree() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& root() const { return root_; }
  std::string path(const std::string& relative) const { return root_ + "/" + relative; }
  // A file with the given contents; its directories are made as needed.
  std::string file(const std::string& relative, const std::string& contents = "") const {
    std::string p = path(relative);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << contents;
    return p;
  }
  std::string directory(const std::string& relative) const {
    std::string p = path(relative);
    std::filesystem::create_directories(p);
    return p;
  }

 private:
  std::string root_;
};

}  // namespace orvane::testing
