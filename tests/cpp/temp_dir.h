#pragma once
// A fixture with a private scratch folder for tests that read files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace vorn::testing {

class TempDirTest : public ::testing::Test {
 protected:
  std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
                               ("vorn_test_" + std::to_string(::getpid()) + "_" +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  // Writes `content` to a file of that name in the folder; returns its path.
  std::string write(const std::string& name, const std::string& content) {
    auto p = dir_ / name;
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }
};

}  // namespace vorn::testing
