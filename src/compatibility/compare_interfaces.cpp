#include "compatibility/compare_interfaces.h"

#include <fmt/format.h>

#include "compatibility/findings.h"
#include "compatibility/keyed_pairs.h"

namespace vorn::compatibility::compare {
namespace {

using findings::emit;

template <class T>
std::string_view id_of(const T& record) {
  return record.id;
}

std::optional<model::StreamingMode> mode_of(const std::optional<model::StreamingDeclaration>& streaming) {
  if (!streaming) return std::nullopt;
  return streaming->mode;
}

const model::Schema* schema_of(const std::optional<model::Schema>& schema) { return schema ? &*schema : nullptr; }

void compare_inputs(const std::vector<model::Input>& source, const std::vector<model::Input>& target,
                    types::ComparisonScope scope, ComparisonOutcome& out) {
  auto pairs = keyed::pair_by_key(source, target, id_of<model::Input>);
  if (scope.interfaces) {
    for (const auto& p : pairs) {
      if (!p.source) continue;
      if (!p.target) {
        emit(out, p.source->optional ? findings::kOptionalInputRemoved : findings::kRequiredInputRemoved, {p.key},
             {p.key});
        continue;
      }
      if (p.source->optional != p.target->optional)
        emit(out, p.target->optional ? findings::kInputNowOptional : findings::kInputNowRequired, {p.key}, {p.key});
      compare_streaming(fmt::format("inputs.{}.streaming", p.key), mode_of(p.source->streaming),
                        mode_of(p.target->streaming), out);
      compare_conditions(fmt::format("inputs.{}.preconditions", p.key), p.source->preconditions,
                         p.target->preconditions, "precondition", out);
    }
    for (const auto& p : pairs)
      if (!p.source)
        emit(out, p.target->optional ? findings::kOptionalInputAdded : findings::kRequiredInputAdded, {p.key},
             {p.key});
  }
  if (scope.types)
    for (const auto& p : pairs)
      if (p.source && p.target)
        compare_schemas(fmt::format("inputs.{}.schema", p.key), schema_of(p.source->schema),
                        schema_of(p.target->schema), out);
}

void compare_outputs(const std::vector<model::Output>& source, const std::vector<model::Output>& target,
                     types::ComparisonScope scope, ComparisonOutcome& out) {
  auto pairs = keyed::pair_by_key(source, target, id_of<model::Output>);
  if (scope.interfaces) {
    for (const auto& p : pairs)
      if (!p.target) emit(out, findings::kOutputRemoved, {p.key}, {p.key});
    for (const auto& p : pairs)
      if (!p.source) emit(out, findings::kOutputAdded, {p.key}, {p.key});
    for (const auto& p : pairs) {
      if (!p.source || !p.target) continue;
      compare_streaming(fmt::format("outputs.{}.streaming", p.key), mode_of(p.source->streaming),
                        mode_of(p.target->streaming), out);
      compare_conditions(fmt::format("outputs.{}.postconditions", p.key), p.source->postconditions,
                         p.target->postconditions, "postcondition", out);
    }
  }
  if (scope.types)
    for (const auto& p : pairs)
      if (p.source && p.target)
        compare_schemas(fmt::format("outputs.{}.schema", p.key), schema_of(p.source->schema),
                        schema_of(p.target->schema), out);
}

}  // namespace

void compare_interfaces(const model::TransformationContract& source, const model::TransformationContract& target,
                        types::ComparisonScope scope, ComparisonOutcome& outcome) {
  compare_inputs(source.inputs, target.inputs, scope, outcome);
  compare_outputs(source.outputs, target.outputs, scope, outcome);
}

void compare_streaming(std::string_view path, std::optional<model::StreamingMode> source,
                       std::optional<model::StreamingMode> target, ComparisonOutcome& outcome) {
  if (source == target) return;
  if (source && target)
    emit(outcome, findings::kStreamingModeChanged, {model::display_name(*source), model::display_name(*target), path},
         {path});
  else
    emit(outcome, findings::kStreamingDeclarationChanged, {path}, {path});
}

void compare_conditions(std::string_view path, const std::vector<model::InterfaceCondition>& source,
                        const std::vector<model::InterfaceCondition>& target, std::string_view label,
                        ComparisonOutcome& outcome) {
  auto rule_of = [](const model::InterfaceCondition& c) -> std::string_view { return c.rule; };
  if (!keyed::same_key_set(source, target, rule_of))
    emit(outcome, findings::kConditionsChanged, {label, path}, {path});
}

}  // namespace vorn::compatibility::compare
