#include "model/rule.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::Enum;
using parser::OptRecord;
using parser::Params;
using parser::Text;

namespace {

constexpr std::string_view kPhaseNames[] = {"precondition", "execution", "postcondition"};
constexpr parser::EnumSpec kPhase{"enum RulePhase", kPhaseNames};
using PhaseCodec = Enum<RulePhase, kPhase>;

}  // namespace

std::string_view to_string(RulePhase phase) { return kPhaseNames[static_cast<std::size_t>(phase)]; }

const parser::RecordSpec<Rule>& Rule::spec() {
  using T = Rule;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, Text, true),
      VORN_FIELD(T, "rule", rule, Text, true),
      VORN_FIELD(T, "target", target, Text, true),
      VORN_FIELD(T, "phase", phase, PhaseCodec, true),
      VORN_FIELD(T, "parameters", parameters, Params, false),
      VORN_FIELD(T, "metadata", metadata, OptRecord<Metadata>, false),
  };
  static const parser::RecordSpec<T> spec{"struct Rule", fields, nullptr, "struct Rule with 6 elements"};
  return spec;
}

bool Rule::operator==(const Rule& o) const {
  return id == o.id && rule == o.rule && target == o.target && phase == o.phase &&
         json_map_equal(parameters, o.parameters) && metadata == o.metadata;
}

}  // namespace vorn::model
