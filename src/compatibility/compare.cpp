// The comparison as a whole: the vornVersion, then interfaces and types,
// semantics, lineage, metadata and extensions, each when the scope asks.

#include "compatibility/compare.h"

#include "compatibility/findings.h"
#include "compatibility/compare_interfaces.h"
#include "compatibility/keyed_pairs.h"

namespace vorn::compatibility::compare {
namespace {

using findings::emit;
using keyed::pair_by_key;
using model::TransformationContract;

template <class T>
std::string_view id_of(const T& record) {
  return record.id;
}

bool same_action(const model::SemanticAction& a, const model::SemanticAction& b) {
  return a.action == b.action && a.target == b.target;
}

bool same_expression(const model::Expression& a, const model::Expression& b) {
  return a.expr == b.expr && a.type == b.type;
}

// A function's nullability and metadata do not change how callers use it.
bool same_function(const model::Function& a, const model::Function& b) {
  return a.function == b.function && a.type == b.type && a.parameters == b.parameters;
}

// Parameters tune a rule without changing what it checks or where.
bool same_rule(const model::Rule& a, const model::Rule& b) {
  return a.rule == b.rule && a.target == b.target && a.phase == b.phase;
}

template <class T, class Same>
void compare_collection(std::string_view collection, const std::vector<T>& source, const std::vector<T>& target,
                        Same same, bool is_rules, ComparisonOutcome& outcome) {
  auto pairs = pair_by_key(source, target, id_of<T>);
  for (const auto& p : pairs)
    if (!p.target) emit(outcome, is_rules ? findings::kRuleRemoved : findings::kEntryRemoved, {collection, p.key},
                        {collection, p.key});
  for (const auto& p : pairs)
    if (!p.source) emit(outcome, is_rules ? findings::kRuleAdded : findings::kEntryAdded, {collection, p.key},
                        {collection, p.key});
  for (const auto& p : pairs)
    if (p.source && p.target && !same(*p.source, *p.target))
      emit(outcome, is_rules ? findings::kRuleChanged : findings::kEntryChanged, {collection, p.key},
           {collection, p.key});
}

void compare_semantics(const TransformationContract& s, const TransformationContract& t, ComparisonOutcome& out) {
  compare_collection("semanticActions", s.semantic_actions, t.semantic_actions, same_action, false, out);
  compare_collection("expressions", s.expressions, t.expressions, same_expression, false, out);
  compare_collection("functions", s.functions, t.functions, same_function, false, out);
  compare_collection("rules", s.rules, t.rules, same_rule, true, out);
}

const std::vector<model::LineageMapping>& mappings_of(const TransformationContract& contract) {
  static const std::vector<model::LineageMapping> kNone;
  return contract.lineage ? contract.lineage->mappings : kNone;
}

void compare_lineage(const TransformationContract& s, const TransformationContract& t, ComparisonOutcome& out) {
  auto output_of = [](const model::LineageMapping& m) -> std::string_view { return m.output; };
  auto text = [](const std::string& name) -> std::string_view { return name; };
  auto pairs = pair_by_key(mappings_of(s), mappings_of(t), output_of);
  for (const auto& p : pairs) {
    if (!p.source) continue;
    if (!p.target)
      emit(out, findings::kMappingRemoved, {p.key}, {p.key});
    else if (!keyed::same_key_set(p.source->inputs, p.target->inputs, text))
      emit(out, findings::kMappingInputsChanged, {p.key}, {p.key});
  }
  for (const auto& p : pairs)
    if (!p.source) emit(out, findings::kMappingAdded, {p.key}, {p.key});
}

// A block present on one side only differs, whatever it holds.
template <class Block, class Value>
bool block_differs(const Block* a, const Block* b, Value value) {
  if (!a || !b) return a != b;
  return value(*a) != value(*b);
}

void compare_metadata(const TransformationContract& s, const TransformationContract& t, ComparisonOutcome& out) {
  auto governance = [](const TransformationContract& c) {
    return c.metadata && c.metadata->governance ? &*c.metadata->governance : nullptr;
  };
  auto documentation = [](const TransformationContract& c) {
    return c.metadata && c.metadata->documentation ? &*c.metadata->documentation : nullptr;
  };
  if (block_differs(governance(s), governance(t), [](const model::GovernanceMetadata& g) { return g.owner; }))
    emit(out, findings::kGovernanceOwner, {}, {});
  if (block_differs(documentation(s), documentation(t),
                    [](const model::DocumentationMetadata& d) { return d.description; }))
    emit(out, findings::kDocumentationDescription, {}, {});
}

// Only the keys count: a value may change under an unchanged key.
void compare_extensions(const TransformationContract& s, const TransformationContract& t, ComparisonOutcome& out) {
  auto key_of = [](const auto& entry) -> std::string_view { return entry.first; };
  auto pairs = pair_by_key(s.extensions, t.extensions, key_of);
  for (const auto& p : pairs)
    if (!p.target) emit(out, findings::kExtensionKeyRemoved, {p.key}, {p.key});
  for (const auto& p : pairs)
    if (!p.source) emit(out, findings::kExtensionKeyAdded, {p.key}, {p.key});
}

}  // namespace

void ComparisonOutcome::push(InternalDiff diff) {
  if (diff.kind != DiffKind::Informational) changes.push_back({diff.category, diff.message, diff.object_ref});
  diffs.push_back(std::move(diff));
}

ComparisonOutcome compare_contracts(const TransformationContract& source, const TransformationContract& target,
                                    types::ComparisonScope scope) {
  ComparisonOutcome outcome;
  if (source.vorn_version != target.vorn_version)
    emit(outcome, findings::kVornVersion, {source.vorn_version, target.vorn_version}, {});
  if (scope.interfaces || scope.types) compare_interfaces(source, target, scope, outcome);
  if (scope.semantics) compare_semantics(source, target, outcome);
  if (scope.lineage) compare_lineage(source, target, outcome);
  if (scope.metadata) compare_metadata(source, target, outcome);
  if (scope.extensions) compare_extensions(source, target, outcome);
  return outcome;
}

}  // namespace vorn::compatibility::compare
