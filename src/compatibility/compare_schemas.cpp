// Schemas compared field by field: removed, retyped, re-nulled, added.

#include "compatibility/compare.h"
#include "compatibility/findings.h"
#include "compatibility/keyed_pairs.h"
#include "model/types/logical_type.h"

namespace vorn::compatibility::compare {
namespace {

using findings::emit;
using model::types::LogicalType;

// Which finding, if any, a change of declared type makes. Texts that do not
// parse are a change in themselves; integer and decimal widen or narrow
// into each other; otherwise only types that convert without loss match.
std::optional<findings::Finding> type_finding(const std::string& source, const std::string& target) {
  if (source == target) return std::nullopt;
  auto from = model::types::parse_logical_type(source);
  auto to = model::types::parse_logical_type(target);
  if (!from || !to) return findings::kTypeChanged;
  const auto* from_primitive = from.value().get_if<LogicalType::Primitive>();
  const auto* to_primitive = to.value().get_if<LogicalType::Primitive>();
  if (from_primitive && to_primitive) {
    if (from_primitive->name == "integer" && to_primitive->name == "decimal") return findings::kTypeWidened;
    if (from_primitive->name == "decimal" && to_primitive->name == "integer") return findings::kTypeNarrowed;
  }
  if (model::types::type_compatible(from.value(), to.value()) == model::types::TypeCompatibility::Compatible)
    return std::nullopt;
  return findings::kTypeChanged;
}

void compare_field(std::string_view path, std::string_view name, const model::Field& source,
                   const model::Field& target, ComparisonOutcome& out) {
  if (auto finding = type_finding(source.type, target.type))
    emit(out, *finding, {name, source.type, target.type}, {path, name});
  if (!source.nullable && target.nullable) emit(out, findings::kNowNullable, {name}, {path, name});
  if (source.nullable && !target.nullable) emit(out, findings::kNowNonNullable, {name}, {path, name});
}

}  // namespace

void compare_schemas(std::string_view path, const model::Schema* source, const model::Schema* target,
                     ComparisonOutcome& outcome) {
  if (!source && !target) return;
  if (!source || !target) {
    emit(outcome, findings::kSchemaPresence, {path}, {path});
    return;
  }
  auto name_of = [](const model::Field& f) -> std::string_view { return f.name; };
  auto pairs = keyed::pair_by_key(source->fields, target->fields, name_of);
  for (const auto& p : pairs) {
    if (!p.source) continue;
    if (!p.target)
      emit(outcome, p.source->nullable ? findings::kNullableFieldRemoved : findings::kRequiredFieldRemoved,
           {p.key, path}, {path, p.key});
    else
      compare_field(path, p.key, *p.source, *p.target, outcome);
  }
  for (const auto& p : pairs)
    if (!p.source) emit(outcome, findings::kFieldAdded, {p.key, path}, {path, p.key});
}

}  // namespace vorn::compatibility::compare
