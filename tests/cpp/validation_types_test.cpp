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

using validation_test::Expected;

std::string field(const std::string& name, const std::string& type, const std::string& conversions = "[]") {
  return "{name: \"" + name + "\", type: \"" + type + "\", nullable: false, conversions: " + conversions +
         "},";
}
std::string interface(const std::string& id, const std::string& fields) {
  return "  - {id: " + id + ", schema: {fields: [" + fields + "]}}\n";
}

Expected row(const std::string& code, const std::string& message, const std::string& ref,
             std::optional<std::string> fix) {
  return {code, "validation", "type", message, ref, fix};
}
Expected invalid(const std::string& message, const std::string& ref, const std::string& fix) {
  return row("vorn:invalid-type", message, "inputs.in.schema.fields." + ref, fix);
}
Expected lossy(const std::string& from, const std::string& to, const std::string& ref) {
  return row("vorn:invalid-conversion", "conversion from '" + from + "' to '" + to + "' requires lossy: true",
             "inputs.in.schema.fields." + ref, "Set lossy: true for non-identical compatible conversions");
}
const std::string kMalformed = "Use syntax such as list<string> or map<string,integer>";
const std::string kUnknown = "Use a primitive, parameterized composite, or namespaced extension type";

struct TypeCase {
  const char* name;
  std::string body;
  std::vector<Expected> expected;
};

class TypeChecks : public ::testing::TestWithParam<TypeCase> {};

TEST_P(TypeChecks, ReportsExactly) {
  ValidationContext ctx;
  types::validate_types(ctx, validation_test::contract_of(validation_test::kHeader + GetParam().body));
  EXPECT_EQ(validation_test::json_of(ctx.diagnostics), validation_test::json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage3, TypeChecks,
    ::testing::Values(
        // A blank name hides the type; a bad type hides the conversions;
        // messages quote the text as written; interfaces without schema are
        // skipped and outputs follow inputs.
        TypeCase{
            "type_texts",
            "inputs:\n  - {id: none}\n" +
                interface("in", field(" ", "strng") + field("a", "strng") + field("b", "list") +
                                    field("c", "map<string>") + field("d", " list<strng> ") +
                                    field("e", " list< ") + field("g", "Integer", "[{from: x, to: y}]")) +
                "outputs:\n" + interface("out", field("h", "y")),
            {row("vorn:missing-required-field", "schema field name is required", "inputs.in.schema",
                 std::nullopt),
             invalid("unknown logical type 'strng'", "a", kUnknown),
             invalid("composite type 'list' must declare type parameters", "b",
                     "Use parameterized composite types such as list<string>"),
             invalid("composite type 'map' requires exactly 2 type parameters, found 1", "c",
                     "Use list<T>, map<K,V>, object<T...>, or tuple<T...> with correct arity"),
             invalid("unknown nested type parameter 'strng' in ' list<strng> '", "d",
                     "Use a valid primitive, composite, or extension type for each parameter"),
             invalid("malformed logical type ' list< ': list<", "e", kMalformed),
             invalid("unknown logical type 'Integer'", "g", kUnknown),
             row("vorn:invalid-type", "unknown logical type 'y'", "outputs.out.schema.fields.h", kUnknown)}},
        // Conversions in order; a bad source hides the target; composite
        // parameters compare trimmed.
        TypeCase{
            "conversions",
            "inputs:\n" +
                interface(
                    "in",
                    field("i", "integer",
                          "[{from: integer, to: decimal}, {from: integer, to: decimal, lossy: true},"
                          " {from: decimal, to: integer}, {from: integer, to: ' integer'},"
                          " {from: 'list<', to: 'map<'}, {from: integer, to: 'map<'}]") +
                        field("s", "string", "[{from: string, to: boolean}]") +
                        field("m", "map<string, list<integer>>",
                              "[{from: 'map<string,list<integer>>', to: 'map< string,list<integer>>'}]")),
            {lossy("integer", "decimal", "i.conversions[0]"),
             row("vorn:type-incompatible",
                 "conversion source type 'decimal' must be identical to the declared field type",
                 "inputs.in.schema.fields.i.conversions[2].from",
                 "Set conversion.from to the field's declared logical type"),
             lossy("decimal", "integer", "i.conversions[2]"),
             invalid("malformed logical type 'list<': list<", "i.conversions[4].from", kMalformed),
             invalid("malformed logical type 'map<': map<", "i.conversions[5].to", kMalformed),
             row("vorn:type-incompatible", "conversion target type 'boolean' is incompatible with field type",
                 "inputs.in.schema.fields.s.conversions[0].to",
                 "Align conversion.to with the declared field type"),
             row("vorn:type-incompatible", "conversion from 'string' to 'boolean' is not type-compatible",
                 "inputs.in.schema.fields.s.conversions[0]", std::nullopt)}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::validation
