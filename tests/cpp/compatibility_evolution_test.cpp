// Evolution of one contract between two revisions: identity, reused
// versions, level, changes with lifecycle notices, hints and diagnostics.
#include <gtest/gtest.h>

#include <string>

#include "compatibility/evolution.h"
#include "compatibility_test_support.h"

namespace vorn::compatibility::evolution {
namespace {

using compatibility_test::contract_of;

struct EvolutionCase {
  const char* name;
  std::string older;
  std::string newer;
  std::string expected;  // the whole report
};

void PrintTo(const EvolutionCase& c, std::ostream* os) { *os << c.name; }

class Evolution : public ::testing::TestWithParam<EvolutionCase> {};

TEST_P(Evolution, Report) {
  EXPECT_EQ(analyze_evolution(contract_of(GetParam().older), contract_of(GetParam().newer)).to_json(),
            GetParam().expected);
}

const std::string kSame = R"({"sourceId":"c","targetId":"c","sameIdentity":true,)";
const std::string kConflict =
    R"({"id":"vorn:version-conflict","severity":"warning","stage":"analysis","category":"compatibility",)"
    R"("message":"revisions share version '1.0.0' but differ semantically","objectRef":"version",)"
    R"("remediation":"Use distinct version identifiers for distinct revisions"})";
const std::string kIn = "inputs: [{id: a}]\n";
const std::string kRich = "inputs: [{id: a}]\nlineage: {mappings: [{output: o, inputs: [a]}]}\n"
                          "metadata: {deprecated: true, replacement: r, acme:x: 1, acme:y: [1]}\n"
                          "acme:k: 1\nacme:l: {b: 1}\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, Evolution,
    ::testing::Values(
        EvolutionCase{"SameRevisionTwice", kRich, kRich,
                      kSame + R"("compatibility":"identical","changes":[],"migrationHints":[],"diagnostics":[]})"},
        EvolutionCase{"ExtensionKeysInAnotherOrderAreTheSameRevision", kRich,
                      "acme:l: {b: 1}\nmetadata: {acme:y: [1], replacement: r, acme:x: 1, deprecated: true}\n"
                      "acme:k: 1\nlineage: {mappings: [{output: o, inputs: [a]}]}\ninputs: [{id: a}]\n",
                      kSame + R"("compatibility":"identical","changes":[],"migrationHints":[],"diagnostics":[]})"},
        EvolutionCase{"AnIntegerIsNotAFloat", "acme:k: 1\n", "acme:k: 1.0\n",
                      kSame + R"("compatibility":"identical","changes":[],"migrationHints":[],"diagnostics":[)" +
                          kConflict + "]}"},
        EvolutionCase{"OptionalInputAddedUnderTheSameVersion", "", "inputs: [{id: b, optional: true}]\n",
                      kSame + R"("compatibility":"backwardCompatible","changes":[{"category":"interface",)"
                              R"("message":"input 'b' added in target","objectRef":"inputs.b"}],"migrationHints":)"
                              R"(["Newer revision is backward compatible; downstream consumers may adopt without )"
                              R"(input changes."],"diagnostics":[)" +
                          kConflict +
                          R"(,{"id":"vorn:conditional-compatibility","severity":"warning","stage":"analysis",)"
                          R"("category":"compatibility","message":"input 'b' added in target",)"
                          R"("objectRef":"inputs.b"}]})"},
        EvolutionCase{"DeprecatedWithReplacement", "version: 1.0.0\n",
                      "version: 1.1.0\nvornVersion: 1.0.0-draft\nmetadata: {deprecated: true, replacement: next}\n",
                      kSame + R"("compatibility":"identical","changes":[{"category":"metadata","message":)"
                              R"("contract metadata marks this revision as deprecated",)"
                              R"("objectRef":"metadata.deprecated"},)"
                              R"({"category":"metadata","message":"replacement contract: next","objectRef":)"
                              R"("metadata.replacement"}],"migrationHints":[],"diagnostics":[]})"},
        EvolutionCase{"AlreadyDeprecatedNewReplacement", "metadata: {deprecated: true, replacement: old}\nversion: 1\n",
                      "metadata: {deprecated: true, replacement: next}\nversion: 2\n",
                      kSame + R"("compatibility":"identical","changes":[{"category":"metadata","message":)"
                              R"("replacement contract: next","objectRef":"metadata.replacement"}],)"
                              R"("migrationHints":[],"diagnostics":[]})"},
        EvolutionCase{"OtherContractRequiredInputRemoved", "id: a\n" + kIn, "id: b\nversion: 2.0.0\n",
                      R"({"sourceId":"a","targetId":"b","sameIdentity":false,"compatibility":"incompatible",)"
                      R"("changes":[{"category":"interface","message":"required input 'a' removed in target",)"
                      R"("objectRef":"inputs.a"}],"migrationHints":["Breaking changes detected; update consumers or )"
                      R"(provide a migration path before deployment.","Address interface change: required input 'a' )"
                      R"(removed in target"],"diagnostics":[{"id":"vorn:evolution-breaking-change","severity":"error",)"
                      R"("stage":"analysis","category":"compatibility","message":"contract identity differs ('a' vs )"
                      R"('b'); revisions must share the same id","remediation":"Compare revisions of the same logical )"
                      R"(contract id"},{"id":"vorn:incompatible-contract","severity":"error","stage":"analysis",)"
                      R"("category":"compatibility","message":"required input 'a' removed in target","objectRef":)"
                      R"("inputs.a"},{"id":"vorn:incompatible-contract","severity":"error","stage":"analysis",)"
                      R"("category":"compatibility","message":"contracts are incompatible within the requested )"
                      R"(scope","remediation":"Review breaking changes and align interfaces, types, or )"
                      R"(semantics"}]})"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::compatibility::evolution
