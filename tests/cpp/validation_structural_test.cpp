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

using validation_test::contract_of;
using validation_test::Expected;
using validation_test::json_of;

std::string iface(const std::string& id, const std::vector<std::string>& names) {
  std::string fields;
  for (const std::string& n : names)
    fields += (fields.empty() ? "{name: \"" : ", {name: \"") + n + "\", type: integer, nullable: false}";
  return "  - {id: \"" + id + "\", schema: {fields: [" + fields + "]}}\n";
}
std::string no_schema(const std::string& id) { return "  - {id: \"" + id + "\"}\n"; }
std::string object(const std::string& id, const std::string& rest) {
  return "  - {id: \"" + id + "\", " + rest + "}\n";
}
std::string rule(const std::string& id) {
  return object(id, "rule: vorn:not_null, target: in.x, phase: precondition");
}
const std::string kOutput = "outputs:\n" + iface("out", {"y"});
const std::string kInput = "inputs:\n" + iface("in", {"x"});

Expected row(const std::string& code, const std::string& message, const std::string& ref,
             const std::string& fix) {
  return {code, "validation", "structure", message, ref, fix};
}
Expected blank_id(const std::string& coll, const std::string& id) {
  return row("vorn:missing-required-field", coll + " entry is missing a non-empty id", coll + "." + id,
             "Provide a stable identifier for every object");
}
Expected duplicate_id(const std::string& coll, const std::string& id) {
  return row("vorn:duplicate-identifier", "duplicate identifier '" + id + "' in " + coll, coll + "." + id,
             "Use unique identifiers within each collection");
}
Expected shared_id(const std::string& id) {
  return row("vorn:duplicate-identifier", "duplicate interface identifier '" + id + "'",
             "outputs." + id + ".id", "Use unique identifiers across inputs and outputs");
}
Expected no_schema_at(const std::string& path) {
  return row("vorn:missing-required-field", "schema with at least one field is required", path,
             "Declare a schema with one or more typed fields for each interface");
}
Expected duplicate_field(const std::string& path, const std::string& name) {
  return row("vorn:duplicate-identifier", "duplicate schema field '" + name + "'", path + ".fields." + name,
             "Use unique field names within each schema");
}
Expected ambiguous(const std::string& name) {
  std::string message = "field name '" + name + "' is declared in multiple interfaces; ";
  Expected e = row("vorn:ambiguous-reference", message + "use qualified targets such as interface." + name, name,
                   "Qualify field references with the interface identifier");
  e.severity = "warning";
  return e;
}

struct StructuralCase {
  const char* name;
  std::string body;
  std::vector<Expected> expected;
};

class StructuralChecks : public ::testing::TestWithParam<StructuralCase> {};

TEST_P(StructuralChecks, ReportsExactly) {
  ValidationContext ctx;
  structural::validate_structural(ctx, contract_of(validation_test::kHeader + GetParam().body));
  EXPECT_EQ(json_of(ctx.diagnostics), json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage2, StructuralChecks,
    ::testing::Values(
        StructuralCase{"valid", kInput + kOutput, {}},
        StructuralCase{"no_interfaces",
                       "",
                       {row("vorn:missing-required-field", "at least one input is required", "inputs",
                            "Declare every logical dataset consumed by the transformation"),
                        row("vorn:missing-required-field", "at least one output is required", "outputs",
                            "Declare every logical dataset produced by the transformation")}},
        StructuralCase{"every_repeat_is_reported",
                       kInput + kOutput + "rules:\n" + rule("r1") + rule("r1") + rule("r1"),
                       {duplicate_id("rules", "r1"), duplicate_id("rules", "r1")}},
        StructuralCase{"blank_ids_are_not_duplicates",
                       "inputs:\n" + iface("  ", {"x"}) + iface("\\u3000", {"z"}) + kOutput,
                       {blank_id("inputs", "  "), blank_id("inputs", "\u3000")}},
        StructuralCase{
            "ids_compare_untrimmed",
            kInput + kOutput + "expressions:\n" + object("e", "expr: '1'") + object("e ", "expr: '1'"),
            {}},
        StructuralCase{"each_collection_has_its_own_ids",
                       kInput + kOutput + "semanticActions:\n" +
                           object("in", "action: vorn:trim, target: in.x") + "functions:\n" +
                           object("in", "function: vorn:trim") + "rules:\n" + rule("in"),
                       {}},
        StructuralCase{"input_id_used_by_outputs",
                       "inputs:\n" + iface("orders", {"x"}) + "outputs:\n" + iface("orders", {"y"}) +
                           iface("orders", {"z"}),
                       {duplicate_id("outputs", "orders"), shared_id("orders")}},
        StructuralCase{"schemas",
                       "inputs:\n" + no_schema("a") + "  - {id: b, schema: {fields: []}}\n" + kOutput,
                       {no_schema_at("inputs.a.schema"),
                        row("vorn:missing-required-field", "schema must declare at least one field",
                            "inputs.b.schema", "Add one or more fields to the interface schema")}},
        StructuralCase{"field_names",
                       "inputs:\n" + iface("in", {"id", "", "id", " "}) + kOutput,
                       {duplicate_field("inputs.in.schema", "id"),
                        row("vorn:duplicate-identifier", "duplicate empty schema field name",
                            "inputs.in.schema", "Use unique non-empty field names within each schema")}},
        StructuralCase{"repeat_within_one_schema_is_not_ambiguous",
                       "inputs:\n" + iface("a", {"amount", "amount"}) + iface("b", {"amount"}) + kOutput,
                       {duplicate_field("inputs.a.schema", "amount"), ambiguous("amount")}},
        StructuralCase{"interfaces_sharing_an_id_declare_a_name_once",
                       "inputs:\n" + iface("a", {"x"}) + no_schema("a") + "outputs:\n" + iface("a", {"x"}) +
                           iface("b", {"y"}) + iface("c", {"y"}),
                       {duplicate_id("inputs", "a"), shared_id("a"), shared_id("a"),
                        no_schema_at("inputs.a.schema"), ambiguous("y")}},
        // Byte order: capitals before small letters, multi-byte text last.
        StructuralCase{
            "warnings_sorted_by_name",
            "inputs:\n" + iface("a", {"z", "é", "B", "m"}) + "outputs:\n" + iface("b", {"m", "B", "é", "z"}),
            {ambiguous("B"), ambiguous("m"), ambiguous("z"), ambiguous("é")}},
        StructuralCase{
            "warnings_sorted_whatever_the_declaration_order",
            "inputs:\n" + iface("a", {"é", "m", "z", "B"}) + "outputs:\n" + iface("b", {"B", "z", "m", "é"}),
            {ambiguous("B"), ambiguous("m"), ambiguous("z"), ambiguous("é")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::validation
