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

using validation_test::Expected;

Expected row(const std::string& code, const std::string& message, const std::string& ref,
             const std::string& fix) {
  return {code, "validation", "type", message, ref, fix};
}
Expected invalid_type(const std::string& message, const std::string& ref) {
  return row("vorn:invalid-type", message, ref, "Use a valid VORN logical type declaration");
}
Expected mismatch(const std::string& id, const std::string& declared, const std::string& inferred) {
  return row("vorn:invalid-type",
             "expression type '" + declared + "' does not match inferred type '" + inferred + "'",
             "expressions." + id + ".type", "Align the declared type with the expression semantics");
}
Expected after_optional(const std::string& name, int index) {
  return row("vorn:invalid-function",
             "required parameter '" + name + "' must appear before optional parameters",
             "functions.f.parameters[" + std::to_string(index) + "].name",
             "Declare optional parameters as a trailing suffix");
}

struct ExpressionCase {
  const char* name;
  std::string body;
  std::vector<Expected> expected;
};

class ExpressionChecks : public ::testing::TestWithParam<ExpressionCase> {};

TEST_P(ExpressionChecks, ReportsExactly) {
  ValidationContext ctx;
  expressions::validate_expressions(ctx,
                                    validation_test::contract_of(validation_test::kHeader + GetParam().body),
                                    registry::default_registry());
  EXPECT_EQ(validation_test::json_of(ctx.diagnostics), validation_test::json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage3, ExpressionChecks,
    ::testing::Values(
        // A missing or bad return type does not stop the parameter checks;
        // every required parameter after an optional one is reported.
        ExpressionCase{
            "functions",
            "functions:\n  - {id: f, function: vendor:f, parameters: [{name: a, type: integer}, {name: b, "
            "type: "
            "integer, optional: true}, {name: a, type: integer}, {name: c, type: integer}]}\n"
            "  - {id: g, function: vendor:g, type: Integer, parameters: [{name: a, type: list},"
            " {name: b, type: ' list<x> '}, {name: c, type: ' map<'}, {name: d, type: 'tuple<,>'},"
            " {name: e, type: 'list<integer,integer>'}]}\n",
            {row("vorn:missing-required-field", "function return type is required", "functions.f.type",
                 "Declare the logical return type of the function"),
             row("vorn:duplicate-identifier", "function parameter 'a' is duplicated",
                 "functions.f.parameters[2].name",
                 "Use unique parameter names within a function declaration"),
             after_optional("a", 2), after_optional("c", 3),
             invalid_type("unknown logical type 'Integer'", "functions.g.type"),
             invalid_type("composite type 'list' is missing parameters", "functions.g.parameters[0].type"),
             invalid_type("unknown nested logical type 'x'", "functions.g.parameters[1].type"),
             invalid_type("malformed logical type ' map<': map<", "functions.g.parameters[2].type"),
             invalid_type("malformed logical type 'tuple<,>': ,", "functions.g.parameters[3].type"),
             invalid_type("composite type 'list' expects exactly 1, found 2",
                          "functions.g.parameters[4].type")}},
        // Each declaration is checked on its own, in document order. A bad
        // declared type is reported twice when there is a body to check.
        ExpressionCase{
            "expressions",
            "inputs:\n  - {id: in, schema: {fields: [{name: i, type: integer, nullable: false}, {name: d, "
            "type: "
            "decimal, nullable: false}, {name: n, type: integer, nullable: true}]}}\n"
            "functions:\n  - {id: tags, function: vendor:tags, type: 'list< string >'}\n"
            "expressions:\n  - {id: blank, expr: '  '}\n  - {id: untyped, expr: in.i}\n  - {id: bad, type: "
            "strng}\n"
            "  - {id: twice, type: strng, expr: 'in.i +'}\n  - {id: syntax, type: integer, expr: '(in.i'}\n"
            "  - {id: untypable, type: integer, expr: in.nope}\n  - {id: widened, type: decimal, expr: in.i "
            "* 2}\n"
            "  - {id: narrowed, type: integer, expr: in.d}\n  - {id: spaced, type: ' string ', expr: in.i}\n"
            "  - {id: nullable, type: string, expr: in.n + 1}\n  - {id: composite, type: string, expr: "
            "'tags()'}\n",
            {row("vorn:missing-required-field",
                 "expression type is required when an expression body is declared",
                 "expressions.untyped.type", "Declare the logical type of the expression"),
             invalid_type("unknown logical type 'strng'", "expressions.bad.type"),
             invalid_type("unknown logical type 'strng'", "expressions.twice.type"),
             invalid_type("unknown logical type 'strng'", "expressions.twice.type"),
             {"vorn:invalid-expression", "validation", "syntax", "expected ')'", "expressions.syntax",
              "Fix expression syntax (operators, parentheses, or string literals)"},
             row("vorn:invalid-type", "unresolved field reference 'in.nope'", "expressions.untypable",
                 "Fix field references, operators, or function calls in the expression"),
             mismatch("narrowed", "integer", "decimal"),
             mismatch("spaced", " string ", "integer"),
             row("vorn:invalid-type", "expression references nullable fields but declares a non-null type",
                 "expressions.nullable.type", "Use nullable-compatible typing or target non-nullable fields"),
             mismatch("composite", "string", "list<string>")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::validation
