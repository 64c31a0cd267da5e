// Contract comparison step by step: each case compares two documents and
// expects every finding, written "kind category objectRef: message".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compatibility/compare.h"
#include "compatibility_test_support.h"

namespace vorn::compatibility::compare {
namespace {

using types::ComparisonScope;
using compatibility_test::contract_of;

std::string render(const ComparisonOutcome& outcome) {
  static const char* const kKinds[] = {"informational", "nonBreaking", "breaking", "conditional"};
  std::string out;
  std::vector<report::ContractChange> changes;
  for (const InternalDiff& d : outcome.diffs) {
    out += std::string(kKinds[static_cast<int>(d.kind)]) + " " + std::string(types::to_string(d.category)) + " " +
           d.object_ref.value_or("-") + ": " + d.message + "\n";
    if (d.kind != DiffKind::Informational) changes.push_back({d.category, d.message, d.object_ref});
  }
  EXPECT_EQ(changes, outcome.changes) << "changes must be the non-informational diffs, in order";
  return out;
}

ComparisonScope scope_of(std::vector<std::string> tokens) {
  return std::get<ComparisonScope>(ComparisonScope::from_tokens(tokens));
}

struct CompareCase {
  const char* name;
  std::vector<std::string> scope;
  std::string source;
  std::string target;
  std::string expected;
};

void PrintTo(const CompareCase& c, std::ostream* os) { *os << c.name; }

class CompareSteps : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareSteps, FindsExactlyTheseDifferences) {
  const CompareCase& c = GetParam();
  auto source = contract_of(c.source);
  auto target = contract_of(c.target);
  EXPECT_EQ(render(compare_contracts(source, target, scope_of(c.scope))), c.expected);
  ComparisonOutcome self = compare_contracts(target, target, ComparisonScope::every_aspect());
  EXPECT_TRUE(self.diffs.empty()) << render(self);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CompareSteps,
    ::testing::Values(
        CompareCase{"SpecVersionIsRecordedInAnyScope", {"types"}, "", "vornVersion: 1.0.0-draft\n",
                    "informational metadata vornVersion: vornVersion differs ('1.0.0' vs '1.0.0-draft'); spec "
                    "version alone does not determine compatibility\n"},
        CompareCase{"InputsInTargetOrderThenRemovedOnes",
                    {"interfaces"},
                    "inputs: [{id: gone}, {id: opt, optional: true}, {id: b}, {id: a, optional: true}]\n",
                    "inputs: [{id: a}, {id: b, optional: true}, {id: new}, {id: newopt, optional: true}]\n",
                    "breaking interface inputs.a.optional: input 'a' changed from optional to required\n"
                    "nonBreaking interface inputs.b.optional: input 'b' changed from required to optional\n"
                    "breaking interface inputs.gone: required input 'gone' removed in target\n"
                    "breaking interface inputs.opt: optional input 'opt' removed in target (backward-incompatible "
                    "for source consumers)\n"
                    "breaking interface inputs.new: input 'new' added in target\n"
                    "nonBreaking interface inputs.newopt: input 'newopt' added in target\n"},
        CompareCase{"StreamingAndConditionsOfSharedInterfaces",
                    {"interfaces"},
                    "inputs: [{id: a, streaming: {mode: bounded}, preconditions: [{rule: x}, {rule: y}]},"
                    " {id: b, streaming: {mode: bounded}}]\noutputs: [{id: o, postconditions: [{rule: x}]},"
                    " {id: gone}]\n",
                    "inputs: [{id: a, streaming: {mode: unbounded}, preconditions: [{rule: y}, {rule: x}, {rule: y}]},"
                    " {id: b}]\noutputs: [{id: new},"
                    " {id: o, streaming: {mode: bounded}, postconditions: [{rule: z}]}]\n",
                    "breaking interface inputs.a.streaming: streaming mode changed from Bounded to Unbounded at "
                    "inputs.a.streaming\n"
                    "breaking interface inputs.b.streaming: streaming declaration changed at inputs.b.streaming\n"
                    "breaking interface outputs.gone: output 'gone' removed in target\n"
                    "nonBreaking interface outputs.new: output 'new' added in target\n"
                    "breaking interface outputs.o.streaming: streaming declaration changed at outputs.o.streaming\n"
                    "breaking interface outputs.o.postconditions: postcondition set changed at "
                    "outputs.o.postconditions\n"},
        CompareCase{"TypesAloneLookOnlyAtSharedSchemas",
                    {"types"},
                    "inputs: [{id: gone, schema: {fields: []}}, {id: a, schema: {fields: []}}]\noutputs: [{id: o}]\n",
                    "inputs: [{id: a}]\noutputs: [{id: o, schema: {fields: []}}, {id: new, schema: {fields: []}}]\n",
                    "breaking type inputs.a.schema: schema presence changed at inputs.a.schema\n"
                    "breaking type outputs.o.schema: schema presence changed at outputs.o.schema\n"},
        CompareCase{"FieldsRemovedRetypedRenulledAdded",
                    {"types"},
                    "inputs: [{id: a, schema: {fields: [{name: gone_null, type: string, nullable: true},"
                    " {name: gone, type: string, nullable: false}, {name: w, type: integer, nullable: false},"
                    " {name: n, type: decimal, nullable: false},"
                    " {name: c, type: string, nullable: false}, {name: l, type: 'list<integer>', nullable: false},"
                    " {name: u, type: integer, nullable: false},"
                    " {name: both, type: string, nullable: true}, {name: mk, type: date, nullable: false}]}}]\n",
                    "inputs: [{id: a, schema: {fields: [{name: mk, type: date, nullable: true},"
                    " {name: both, type: integer, nullable: false}, {name: u, type: 'list<', nullable: false},"
                    " {name: l, type: 'list< integer >', nullable: false},"
                    " {name: c, type: integer, nullable: false}, {name: n, type: integer, nullable: false},"
                    " {name: w, type: decimal, nullable: false},"
                    " {name: added, type: string, nullable: false}]}}]\n",
                    "nonBreaking type inputs.a.schema.fields.mk.nullable: field 'mk' changed from non-nullable to "
                    "nullable\n"
                    "breaking type inputs.a.schema.fields.both.type: field 'both' type changed from 'string' to "
                    "'integer'\n"
                    "breaking type inputs.a.schema.fields.both.nullable: field 'both' changed from nullable to "
                    "non-nullable\n"
                    "breaking type inputs.a.schema.fields.u.type: field 'u' type changed from 'integer' to 'list<'\n"
                    "breaking type inputs.a.schema.fields.c.type: field 'c' type changed from 'string' to "
                    "'integer'\n"
                    "breaking type inputs.a.schema.fields.n.type: field 'n' type narrowed from 'decimal' to "
                    "'integer'\n"
                    "nonBreaking type inputs.a.schema.fields.w.type: field 'w' type widened from 'integer' to "
                    "'decimal'\n"
                    "nonBreaking type inputs.a.schema.fields.gone_null: field 'gone_null' removed from "
                    "inputs.a.schema\n"
                    "breaking type inputs.a.schema.fields.gone: field 'gone' removed from inputs.a.schema\n"
                    "nonBreaking type inputs.a.schema.fields.added: field 'added' added to inputs.a.schema\n"},
        CompareCase{"SemanticCollectionsAndRules",
                    {"semantics"},
                    "semanticActions: [{id: s, action: vorn:trim, target: a.f}, {id: gone, action: x, target: y}]\n"
                    "expressions: [{id: e, expr: '1'}]\n"
                    "functions: [{id: fn, function: f, nullable: true},"
                    " {id: fp, function: f, parameters: [{name: p, type: string}]}]\n"
                    "rules: [{id: r, rule: x, target: t, phase: execution, parameters: {min: 1}},"
                    " {id: r2, rule: x, target: t, phase: execution}]\n",
                    "semanticActions: [{id: s, action: vorn:trim, target: a.g}]\n"
                    "expressions: [{id: e, expr: '1', type: integer}, {id: e2, expr: '2'}]\n"
                    "functions: [{id: fn, function: f, metadata: {description: d}},"
                    " {id: fp, function: f, parameters: [{name: p, type: string, optional: true}]}]\n"
                    "rules: [{id: r, rule: x, target: t, phase: execution, parameters: {min: 2}},"
                    " {id: r2, rule: x, target: t, phase: postcondition},"
                    " {id: r3, rule: x, target: t, phase: execution}]\n",
                    "breaking semantic semanticActions.gone: semanticActions entry 'gone' removed in target\n"
                    "breaking semantic semanticActions.s: semanticActions entry 's' changed\n"
                    "nonBreaking semantic expressions.e2: expressions entry 'e2' added in target\n"
                    "breaking semantic expressions.e: expressions entry 'e' changed\n"
                    "breaking semantic functions.fp: functions entry 'fp' changed\n"
                    "nonBreaking rule rules.r3: rules entry 'r3' added in target\n"
                    "breaking rule rules.r2: rules entry 'r2' changed\n"},
        CompareCase{"LineageMappingsAsSetsOfInputs",
                    {"lineage"},
                    "lineage: {mappings: [{output: same, inputs: [a, b]}, {output: gone, inputs: [a]},"
                    " {output: moved, inputs: [a]}]}\n",
                    "lineage: {mappings: [{output: new, inputs: []}, {output: moved, inputs: [b]},"
                    " {output: same, inputs: [b, a, b]}]}\n",
                    "breaking lineage lineage.mappings.moved.inputs: lineage inputs changed for output 'moved'\n"
                    "breaking lineage lineage.mappings.gone: lineage mapping for output 'gone' removed\n"
                    "nonBreaking lineage lineage.mappings.new: lineage mapping for output 'new' added\n"},
        CompareCase{"GovernanceGainedWithoutOwnerAndDescription",
                    {"metadata"},
                    "metadata: {documentation: {description: old}}\n",
                    "metadata: {governance: {steward: s}, documentation: {description: new}}\n",
                    "informational metadata metadata.governance.owner: governance owner differs\n"
                    "informational metadata metadata.documentation.description: documentation description "
                    "differs (non-breaking)\n"},
        CompareCase{"ExtensionKeysNotTheirValues",
                    {"extensions"},
                    "acme:same: 1\nacme:gone: 1\n",
                    "acme:new: 1\nacme:same: 2\n",
                    "conditional extension acme:gone: extension key 'acme:gone' removed in target\n"
                    "nonBreaking extension acme:new: extension key 'acme:new' added in target\n"},
        CompareCase{"RepeatedIdsCompareTheLastRecord",
                    {"interfaces"},
                    "inputs: [{id: a, optional: true}, {id: a}]\n",
                    "inputs: [{id: a}]\n", ""},
        CompareCase{"NothingInScopeButTheSpecVersion",
                    {"metadata"}, "inputs: [{id: a}]\nacme:k: 1\n",
                    "rules: [{id: r, rule: x, target: t, phase: execution}]\n",
                    ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::compatibility::compare
