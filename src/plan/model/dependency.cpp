#include "plan/model/dependency.h"

#include "parser/record_io.h"

namespace vorn::plan::model {
namespace {

constexpr std::string_view kReasonNames[] = {"lineage",       "fieldRead", "fieldWrite",
                                             "explicitOrder", "rulePhase", "interfaceCondition"};
constexpr parser::EnumSpec kReason{"enum DependencyReason", kReasonNames};

}  // namespace

std::string_view to_string(DependencyReason reason) { return kReasonNames[static_cast<std::size_t>(reason)]; }

const parser::RecordSpec<PlanDependency>& PlanDependency::spec() {
  using T = PlanDependency;
  using ReasonCodec = parser::Enum<DependencyReason, kReason>;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "from", from, parser::Text, true),
      VORN_FIELD(T, "to", to, parser::Text, true),
      VORN_FIELD(T, "reason", reason, ReasonCodec, true),
  };
  static const parser::RecordSpec<T> spec{"struct PlanDependency", fields, nullptr,
                                          "struct PlanDependency with 3 elements"};
  return spec;
}

}  // namespace vorn::plan::model
