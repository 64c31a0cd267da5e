// The structural pass: required lists, ids per collection and across
// inputs and outputs, schemas and their field names, and the ambiguity
// warnings, whose order must not depend on how the names were declared.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "validation/context.h"
#include "validation/structural.h"
#include "validation_test_support.h"

namespace vorn::validation {
namespace {

using validation_test::Expected;
using Names = std::vector<std::string>;

std::string iface(const std::string& id, const Names& names) {
  std::string fields;
  for (const std::string& n : names) fields += "{name: \"" + n + "\", type: integer, nullable: false},";
  return "  - {id: \"" + id + "\", schema: {fields: [" + fields + "]}}\n";
}
const std::string kRule = "  - &r {id: r, rule: vorn:not_null, target: x, phase: precondition}\n";
const std::string kPair = "inputs:\n" + iface("in", {"x"}) + "outputs:\n" + iface("out", {"y"});

Expected row(const std::string& code, const std::string& message, const std::string& ref,
             const std::string& fix) {
  return {code, "validation", "structure", message, ref, fix};
}
Expected duplicate_id(const std::string& collection, const std::string& id) {
  return row("vorn:duplicate-identifier", "duplicate identifier '" + id + "' in " + collection,
             collection + "." + id, "Use unique identifiers within each collection");
}
Expected blank_id(const std::string& id) {
  return row("vorn:missing-required-field", "inputs entry is missing a non-empty id", "inputs." + id,
             "Provide a stable identifier for every object");
}
Expected shared_id(const std::string& id) {
  return row("vorn:duplicate-identifier", "duplicate interface identifier '" + id + "'",
             "outputs." + id + ".id", "Use unique identifiers across inputs and outputs");
}
Expected duplicate_field(const std::string& name) {
  return row("vorn:duplicate-identifier", "duplicate schema field '" + name + "'",
             "inputs.in.schema.fields." + name, "Use unique field names within each schema");
}
Expected ambiguous(const std::string& name) {
  std::string message = "field name '" + name + "' is declared in multiple interfaces; ";
  Expected e = row("vorn:ambiguous-reference", message + "use qualified targets such as interface." + name,
                   name, "Qualify field references with the interface identifier");
  e.severity = "warning";
  return e;
}
const std::vector<Expected> kSorted = {ambiguous("B"), ambiguous("m"), ambiguous("z"), ambiguous("é")};

struct StructuralCase {
  const char* name;
  std::string body;
  std::vector<Expected> expected;
};

class StructuralChecks : public ::testing::TestWithParam<StructuralCase> {};

TEST_P(StructuralChecks, ReportsExactly) {
  ValidationContext ctx;
  structural::validate_structural(ctx,
                                  validation_test::contract_of(validation_test::kHeader + GetParam().body));
  EXPECT_EQ(validation_test::json_of(ctx.diagnostics), validation_test::json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage2, StructuralChecks,
    ::testing::Values(
        StructuralCase{"valid", kPair, {}},
        StructuralCase{"no_interfaces",
                       "",
                       {row("vorn:missing-required-field", "at least one input is required", "inputs",
                            "Declare every logical dataset consumed by the transformation"),
                        row("vorn:missing-required-field", "at least one output is required", "outputs",
                            "Declare every logical dataset produced by the transformation")}},
        // Blank ids are neither stored nor duplicates; ids compare untrimmed
        // and per collection; every repeat is reported.
        StructuralCase{
            "ids",
            "inputs:\n" + iface("  ", {"x"}) + iface("\\u3000", {"y"}) + iface("r", {"z"}) + "outputs:\n" +
                iface("out", {"w"}) + "expressions:\n  - {id: e}\n  - {id: 'e '}\n" + "rules:\n" + kRule +
                "  - *r\n  - *r\n",
            {blank_id("  "), blank_id("\u3000"), duplicate_id("rules", "r"), duplicate_id("rules", "r")}},
        // One report per input whose id an output uses, however many do.
        StructuralCase{
            "interfaces",
            "inputs:\n" + iface("a", {"x"}) + "  - {id: a}\n  - {id: c, schema: {fields: []}}\n" +
                iface("b", {"y"}) + "outputs:\n" + iface("a", {"x"}) + iface("a", {"y"}),
            {duplicate_id("inputs", "a"), duplicate_id("outputs", "a"), shared_id("a"), shared_id("a"),
             row("vorn:missing-required-field", "schema with at least one field is required",
                 "inputs.a.schema", "Declare a schema with one or more typed fields for each interface"),
             row("vorn:missing-required-field", "schema must declare at least one field", "inputs.c.schema",
                 "Add one or more fields to the interface schema"),
             ambiguous("y")}},
        // A name repeated within one schema counts once for the warning.
        StructuralCase{
            "field_names",
            "inputs:\n" + iface("in", {"id", "", "id", " ", "n", "n"}) + "outputs:\n" + iface("o", {"n"}),
            {duplicate_field("id"),
             row("vorn:duplicate-identifier", "duplicate empty schema field name", "inputs.in.schema",
                 "Use unique non-empty field names within each schema"),
             duplicate_field("n"), ambiguous("n")}},
        // Byte order (capitals first, multi-byte text last), whatever the
        // order of declaration.
        StructuralCase{
            "sorted",
            "inputs:\n" + iface("a", {"z", "é", "B", "m"}) + "outputs:\n" + iface("b", {"m", "B", "é", "z"}),
            kSorted},
        StructuralCase{
            "sorted_again",
            "inputs:\n" + iface("a", {"é", "m", "z", "B"}) + "outputs:\n" + iface("b", {"B", "z", "m", "é"}),
            kSorted}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::validation
