// The type pass over schema fields: names, type texts and the conversions
// each field declares.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "validation/context.h"
#include "validation/types.h"
#include "validation_test_support.h"

namespace vorn::validation {
namespace {

using validation_test::contract_of;
using validation_test::Expected;
using validation_test::json_of;

const std::string kPath = "inputs.in.schema.fields.f";

// One input field f of `type`, with conversions written as flow mappings.
std::string field(const std::string& type, const std::string& conversions = "[]",
                  const std::string& name = "f") {
  return "inputs:\n  - id: in\n    schema:\n      fields:\n        - {name: \"" + name + "\", type: \"" +
         type + "\", nullable: false, conversions: " + conversions + "}\n";
}

Expected type_row(const std::string& code, const std::string& message, const std::string& ref,
                  std::optional<std::string> fix) {
  return {code, "validation", "type", message, ref, fix};
}
Expected invalid(const std::string& message, const std::string& ref, const std::string& fix) {
  return type_row("vorn:invalid-type", message, ref, fix);
}
Expected lossy(const std::string& from, const std::string& to, const std::string& ref) {
  return type_row("vorn:invalid-conversion",
                  "conversion from '" + from + "' to '" + to + "' requires lossy: true", ref,
                  "Set lossy: true for non-identical compatible conversions");
}
const std::string kMalformedFix = "Use syntax such as list<string> or map<string,integer>";
const std::string kUnknownFix = "Use a primitive, parameterized composite, or namespaced extension type";

struct TypeCase {
  const char* name;
  std::string body;
  std::vector<Expected> expected;
};

class TypeChecks : public ::testing::TestWithParam<TypeCase> {};

TEST_P(TypeChecks, ReportsExactly) {
  ValidationContext ctx;
  types::validate_types(ctx, contract_of(validation_test::kHeader + GetParam().body));
  EXPECT_EQ(json_of(ctx.diagnostics), json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage3, TypeChecks,
    ::testing::Values(
        TypeCase{"composite_to_primitive",
                 field("map<string, list<integer>>", "[{from: 'map<string,list<integer>>', to: string}]"),
                 {type_row("vorn:type-incompatible",
                           "conversion target type 'string' is incompatible with field type",
                           kPath + ".conversions[0].to", "Align conversion.to with the declared field type"),
                  type_row("vorn:type-incompatible",
                           "conversion from 'map<string,list<integer>>' to 'string' is not type-compatible",
                           kPath + ".conversions[0]", std::nullopt)}},
        TypeCase{"blank_name_hides_the_type",
                 field("strng", "[]", " "),
                 {type_row("vorn:missing-required-field", "schema field name is required", "inputs.in.schema",
                           std::nullopt)}},
        TypeCase{"unknown", field("strng"), {invalid("unknown logical type 'strng'", kPath, kUnknownFix)}},
        TypeCase{"bare_composite",
                 field("list"),
                 {invalid("composite type 'list' must declare type parameters", kPath,
                          "Use parameterized composite types such as list<string>")}},
        TypeCase{"arity",
                 field("map<string>"),
                 {invalid("composite type 'map' requires exactly 2 type parameters, found 1", kPath,
                          "Use list<T>, map<K,V>, object<T...>, or tuple<T...> with correct arity")}},
        TypeCase{"nested",
                 field(" list<strng> "),
                 {invalid("unknown nested type parameter 'strng' in ' list<strng> '", kPath,
                          "Use a valid primitive, composite, or extension type for each parameter")}},
        TypeCase{"unclosed",
                 field(" list< "),
                 {invalid("malformed logical type ' list< ': list<", kPath, kMalformedFix)}},
        TypeCase{
            "lossy_needs_the_flag",
            field("integer", "[{from: integer, to: decimal}, {from: integer, to: decimal, lossy: true}]"),
            {lossy("integer", "decimal", kPath + ".conversions[0]")}},
        TypeCase{"source_must_be_the_field_type",
                 field("integer", "[{from: decimal, to: integer}]"),
                 {type_row("vorn:type-incompatible",
                           "conversion source type 'decimal' must be identical to the declared field type",
                           kPath + ".conversions[0].from",
                           "Set conversion.from to the field's declared logical type"),
                  lossy("decimal", "integer", kPath + ".conversions[0]")}},
        TypeCase{"identical_needs_no_flag", field("integer", "[{from: integer, to: ' integer'}]"), {}},
        TypeCase{
            "bad_source_hides_the_target",
            field("integer", "[{from: 'list<', to: 'map<'}, {from: integer, to: 'map<'}]"),
            {invalid("malformed logical type 'list<': list<", kPath + ".conversions[0].from", kMalformedFix),
             invalid("malformed logical type 'map<': map<", kPath + ".conversions[1].to", kMalformedFix)}},
        TypeCase{"bad_field_type_hides_conversions",
                 field("Integer", "[{from: x, to: y}]"),
                 {invalid("unknown logical type 'Integer'", kPath, kUnknownFix)}},
        TypeCase{"outputs_after_inputs_and_schemaless_skipped",
                 "inputs:\n  - {id: none}\n" + field("x").substr(8) +
                     "outputs:\n  - {id: out, schema: {fields: [{name: g, type: y, nullable: true}]}}\n",
                 {invalid("unknown logical type 'x'", kPath, kUnknownFix),
                  invalid("unknown logical type 'y'", "outputs.out.schema.fields.g", kUnknownFix)}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::validation
