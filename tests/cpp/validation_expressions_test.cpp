// The function and expression declarations: return and parameter types,
// parameter names and order, and expression bodies parsed and typed against
// the contract and the registry, then compared with the declared type.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/default_registry.h"
#include "validation/context.h"
#include "validation/expressions.h"
#include "validation_test_support.h"

namespace vorn::validation {
namespace {

using validation_test::contract_of;
using validation_test::Expected;
using validation_test::json_of;

const std::string kInput =
    "inputs:\n  - id: in\n    schema:\n      fields:\n        - {name: i, type: integer, nullable: false}\n"
    "        - {name: d, type: decimal, nullable: false}\n        - {name: n, type: integer, nullable: "
    "true}\n";

std::string expression(const std::string& id, const std::string& rest) {
  return kInput + "expressions:\n  - {id: " + id + ", " + rest + "}\n";
}

Expected type_row(const std::string& code, const std::string& message, const std::string& ref,
                  const std::string& fix) {
  return {code, "validation", "type", message, ref, fix};
}
Expected invalid_type(const std::string& message, const std::string& ref) {
  return type_row("vorn:invalid-type", message, ref, "Use a valid VORN logical type declaration");
}
Expected mismatch(const std::string& declared, const std::string& inferred) {
  return type_row("vorn:invalid-type",
                  "expression type '" + declared + "' does not match inferred type '" + inferred + "'",
                  "expressions.e.type", "Align the declared type with the expression semantics");
}
Expected parameter_row(const std::string& code, const std::string& message, int index,
                       const std::string& fix) {
  return type_row(code, message, "functions.f.parameters[" + std::to_string(index) + "].name", fix);
}

struct ExpressionCase {
  const char* name;
  std::string body;
  std::vector<Expected> expected;
};

class ExpressionChecks : public ::testing::TestWithParam<ExpressionCase> {};

TEST_P(ExpressionChecks, ReportsExactly) {
  ValidationContext ctx;
  expressions::validate_expressions(ctx, contract_of(validation_test::kHeader + GetParam().body),
                                    registry::default_registry());
  EXPECT_EQ(json_of(ctx.diagnostics), json_of(GetParam().expected));
}

const std::string kRequiredAfterOptional = "Declare optional parameters as a trailing suffix";

INSTANTIATE_TEST_SUITE_P(
    Stage3, ExpressionChecks,
    ::testing::Values(
        ExpressionCase{"parameters",
                       "functions:\n  - id: f\n    function: vendor:f\n    parameters:\n"
                       "      - {name: a, type: integer}\n      - {name: b, type: integer, optional: true}\n"
                       "      - {name: a, type: integer}\n      - {name: c, type: integer}\n",
                       {type_row("vorn:missing-required-field", "function return type is required",
                                 "functions.f.type", "Declare the logical return type of the function"),
                        parameter_row("vorn:duplicate-identifier", "function parameter 'a' is duplicated", 2,
                                      "Use unique parameter names within a function declaration"),
                        parameter_row("vorn:invalid-function",
                                      "required parameter 'a' must appear before optional parameters", 2,
                                      kRequiredAfterOptional),
                        parameter_row("vorn:invalid-function",
                                      "required parameter 'c' must appear before optional parameters", 3,
                                      kRequiredAfterOptional)}},
        ExpressionCase{
            "declared_types",
            "functions:\n  - id: f\n    function: vendor:f\n    type: Integer\n    parameters:\n"
            "      - {name: a, type: list}\n      - {name: b, type: ' list<x> '}\n"
            "      - {name: c, type: ' map<' }\n      - {name: d, type: 'tuple<,>'}\n"
            "      - {name: e, type: 'list<integer,integer>'}\n",
            {invalid_type("unknown logical type 'Integer'", "functions.f.type"),
             invalid_type("composite type 'list' is missing parameters", "functions.f.parameters[0].type"),
             invalid_type("unknown nested logical type 'x'", "functions.f.parameters[1].type"),
             invalid_type("malformed logical type ' map<': map<", "functions.f.parameters[2].type"),
             invalid_type("malformed logical type 'tuple<,>': ,", "functions.f.parameters[3].type"),
             invalid_type("composite type 'list' expects exactly 1, found 2",
                          "functions.f.parameters[4].type")}},
        ExpressionCase{"blank_body_without_type", expression("e", "expr: '  '"), {}},
        ExpressionCase{"body_without_type",
                       expression("e", "expr: in.i"),
                       {type_row("vorn:missing-required-field",
                                 "expression type is required when an expression body is declared",
                                 "expressions.e.type", "Declare the logical type of the expression")}},
        ExpressionCase{"bad_type_without_body",
                       expression("e", "type: strng"),
                       {invalid_type("unknown logical type 'strng'", "expressions.e.type")}},
        ExpressionCase{"bad_type_with_body_twice",
                       expression("e", "type: strng, expr: 'in.nope +'"),
                       {invalid_type("unknown logical type 'strng'", "expressions.e.type"),
                        invalid_type("unknown logical type 'strng'", "expressions.e.type")}},
        ExpressionCase{"body_does_not_parse",
                       expression("e", "type: integer, expr: '(in.i'"),
                       {{"vorn:invalid-expression", "validation", "syntax", "expected ')'", "expressions.e",
                         "Fix expression syntax (operators, parentheses, or string literals)"}}},
        ExpressionCase{"body_cannot_be_typed",
                       expression("e", "type: integer, expr: 'in.nope'"),
                       {type_row("vorn:invalid-type", "unresolved field reference 'in.nope'", "expressions.e",
                                 "Fix field references, operators, or function calls in the expression")}},
        ExpressionCase{"integer_body_as_decimal", expression("e", "type: decimal, expr: in.i * 2"), {}},
        ExpressionCase{"decimal_body_as_integer",
                       expression("e", "type: integer, expr: in.d"),
                       {mismatch("integer", "decimal")}},
        ExpressionCase{"declared_text_quoted_as_written",
                       expression("e", "type: ' string ', expr: in.i"),
                       {mismatch(" string ", "integer")}},
        ExpressionCase{
            "nullable_field_whatever_the_type",
            expression("e", "type: string, expr: in.n + 1"),
            {type_row("vorn:invalid-type",
                      "expression references nullable fields but declares a non-null type",
                      "expressions.e.type", "Use nullable-compatible typing or target non-nullable fields")}},
        ExpressionCase{"composite_inferred_type",
                       "functions:\n  - {id: tags, function: vendor:tags, type: 'list< string >'}\n" +
                           expression("e", "type: string, expr: 'tags()'"),
                       {mismatch("string", "list<string>")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::validation
