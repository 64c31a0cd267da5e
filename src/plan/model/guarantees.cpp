#include "plan/model/guarantees.h"

#include "parser/record_io.h"

namespace vorn::plan::model {

const parser::RecordSpec<InterfaceConditionRef>& InterfaceConditionRef::spec() {
  using T = InterfaceConditionRef;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "interfaceId", interface_id, parser::Text, true),
      VORN_FIELD(T, "isInput", is_input, parser::Flag, true),
      VORN_FIELD(T, "ruleId", rule_id, parser::Text, true),
  };
  static const parser::RecordSpec<T> spec{"struct InterfaceConditionRef", fields, nullptr,
                                          "struct InterfaceConditionRef with 3 elements"};
  return spec;
}

const parser::RecordSpec<PlanGuarantees>& PlanGuarantees::spec() {
  using T = PlanGuarantees;
  using Conditions = parser::ListOmitEmpty<parser::Record<InterfaceConditionRef>>;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "semantics", semantics, parser::OptRecord<vorn::model::TransformationSemantics>, false),
      VORN_FIELD(T, "inputPreconditions", input_preconditions, Conditions, false),
      VORN_FIELD(T, "outputPostconditions", output_postconditions, Conditions, false),
  };
  static const parser::RecordSpec<T> spec{"struct PlanGuarantees", fields, nullptr,
                                          "struct PlanGuarantees with 3 elements"};
  return spec;
}

}  // namespace vorn::plan::model
