// Every input the fuzzers once broke (fuzz/regressions/<target>/) and every
// committed seed (fuzz/corpus/<target>/), replayed through the same checks
// the fuzz targets run, so that builds without clang still run them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "../../fuzz/compare_checks.h"
#include "../../fuzz/fuzz_checks.h"
#include "../../fuzz/plan_checks.h"

namespace vorn::fuzz {
namespace {

namespace fs = std::filesystem;

struct Target {
  const char* name;
  std::function<std::string(std::string_view)> check;
};

void PrintTo(const Target& t, std::ostream* os) { *os << t.name; }

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> inputs_in(const char* kind, const std::string& target) {
  fs::path dir = fs::path(VORN_SOURCE_DIR) / "fuzz" / kind / target;
  std::vector<fs::path> files;
  if (fs::is_directory(dir))
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

class FuzzRegressions : public ::testing::TestWithParam<Target> {};

void replay(const char* kind, const Target& target) {
  for (const fs::path& file : inputs_in(kind, target.name)) {
    std::string bytes = read_file(file);
    EXPECT_EQ(target.check(bytes), "") << file;
  }
}

TEST_P(FuzzRegressions, ReplayWithoutFinding) { replay("regressions", GetParam()); }

TEST_P(FuzzRegressions, SeedCorpusReplaysWithoutFinding) {
  ASSERT_FALSE(inputs_in("corpus", GetParam().name).empty());
  replay("corpus", GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FuzzRegressions,
    ::testing::Values(
        Target{"fuzz_contract_yaml", [](std::string_view b) { return check_contract(b, parser::DocumentFormat::Yaml); }},
        Target{"fuzz_contract_json", [](std::string_view b) { return check_contract(b, parser::DocumentFormat::Json); }},
        Target{"fuzz_registry", [](std::string_view b) { return check_registry(b); }},
        Target{"fuzz_expression", [](std::string_view b) { return check_expression(b); }},
        Target{"fuzz_plan", [](std::string_view b) { return check_plan(b); }},
        Target{"fuzz_compare", [](std::string_view b) { return check_compare(b); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::fuzz
