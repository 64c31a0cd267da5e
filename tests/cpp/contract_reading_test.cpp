// The common reading rules, through both front ends, asserted as whole
// error texts or whole written contracts.
#include <gtest/gtest.h>

#include <string>

#include "model/json_value.h"
#include "parser/parse.h"

namespace vorn::parser {
namespace {

constexpr const char* kHeaderYaml = "vornVersion: 1.0.0\nid: c\nname: n\nversion: 1.0.0\n";
constexpr const char* kHeaderJson = R"("vornVersion":"1.0.0","id":"c","name":"n","version":"1.0.0")";
constexpr const char* kEmptyLists =
    R"("inputs":[],"outputs":[],"semanticActions":[],"expressions":[],"functions":[],"rules":[])";

struct Case {
  const char* name;
  DocumentFormat format;
  std::string document;
  std::string expected;  // written contract, or "error: <message>"
};

std::string outcome(const ParseResult& r) {
  if (r.contract) return r.contract->to_json();
  return "error: " + r.report.diagnostics.at(0).message;
}

std::string yaml(const std::string& body) { return kHeaderYaml + body; }
std::string json(const std::string& body) {
  return std::string("{") + kHeaderJson + (body.empty() ? "" : ",") + body + "}";
}
std::string written(const std::string& lists, const std::string& rest = "") {
  return std::string("{") + kHeaderJson + "," + lists + rest + "}";
}
std::string with_list(const std::string& key, const std::string& value) {
  std::string lists = kEmptyLists;
  std::string needle = "\"" + key + "\":[]";
  lists.replace(lists.find(needle), needle.size(), "\"" + key + "\":" + value);
  return lists;
}

class ContractReading : public ::testing::TestWithParam<Case> {};

TEST_P(ContractReading, ReadsOrFailsExactly) {
  const Case& c = GetParam();
  EXPECT_EQ(outcome(parse(c.document, c.format)), c.expected);
}

constexpr auto Y = DocumentFormat::Yaml;
constexpr auto J = DocumentFormat::Json;

INSTANTIATE_TEST_SUITE_P(
    Rules, ContractReading,
    ::testing::Values(
        Case{"header_only_yaml", Y, kHeaderYaml, written(kEmptyLists)},
        Case{"header_only_json", J, json(""), written(kEmptyLists)},
        Case{"missing_first_required_in_order", Y, "name: n\nversion: v\n",
             "error: missing field `vornVersion` at line 3 column 1"},
        Case{"lowercase_key_is_an_extension", J,
             R"({"vornversion":"x","id":"c","name":"n","version":"v"})",
             "error: missing field `vornVersion` at line 1 column 53"},
        Case{"duplicate_declared_key", Y, yaml("id: again\n"),
             "error: duplicate field `id` at line 5 column 1"},
        Case{"repeated_extension_keeps_first_position_last_value", Y, yaml("b: 1\na: 2\nb: 3\n"),
             written(kEmptyLists, R"(,"b":3,"a":2)")},
        Case{"extension_objects_sort_keys", J, json(R"("x":{"z":1,"a":[1.0,true,null]})"),
             written(kEmptyLists, R"(,"x":{"a":[1.0,true,null],"z":1})")},
        Case{"yaml_non_finite_extension_is_null", Y, yaml("x: .inf\ny: .nan\nz: -.Inf\n"),
             written(kEmptyLists, R"(,"x":null,"y":null,"z":null)")},
        Case{"json_null_metadata_is_absent", J, json(R"("metadata":null)"), written(kEmptyLists)},
        Case{"yaml_sequence_for_metadata", Y, yaml("metadata: [1]\n"),
             "error: invalid type: sequence, expected struct Metadata at line 5 column 11"},
        Case{"yaml_tilde_list_is_wrong_shape", Y, yaml("inputs: ~\n"),
             "error: invalid type: null, expected a sequence at line 5 column 9"},
        Case{"yaml_empty_list_is_empty", Y, yaml("inputs:\n"), written(kEmptyLists)},
        Case{"json_null_list_is_wrong_shape", J, json(R"("inputs":null)"),
             "error: invalid type: null, expected a sequence at line 1 column 74"},
        Case{"yaml_text_takes_scalars_as_written", Y,
             "vornVersion: 1.0.0\nid: ~\nname:\nversion: 1.0\n",
             R"({"vornVersion":"1.0.0","id":"~","name":"","version":"1.0",)" + std::string(kEmptyLists) + "}"},
        Case{"json_text_must_be_string", J, R"({"vornVersion":1,"id":"c","name":"n","version":"v"})",
             "error: invalid type: integer `1`, expected a string at line 1 column 16"},
        Case{"input_defaults_written", Y, yaml("inputs:\n  - id: a\n"),
             written(with_list("inputs", R"([{"id":"a","optional":false}])"))},
        Case{"output_only_id", J, json(R"("outputs":[{"id":"o"}])"),
             written(with_list("outputs", R"([{"id":"o"}])"))},
        Case{"output_optional_is_extension", J, json(R"("outputs":[{"optional":true,"id":"o"}])"),
             written(with_list("outputs", R"([{"id":"o","optional":true}])"))},
        Case{"input_extension_after_metadata", Y,
             yaml("inputs:\n  - x: 1\n    id: a\n    metadata: {tags: []}\n    preconditions: []\n"),
             written(with_list("inputs", R"([{"id":"a","optional":false,"metadata":{},"x":1}])"))},
        Case{"yaml_bool_must_be_plain", Y, yaml("inputs:\n  - id: a\n    optional: 'true'\n"),
             "error: invalid type: string \"true\", expected a boolean at line 7 column 15"},
        Case{"long_values_are_cut_in_messages", Y, yaml("inputs:\n  - id: a\n    optional: '" + std::string(300, 'x') + "'\n"),
             "error: invalid type: string \"" + std::string(200, 'x') +
                 "\"..., expected a boolean at line 7 column 15"},
        Case{"values_of_200_bytes_are_not_cut", Y, yaml("inputs:\n  - id: a\n    optional: '" + std::string(200, 'x') + "'\n"),
             "error: invalid type: string \"" + std::string(200, 'x') + "\", expected a boolean at line 7 column 15"},
        Case{"values_are_cut_between_characters", Y,
             yaml("inputs:\n  - id: a\n    optional: '" + std::string(199, 'x') + "\u00e9x'\n"),
             "error: invalid type: string \"" + std::string(199, 'x') + "\"..., expected a boolean at line 7 column 15"},
        Case{"quoted_values_escape_quotes_backslashes_and_controls_only", Y,
             yaml("inputs:\n  - id: a\n    optional: \"a b\\\"\\\\\\n\\r\\t\\x01\\x7f\"\n"),
             R"(error: invalid type: string "a b\"\\\n\r\t\u{1}\u{7f}", expected a boolean at line 7 column 15)"},
        Case{"floats_in_messages", Y, yaml("inputs:\n  - id: a\n    optional: 1.5\n"),
             "error: invalid type: floating point `1.5`, expected a boolean at line 7 column 15"},
        Case{"infinities_in_messages", Y, yaml("inputs:\n  - id: a\n    optional: .inf\n"),
             "error: invalid type: floating point `inf`, expected a boolean at line 7 column 15"},
        Case{"bool_with_default_rejects_null", J, json(R"("inputs":[{"id":"a","optional":null}])"),
             "error: invalid type: null, expected a boolean at line 1 column 96"},
        Case{"field_missing_nullable", Y,
             yaml("inputs:\n  - id: a\n    schema:\n      fields:\n        - {name: f, type: string}\n"),
             "error: missing field `nullable` at line 9 column 33"},
        Case{"json_field_as_array", J,
             json(R"("inputs":[{"id":"a","schema":{"fields":[["f","string",true]]}}])"),
             written(with_list("inputs",
                               R"([{"id":"a","schema":{"fields":[{"name":"f","type":"string","nullable":true}]},"optional":false}])"))},
        Case{"json_field_array_too_short", J,
             json(R"("inputs":[{"id":"a","schema":{"fields":[["f","string"]]}}])"),
             "error: invalid length 2, expected struct Field with 4 elements at line 1 column 115"},
        Case{"json_field_array_too_long", J,
             json(R"("inputs":[{"id":"a","schema":{"fields":[["f","t",true,[],1]]}}])"),
             "error: trailing characters at line 1 column 119"},
        Case{"json_nul_after_the_value_is_an_error", J, json("") + std::string(" \n \0{}", 6),
             "error: trailing characters at line 2 column 2"},
        Case{"yaml_sequence_record_is_wrong_shape", Y,
             yaml("rules:\n  - [r, x, t, execution]\n"),
             "error: invalid type: sequence, expected struct Rule at line 6 column 5"},
        Case{"streaming_unknown_variant", Y, yaml("outputs:\n  - id: o\n    streaming: {mode: Bounded}\n"),
             "error: unknown variant `Bounded`, expected `bounded` or `unbounded` at line 7 column 23"},
        Case{"json_enum_as_object", J,
             json(R"("rules":[{"id":"r","rule":"x","target":"t","phase":{"execution":null}}])"),
             written(with_list("rules", R"([{"id":"r","rule":"x","target":"t","phase":"execution"}])"))},
        Case{"rule_phase_unknown", Y, yaml("rules:\n  - {id: r, rule: x, target: t, phase: during}\n"),
             "error: unknown variant `during`, expected one of `precondition`, `execution`, `postcondition` at line 6 column 40"},
        Case{"rule_missing_phase", Y, yaml("rules:\n  - {id: r, rule: x, target: t}\n"),
             "error: missing field `phase` at line 6 column 31"},
        Case{"rule_parameters_keep_order", Y,
             yaml("rules:\n  - {id: r, rule: x, target: t, phase: execution, parameters: {b: 1, a: {z: 1, y: 2}, b: 2}}\n"),
             written(with_list("rules", R"([{"id":"r","rule":"x","target":"t","phase":"execution","parameters":{"b":2,"a":{"y":2,"z":1}}}])"))},
        Case{"rule_empty_parameters_omitted", J,
             json(R"("rules":[{"id":"r","rule":"x","target":"t","phase":"execution","parameters":{}}])"),
             written(with_list("rules", R"([{"id":"r","rule":"x","target":"t","phase":"execution"}])"))},
        Case{"function_nullable_written_when_true", Y,
             yaml("functions:\n  - {id: f, function: g, nullable: true, type: integer}\n  - {id: h, function: g, nullable: false}\n"),
             written(with_list("functions", R"([{"id":"f","function":"g","type":"integer","nullable":true},{"id":"h","function":"g"}])"))},
        Case{"function_parameter_optional_default", J,
             json(R"("functions":[{"id":"f","function":"g","parameters":[{"name":"p","type":"string"}]}])"),
             written(with_list("functions", R"([{"id":"f","function":"g","parameters":[{"name":"p","type":"string","optional":false}]}])"))},
        Case{"ordering_mode_after_order", Y, yaml("semantics:\n  ordering: {order: [a, b], mode: explicit}\n"),
             written(kEmptyLists, R"(,"semantics":{"ordering":{"mode":"explicit","order":["a","b"]}})")},
        Case{"ordering_explicit_without_order", Y, yaml("semantics:\n  ordering: {mode: explicit}\n"),
             "error: missing field `order` at line 6 column 28"},
        Case{"ordering_as_sequence", J, json(R"("semantics":{"ordering":["explicit",["a","b"]]})"),
             written(kEmptyLists, R"(,"semantics":{"ordering":{"mode":"explicit","order":["a","b"]}})")},
        Case{"ordering_empty_sequence", Y, yaml("semantics:\n  ordering: []\n"),
             "error: missing field `mode` at line 6 column 14"},
        Case{"ordering_explicit_sequence_without_list", Y, yaml("semantics:\n  ordering: [explicit]\n"),
             "error: invalid length 0, expected struct variant ActionOrdering::Explicit with 1 element at line 6 column 22"},
        Case{"ordering_unknown_mode", J, json(R"("semantics":{"ordering":{"mode":"random"}})"),
             "error: unknown variant `random`, expected `unordered` or `explicit` at line 1 column 101"},
        Case{"ordering_unordered_ignores_order", Y, yaml("semantics:\n  ordering: {mode: unordered, order: 5}\n"),
             written(kEmptyLists, R"(,"semantics":{"ordering":{"mode":"unordered"}})")},
        Case{"semantics_empty_side_effects", Y, yaml("semantics:\n  sideEffects: []\n  deterministic: false\n"),
             written(kEmptyLists, R"(,"semantics":{"deterministic":false})")},
        Case{"lineage_mapping_inputs_default", J, json(R"("lineage":{"mappings":[{"output":"o"}]})"),
             written(kEmptyLists, R"(,"lineage":{"mappings":[{"output":"o","inputs":[]}]})")},
        Case{"versioning_empty_block", Y, yaml("versioning: {}\n"), written(kEmptyLists, R"(,"versioning":{})")},
        Case{"metadata_blocks", Y,
             yaml("metadata:\n  owner: x\n  tags: []\n  governance: {reviewDate: d, other: 1}\n  identity: {q: 1}\n  deprecated: false\n"),
             std::string("{") + kHeaderJson +
                 R"(,"metadata":{"identity":{},"governance":{"reviewDate":"d"},"deprecated":false,"owner":"x"},)" +
                 kEmptyLists + "}"},
        Case{"classification_unknown", Y, yaml("metadata: {classification: Public}\n"),
             "error: unknown variant `Public`, expected one of `public`, `internal`, `confidential`, `restricted` at line 5 column 28"},
        Case{"extensions_after_last_block", Y, yaml("b: 1\nlineage: {}\na: 2\n"),
             written(kEmptyLists, R"(,"lineage":{"mappings":[]},"b":1,"a":2)")},
        Case{"yaml_non_specific_tag_reads_text", Y, yaml("x-a: ! true\nx-b: !!str 12\nx-c: !foo true\nx-d: ! ~\n"),
             written(kEmptyLists, R"(,"x-a":"true","x-b":"12","x-c":true,"x-d":"~")")},
        Case{"error_in_replayed_node_points_at_the_anchor", Y,
             yaml("base: &b {id: a, optional: 'no'}\ninputs:\n  - *b\n"),
             "error: invalid type: string \"no\", expected a boolean at line 5 column 28"},
        Case{"json_escaped_texts_and_later_error", J,
             R"({"vornVersion":"1.0\u002e0","id":"\u00e9","name":"n\"","version":"v","inputs":[{"id":1}]})",
             "error: invalid type: integer `1`, expected a string at line 1 column 86"},
        Case{"top_level_must_be_mapping", J, "[1]",
             "error: invalid type: sequence, expected struct TransformationContract at line 1 column 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ContractRoundTrip, WriteThenReadGivesAnEqualContract) {
  std::string doc = yaml(
      "metadata: {description: d, tags: [a], classification: internal, x: {b: 1.5, a: [1]}}\n"
      "inputs: [{id: i, schema: {fields: [{name: f, type: 'list<string>', nullable: true,"
      " conversions: [{from: string, to: integer, lossy: true}]}]}, streaming: {mode: unbounded},"
      " preconditions: [{rule: r}], vendor:key: 7}]\n"
      "outputs: [{id: o, postconditions: [{rule: r}]}]\n"
      "semanticActions: [{id: s, action: vorn:action/trim, target: i.f}]\n"
      "expressions: [{id: e, expr: 'i.f + 1', type: integer}]\n"
      "functions: [{id: f, function: g, parameters: [{name: p, type: string, optional: true}]}]\n"
      "rules: [{id: r, rule: x, target: t, phase: postcondition, parameters: {n: 1}}]\n"
      "lineage: {mappings: [{output: o, inputs: [i]}]}\n"
      "versioning: {compatibility: backward}\n"
      "semantics: {deterministic: true, pure: false, ordering: [unordered], sideEffects: [{id: x, kind: io}]}\n"
      "z: [1, 2]\n");
  ParseResult first = parse(doc, DocumentFormat::Yaml);
  ASSERT_TRUE(first.contract) << outcome(first);
  std::string text = first.contract->to_json();
  ParseResult second = parse(text, DocumentFormat::Json);
  ASSERT_TRUE(second.contract) << outcome(second);
  EXPECT_EQ(*first.contract, *second.contract);
  EXPECT_EQ(second.contract->to_json(), text);
}

// Blocks held out of line are values: copies never share them.
TEST(ContractCopies, BlocksAreCopiedNotShared) {
  auto first = parse(yaml("metadata: {governance: {owner: a}}\ninputs: [{id: i, metadata: {description: d}}]\n"),
                     DocumentFormat::Yaml);
  ASSERT_TRUE(first.contract) << outcome(first);
  model::TransformationContract copy = *first.contract;
  copy.metadata->governance->owner = "b";
  copy.inputs[0].metadata.reset();
  EXPECT_EQ(first.contract->metadata->governance->owner, "a");
  EXPECT_TRUE(first.contract->inputs[0].metadata.has_value());
  EXPECT_FALSE(copy == *first.contract);
  copy = *first.contract;
  EXPECT_TRUE(copy == *first.contract);
  EXPECT_EQ(copy.to_json(), first.contract->to_json());
}

// Each pair is compared as read into two contracts, and as values made by
// the JSON library itself, which holds a non-negative integer as unsigned
// where the readers hold it as signed.
TEST(ContractEquality, ExtensionValuesCompareByKind) {
  struct Pair {
    const char* a;
    const char* b;
    bool equal;
  };
  const Pair kPairs[] = {
      {R"("x":1)", R"("x":1.0)", false},
      {R"("x":1,"y":2)", R"("y":2,"x":1)", true},
      {R"("x":{"a":1})", R"("x":{"b":1})", false},
      {R"("x":-1)", R"("x":18446744073709551615)", false},
      {R"("x":0)", R"("x":-0)", true},
      {R"("x":1.5)", R"("x":"1.5")", false},
      {R"("x":[1])", R"("x":[1,2])", false},
      {R"("x":1)", R"("x":1,"y":2)", false},
  };
  auto value_of = [](const char* members) { return model::JsonValue::parse("{" + std::string(members) + "}"); };
  for (const auto& [a, b, equal] : kPairs) {
    auto first = parse(json(a), DocumentFormat::Json);
    auto second = parse(json(b), DocumentFormat::Json);
    ASSERT_TRUE(first.contract && second.contract) << a << " / " << b;
    EXPECT_EQ(*first.contract == *second.contract, equal) << a << " / " << b;
    EXPECT_EQ(model::json_equal(value_of(a), value_of(b)), equal) << a << " / " << b;
  }
}

}  // namespace
}  // namespace vorn::parser
