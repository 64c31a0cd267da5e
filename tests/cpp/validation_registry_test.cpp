// Semantic actions, rules and functions against the registry, with its
// standard definitions and a few vendor ones, and expression bodies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/builtin.h"
#include "registry/default_registry.h"
#include "validation/semantics.h"
#include "validation_test_support.h"

namespace vorn::validation {
namespace {

using model::registry::RegistryCategory;
using validation_test::Expected;
using validation_test::PassCase;

const model::registry::RegistryDocument& test_registry() {
  static const auto* registry = [] {
    auto* r = new model::registry::RegistryDocument(registry::default_registry().clone());
    auto add = [&](const char* id, RegistryCategory category, const char* definition) {
      r->entries.insert({id, registry::builtin::entry(id, "Vendor", category, definition)});
    };
    add("vendor:same", RegistryCategory::Function,
        R"({"kind":"function","argTypes":["string"],"returnType":"sameAsArgs"})");
    add("vendor:nophase", RegistryCategory::Rule, R"({"phases":[],"kind":"rule"})");
    add("vendor:typed", RegistryCategory::Rule,
        R"({"kind":"rule","parameters":[{"name":"s","type":"string"},{"name":"i","type":"integer"},)"
        R"({"name":"b","type":"boolean"},{"name":"l","type":"list<string>","optional":true},)"
        R"({"name":"s","type":"integer"}]})");
    add("vendor:broken", RegistryCategory::SemanticAction, R"( {"kind": )");
    add("vendor:nokind", RegistryCategory::Function, R"({"returnType":"string"})");
    add("vendor:badkind", RegistryCategory::Rule, R"({"kind":"widget"})");
    add("vendor:badtype", RegistryCategory::Function, R"({"kind":"function","returnType":"x","minArgs":-1})");
    add("vendor:other", RegistryCategory::SemanticAction, R"({"kind":"function","returnType":"string"})");
    add("vendor:prose", RegistryCategory::SemanticAction, "Masks the field.");
    return r;
  }();
  return *registry;
}

const std::string kSchema =
    "inputs:\n  - id: in\n    schema:\n      fields:\n        - {name: s, type: string, nullable: false}\n"
    "        - {name: ns, type: string, nullable: true}\n        - {name: i, type: integer, nullable: false}\n"
    "        - {name: dup, type: string, nullable: false}\n"
    "  - {id: in2, schema: {fields: [{name: dup, type: string, nullable: false}]}}\n";

Expected sem(const std::string& code, const std::string& message, const std::string& ref,
             const std::string& remediation) {
  return validation_test::error("vorn:" + code, "semantic", message, ref, remediation);
}
Expected action(const std::string& id, const std::string& message, const std::string& field,
                const std::string& remediation, const std::string& code = "invalid-semantic-action") {
  return sem(code, message, "semanticActions." + id + "." + field, remediation);
}
Expected rule(const std::string& id, const std::string& message, const std::string& field,
              const std::string& remediation, const std::string& code = "invalid-rule") {
  return sem(code, message, "rules." + id + "." + field, remediation);
}
Expected fn(const std::string& id, const std::string& message, const std::string& field,
            const std::string& remediation) {
  return sem("invalid-function", "function '" + message, "functions." + id + "." + field, remediation);
}
Expected unreadable(const std::string& code, const std::string& identifier, const std::string& error) {
  return sem(code, "registry definition for '" + identifier + "' is invalid JSON: " + error, "registry." + identifier,
             "Fix the registry entry definition JSON for this identifier");
}
Expected no_body(const std::string& id) {
  return sem("missing-required-field", "expression body is required when an expression is declared",
             "expressions." + id, "Provide an expression body or remove the declaration");
}

const std::string kNamespace = "Use a vorn: identifier or vendor namespace";
const std::string kFieldOnly = "Target a declared schema field";
const std::string kCompatible = "Target a compatible schema field";
const std::string kNotNull = "Target a non-nullable schema field";
const std::string kValueType = "Use a value compatible with the parameter type";
const std::string kUnknownParameter = "Remove unknown parameters or use a supported rule identifier";
const std::string kRequired = "Provide all required rule parameters";
const std::string kStdFn = "Use a standardized function identifier";
const std::string kAlign = "Align parameter types with the standard function signature";
const std::string kBroken =
    "syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal at line 1 column 9";

// A contract function with parameters of the given types, named p0, p1...
std::string function(const std::string& id, const std::string& name, const std::vector<std::string>& types,
                     const std::string& extra = "") {
  std::string out = "  - {id: " + id + ", function: \"" + name + "\"" + extra + ", parameters: [";
  for (std::size_t i = 0; i < types.size(); ++i)
    out += (i ? ", " : "") + std::string("{name: p") + std::to_string(i) + ", type: \"" + types[i] + "\"}";
  return out + "]}\n";
}

class RegistrySemantics : public ::testing::TestWithParam<PassCase> {};

TEST_P(RegistrySemantics, ReportExactly) {
  ValidationContext ctx;
  semantics::validate_semantics(ctx, validation_test::contract_of(validation_test::kHeader + kSchema + GetParam().body),
                                test_registry());
  EXPECT_EQ(validation_test::json_of(ctx.diagnostics), validation_test::json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage5, RegistrySemantics,
    ::testing::Values(
        PassCase{"kinds_in_fixed_order",
                 "expressions: [{id: e1}, {id: e2, expr: \" \"}, {id: e3, expr: \"1\"}]\n"
                 "functions: [{id: f1, function: lower}]\nrules: [{id: r1, rule: x, target: s, phase: execution}]\n"
                 "semanticActions: [{id: a1, action: mask, target: nope}]\n",
                 {action("a1", "semantic action 'mask' must be namespaced", "action", kNamespace),
                  rule("r1", "rule 'x' must be namespaced", "rule", kNamespace),
                  fn("f1", "lower' must be namespaced", "function", kNamespace), no_body("e1"), no_body("e2")}},
        PassCase{"semantic_actions",
                 "semanticActions:\n  - {id: a2, action: vendor:mask, target: s}\n"
                 "  - {id: a3, action: vorn:not_null, target: s}\n  - {id: a4, action: vorn:trim, target: in}\n"
                 "  - {id: a5, action: vorn:trim, target: dup}\n  - {id: a6, action: vorn:trim, target: nope}\n"
                 "  - {id: a7, action: vorn:trim, target: i}\n  - {id: a8, action: vorn:lowercase, target: ns}\n"
                 "  - {id: a9, action: vorn:lowercase, target: s}\n  - {id: a10, action: vendor:other, target: i}\n"
                 "  - {id: a11, action: vendor:prose, target: i}\n  - {id: a12, action: vendor:broken, target: s}\n"
                 "  - {id: a13, action: vendor:broken, target: s}\n",
                 {action("a2", "unsupported standard semantic action 'vendor:mask'", "action",
                         "Use a standardized semantic action identifier"),
                  action("a3", "unsupported standard semantic action 'vorn:not_null'", "action",
                         "Use a standardized semantic action identifier"),
                  action("a4", "target 'in' must reference a schema field", "target", kFieldOnly),
                  action("a5", "target 'dup' matches multiple schema fields", "target",
                         "Qualify the target with an interface identifier", "ambiguous-reference"),
                  action("a6", "target 'nope' is not declared", "target", kFieldOnly, "unresolved-reference"),
                  action("a7", "vorn:trim requires a 'string' target field; 'i' is 'integer'", "target", kCompatible),
                  action("a8", "vorn:lowercase cannot target nullable field 'ns'", "target", kNotNull),
                  unreadable("invalid-semantic-action", "vendor:broken", kBroken),
                  unreadable("invalid-semantic-action", "vendor:broken", kBroken)}},
        PassCase{"rules",
                 "rules:\n  - {id: r1, rule: vorn:not_null, target: in, phase: execution}\n"
                 "  - {id: r2, rule: vorn:min_length, target: i, phase: execution, parameters: {min: 1}}\n"
                 "  - {id: r3, rule: vorn:min_length, target: ns, phase: execution, parameters: {min: 1}}\n"
                 "  - {id: r4, rule: vorn:not_null, target: ns, phase: execution}\n"
                 "  - {id: r5, rule: vorn:range, target: i, phase: execution, parameters: {lower: 1}}\n"
                 "  - {id: r6, rule: vorn:range, target: i, phase: execution, parameters: {min: 1.5}}\n"
                 "  - {id: r7, rule: vorn:range, target: i, phase: execution, parameters: {min: 1}}\n"
                 "  - {id: r8, rule: vorn:min_length, target: s, phase: execution}\n"
                 "  - {id: r9, rule: vendor:nophase, target: s, phase: postcondition}\n"
                 "  - {id: r10, rule: vendor:typed, target: s, phase: execution, parameters: "
                 "{s: x, i: 9223372036854775808, l: [], z: 0}}\n"
                 "  - {id: r11, rule: vendor:badkind, target: s, phase: execution}\n",
                 {rule("r1", "target 'in' must reference a schema field", "target", kFieldOnly),
                  rule("r2", "vorn:min_length requires a 'string' target field; 'i' is 'integer'", "target",
                       kCompatible),
                  rule("r4", "vorn:not_null cannot target nullable field 'ns'", "target", kNotNull),
                  rule("r5", "vorn:range does not accept parameter 'lower'", "parameters.lower", kUnknownParameter),
                  rule("r5", "vorn:range requires at least one of 'min' or 'max' parameters", "parameters",
                       "Provide min and/or max bounds"),
                  rule("r6", "parameter 'min' for vorn:range must be of type 'integer'", "parameters.min", kValueType),
                  rule("r8", "vorn:min_length requires parameter 'min'", "parameters", kRequired),
                  rule("r9", "vendor:nophase is not valid in phase 'postcondition'", "phase",
                       "Use a supported rule evaluation phase"),
                  rule("r10", "vendor:typed requires parameter 'b'", "parameters", kRequired),
                  rule("r10", "parameter 'i' for vendor:typed must be of type 'integer'", "parameters.i", kValueType),
                  rule("r10", "parameter 'l' for vendor:typed must be of type 'list<string>'", "parameters.l",
                       kValueType),
                  rule("r10", "vendor:typed does not accept parameter 'z'", "parameters.z", kUnknownParameter),
                  unreadable("invalid-rule", "vendor:badkind",
                             "unknown variant `widget`, expected one of `semanticAction`, `rule`, `function` at "
                             "line 1 column 16")}},
        PassCase{"functions",
                 "functions:\n" + function("f2", "vendor:f", {}) + function("f3", "vorn:trim", {}) +
                     function("f4", "vorn:substr", {"string", "integer", "integer", "integer"}) +
                     function("f5", "vorn:substr", {"integer", "integer"}) +
                     function("f6", "vorn:coalesce", {"string", "integer"}) +
                     function("f7", "vorn:coalesce", {"string", "string"}, ", type: integer") +
                     function("f8", "vorn:coalesce", {}) +
                     function("f9", "vorn:lower", {"string"}, ", type: string, nullable: true") +
                     function("f10", "vorn:length", {"string"}, ", type: integer, nullable: true") +
                     function("f11", "vorn:length", {"string"}, ", type: Integer, nullable: true") +
                     function("f12", "vorn:coalesce", {"list<string>"}, ", type: integer") +
                     function("f13", "vorn:concat", {"string", "integer"}) +
                     function("f14", "vendor:same", {"integer", "Integer"}) +
                     function("f15", "vorn:length", {"string"}, ", type: decimal") +
                     function("f16", "vendor:nokind", {}) + function("f17", "vendor:badtype", {}),
                 {sem("invalid-function", "unsupported standard function 'vendor:f'", "functions.f2.function", kStdFn),
                  sem("invalid-function", "unsupported standard function 'vorn:trim'", "functions.f3.function", kStdFn),
                  fn("f4", "vorn:substr' expects at most 3 parameter(s), found 4", "parameters", "Remove extra parameters"),
                  fn("f4", "vorn:substr' has too many parameters for its signature", "parameters[3]",
                     "Remove extra parameters"),
                  fn("f5", "vorn:substr' parameter 1 'p0' has type 'integer', expected 'string'", "parameters[0].type",
                     kAlign),
                  fn("f6", "vorn:coalesce' parameters must share the same primitive type", "parameters",
                     "Use homogeneous parameter types for coalesce"),
                  fn("f7", "vorn:coalesce' declares return type 'integer', expected 'string'", "type",
                     "Align the declared return type with parameter types"),
                  fn("f8", "vorn:coalesce' expects at least 1 parameter(s), found 0", "parameters",
                     "Declare the required number of parameters"),
                  fn("f8", "vorn:coalesce' requires at least one parameter", "parameters", "Declare at least one parameter"),
                  fn("f10", "vorn:length' declares a nullable return type but the standard signature is non-nullable",
                     "nullable", "Set nullable: false on the function return type"),
                  fn("f12", "vorn:coalesce' parameter 'p0' must be a primitive type", "parameters[0].type",
                     "Use a supported primitive type"),
                  fn("f13", "vorn:concat' parameter 'p1' has type 'integer', expected one of string",
                     "parameters[1].type", kAlign),
                  fn("f14", "vendor:same' parameter 'p0' has type 'integer', expected one of string",
                     "parameters[0].type", "Use homogeneous parameter types allowed by the standard function"),
                  fn("f15", "vorn:length' declares return type 'decimal', expected 'integer'", "type",
                     "Align the declared return type with the standard function signature"),
                  unreadable("invalid-function", "vendor:nokind", "missing field `kind` at line 1 column 23"),
                  unreadable("invalid-function", "vendor:badtype",
                             "invalid type: integer `-1`, expected an unsigned integer at line 1 column 48")}}),
    validation_test::case_name);

}  // namespace
}  // namespace vorn::validation
