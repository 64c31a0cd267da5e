// Lineage, registry identifiers and targets, and the rules that interface
// conditions name, with their phases: the passes in driver order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "validation/condition_rule_phases.h"
#include "validation/condition_rule_refs.h"
#include "validation/references.h"
#include "validation_test_support.h"

namespace vorn::validation {
namespace {

using validation_test::error;
using validation_test::Expected;
using validation_test::PassCase;

const std::string kRef = "reference";

Expected mapping_row(const std::string& code, const std::string& message, const std::string& ref,
                     const std::string& remediation) {
  return error("vorn:" + code, kRef, message, "lineage.mappings." + ref, remediation);
}
Expected unknown_input(const std::string& input, const std::string& output) {
  return mapping_row("unresolved-reference", "lineage input '" + input + "' does not match a declared input",
                     output + ".inputs", "Reference declared input identifiers");
}
Expected missing(const std::string& what, const std::string& ref, const std::string& remediation = "") {
  return error("vorn:missing-required-field", kRef, what + " is required", ref, remediation);
}
Expected target(const std::string& code, const std::string& text, const std::string& problem,
                const std::string& ref, const std::string& remediation) {
  return error("vorn:" + code, kRef, "target '" + text + "' " + problem, ref + ".target", remediation);
}
Expected condition(const std::string& code, const std::string& category, const std::string& message,
                   const std::string& ref, const std::string& remediation) {
  return error("vorn:" + code, category, message, ref + "].rule", remediation);
}
Expected unknown_rule(const std::string& kind, const std::string& rule, const std::string& ref) {
  return condition("unresolved-reference", kRef, kind + " references unknown rule '" + rule + "'", ref,
                   "Declare the rule in rules[] or fix the reference");
}

const Expected kNoLineage = error("vorn:missing-lineage", kRef, "lineage is required when outputs are declared",
                                  "lineage", "Declare lineage mappings from outputs to contributing inputs");

class ReferencePasses : public ::testing::TestWithParam<PassCase> {};

TEST_P(ReferencePasses, ReportExactly) {
  ValidationContext ctx;
  model::TransformationContract contract = validation_test::contract_of(validation_test::kHeader + GetParam().body);
  references::validate_references(ctx, contract);
  interfaces::validate_condition_rule_refs(ctx, contract);
  interfaces::validate_condition_rule_phases(ctx, contract);
  EXPECT_EQ(validation_test::json_of(ctx.diagnostics), validation_test::json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stage4, ReferencePasses,
    ::testing::Values(
        PassCase{"lineage_is_ignored_without_outputs", "lineage: {mappings: [{output: ghost, inputs: [x]}]}\n", {}},
        PassCase{"lineage_without_mappings", "outputs: [{id: a}]\nlineage: {mappings: []}\n",
                 {error("vorn:missing-lineage", kRef, "lineage mappings are required for every declared output",
                        "lineage.mappings", "Add one mapping per declared output")}},
        PassCase{"every_mapping_problem",
                 "inputs: [{id: in}]\noutputs: [{id: a}, {id: b}]\nlineage: {mappings: [{output: a, inputs: []}, "
                 "{output: a, inputs: [in, x, x]}, {output: \" b\", inputs: [y]}]}\n",
                 {mapping_row("missing-required-field", "lineage mapping for output 'a' must reference at least "
                              "one input", "a.inputs", "List contributing input identifiers"),
                  mapping_row("duplicate-identifier", "duplicate lineage mapping for output 'a'", "a",
                              "Provide at most one mapping per output"),
                  unknown_input("x", "a"), unknown_input("x", "a"),
                  mapping_row("unresolved-reference", "lineage output ' b' does not match a declared output",
                              " b", "Reference declared output identifiers"),
                  mapping_row("missing-lineage", "output 'b' is missing a lineage mapping", "b",
                              "Map every declared output to one or more inputs")}},
        PassCase{"blank_identifiers_after_lineage",
                 "outputs: [{id: o}]\nsemanticActions: [{id: s, action: \"  \", target: \"\"}]\n"
                 "rules: [{id: r, rule: \"\\u3000\", target: \" \", phase: execution}]\n"
                 "functions: [{id: f, function: \"\"}]\n",
                 {kNoLineage,
                  missing("semantic action registry identifier", "semanticActions.s",
                          "Set action to a namespaced semantic action identifier"),
                  missing("semantic action target", "semanticActions.s"), missing("rule registry identifier", "rules.r"),
                  missing("rule target", "rules.r"), missing("function registry identifier", "functions.f")}},
        PassCase{"targets_resolve_to_one_field",
                 "inputs:\n  - {id: in, schema: {fields: [{name: a, type: string, nullable: false}, {name: dup, type: string, nullable: false}]}}\n"
                 "  - {id: in2, schema: {fields: [{name: dup, type: string, nullable: false}]}}\n"
                 "semanticActions:\n  - {id: s1, action: x, target: in}\n  - {id: s2, action: x, target: dup}\n"
                 "  - {id: s3, action: x, target: \" in.a \"}\n  - {id: s4, action: x, target: \" in.b \"}\n"
                 "  - {id: s5, action: x, target: a}\nrules: [{id: r, rule: x, target: in2, phase: execution}]\n",
                 {target("unresolved-reference", "in", "must reference a schema field", "semanticActions.s1",
                         "Target a declared schema field or use interface.field syntax"),
                  target("ambiguous-reference", "dup", "matches multiple schema fields", "semanticActions.s2",
                         "Qualify the target with an interface identifier"),
                  target("unresolved-reference", " in.b ", "is not declared", "semanticActions.s4",
                         "Target a declared schema field or interface identifier"),
                  target("unresolved-reference", "in2", "must reference a schema field", "rules.r",
                         "Target a declared schema field or use interface.field syntax")}},
        PassCase{"conditions_name_rules_of_their_phase",
                 "inputs:\n  - id: in\n    schema: {fields: [{name: t, type: string, nullable: false}]}\n"
                 "    preconditions: [{rule: \" pre \"}, {rule: \"  \"}, {rule: exec}, {rule: ghost}, "
                 "{rule: spaced}, {rule: twice}]\n"
                 "outputs: [{id: out, postconditions: [{rule: pre}, {rule: \"\"}, {rule: post}]}]\n"
                 "lineage: {mappings: [{output: out, inputs: [in]}]}\nrules:\n"
                 "  - {id: pre, rule: x, target: t, phase: precondition}\n  - {id: exec, rule: x, target: t, "
                 "phase: execution}\n  - {id: post, rule: x, target: t, phase: postcondition}\n  - {id: \" spaced \", "
                 "rule: x, target: t, phase: precondition}\n  - {id: twice, rule: x, target: t, phase: precondition}\n"
                 "  - {id: twice, rule: x, target: t, phase: postcondition}\n",
                 {condition("invalid-interface", kRef, "precondition rule reference is required",
                            "inputs.in.preconditions[1", "Reference a rule instance id from rules[]"),
                  unknown_rule("precondition", "ghost", "inputs.in.preconditions[3"),
                  unknown_rule("precondition", "spaced", "inputs.in.preconditions[4"),
                  condition("invalid-interface", kRef, "postcondition rule reference is required",
                            "outputs.out.postconditions[1", "Reference a rule instance id from rules[]"),
                  condition("invalid-interface", "semantic",
                            "precondition references rule 'exec' with phase 'execution', expected precondition",
                            "inputs.in.preconditions[2", "Use a rule with phase: precondition for input preconditions"),
                  condition("invalid-interface", "semantic",
                            "precondition references rule 'twice' with phase 'postcondition', expected precondition",
                            "inputs.in.preconditions[5", "Use a rule with phase: precondition for input preconditions"),
                  condition("invalid-interface", "semantic",
                            "postcondition references rule 'pre' with phase 'precondition', expected postcondition",
                            "outputs.out.postconditions[0",
                            "Use a rule with phase: postcondition for output postconditions")}}),
    validation_test::case_name);

}  // namespace
}  // namespace vorn::validation
