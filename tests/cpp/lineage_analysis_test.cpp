// Lineage analysis: the graph, impact through chains and cycles, one-step
// dependencies, governance, and warnings for names the contract lacks.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "compatibility_test_support.h"
#include "lineage/analysis.h"

namespace vorn::lineage::analysis {
namespace {

struct LineageCase {
  const char* name;
  std::string body;
  std::optional<std::string> impact;
  std::optional<std::string> dependency;
  std::string expected;
};

void PrintTo(const LineageCase& c, std::ostream* os) { *os << c.name; }

class Lineage : public ::testing::TestWithParam<LineageCase> {};

TEST_P(Lineage, Report) {
  const LineageCase& c = GetParam();
  EXPECT_EQ(analyze_with_options(compatibility_test::contract_of(c.body), c.impact, c.dependency).to_json(),
            c.expected);
}

std::string warning(const std::string& message, const std::string& ref) {
  return R"({"id":"vorn:unresolved-reference","severity":"warning","stage":"analysis","category":"reference",)"
         R"("message":")" + message + R"(","objectRef":")" + ref + "\"}";
}

const std::string kChain = "lineage: {mappings: [{output: o1, inputs: [a, b, a]}, {output: o2, inputs: [o1]},"
                           " {output: Z, inputs: [a]}, {output: o2, inputs: [b]}]}\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, Lineage,
    ::testing::Values(
        LineageCase{"NoQueriesNoLineage", "metadata: {governance: {owner: team}}\n", std::nullopt, std::nullopt,
                    R"({"graph":[],"governance":{"owner":"team"}})"},
        LineageCase{"ChainsFollowedOutputsSortedByBytes", kChain + "metadata: {governance: {steward: s}}\n", "a",
                    "o2",
                    R"({"graph":[{"output":"o1","inputs":["a","b","a"]},{"output":"o2","inputs":["o1"]},)"
                    R"({"output":"Z","inputs":["a"]},{"output":"o2","inputs":["b"]}],)"
                    R"("dependency":{"output":"o2","inputs":["o1"]},"impact":{"input":"a","outputs":["Z","o1","o2"]},)"
                    R"("governance":{"steward":"s"}})"},
        LineageCase{"CycleThroughTheQueriedName",
                    "lineage: {mappings: [{output: o1, inputs: [a]}, {output: a, inputs: [o1]}]}\n", "a",
                    std::nullopt,
                    R"({"graph":[{"output":"o1","inputs":["a"]},{"output":"a","inputs":["o1"]}],)"
                    R"("impact":{"input":"a","outputs":["o1"]},"governance":{}})"},
        LineageCase{"DeclaredButUnmappedNamesAreKnown", "inputs: [{id: in}]\noutputs: [{id: out}]\n", "in", "out",
                    R"({"graph":[],"dependency":{"output":"out","inputs":[]},"impact":{"input":"in","outputs":[]},)"
                    R"("governance":{}})"},
        LineageCase{"UnknownNamesWarnImpactFirst", kChain, " a", "",
                    R"({"graph":[{"output":"o1","inputs":["a","b","a"]},{"output":"o2","inputs":["o1"]},)"
                    R"({"output":"Z","inputs":["a"]},{"output":"o2","inputs":["b"]}],)"
                    R"("dependency":{"output":"","inputs":[]},"impact":{"input":" a","outputs":[]},)"
                    R"("governance":{},"diagnostics":[)" +
                        warning("impact query input ' a' was not found in the contract", "inputs. a") + "," +
                        warning("dependency query output '' was not found in the contract", "outputs.") + "]}"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineageImpact, LongChainClosedIntoACycle) {
  model::TransformationContract contract = compatibility_test::contract_of("lineage: {mappings: []}\n");
  for (int i = 0; i <= 20000; ++i)
    contract.lineage->mappings.push_back({"n" + std::to_string((i + 1) % 20001), {"n" + std::to_string(i)}});
  auto report = analyze_with_options(contract, std::string("n0"), std::nullopt);
  EXPECT_EQ(report.impact->outputs.size(), 20000u);
  EXPECT_TRUE(report.diagnostics.empty());
}

}  // namespace
}  // namespace vorn::lineage::analysis
