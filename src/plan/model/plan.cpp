#include "plan/model/plan.h"

#include "parser/json_events.h"
#include "parser/record_io.h"

namespace vorn::plan::model {

using parser::List;
using parser::ListOmitEmpty;
using parser::OptRecord;
using parser::Record;
using parser::Text;

const parser::RecordSpec<PlanIdentity>& PlanIdentity::spec() {
  using T = PlanIdentity;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "vornVersion", vorn_version, Text, true),
      VORN_FIELD(T, "id", id, Text, true),
      VORN_FIELD(T, "name", name, Text, true),
      VORN_FIELD(T, "version", version, Text, true),
  };
  static const parser::RecordSpec<T> spec{"struct PlanIdentity", fields, nullptr,
                                          "struct PlanIdentity with 4 elements"};
  return spec;
}

const parser::RecordSpec<TransformationPlan>& TransformationPlan::spec() {
  using T = TransformationPlan;
  namespace m = vorn::model;
  // An insertion-ordered map of JSON values, written only when not empty.
  using Extensions = parser::Params;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "identity", identity, Record<PlanIdentity>, true),
      VORN_FIELD(T, "inputs", inputs, List<Record<m::Input>>, true),
      VORN_FIELD(T, "outputs", outputs, List<Record<m::Output>>, true),
      VORN_FIELD(T, "functions", functions, ListOmitEmpty<Record<m::Function>>, false),
      VORN_FIELD(T, "nodes", nodes, List<Record<PlanNode>>, true),
      VORN_FIELD(T, "dependencies", dependencies, List<Record<PlanDependency>>, true),
      VORN_FIELD(T, "lineage", lineage, OptRecord<m::Lineage>, false),
      VORN_FIELD(T, "guarantees", guarantees, Record<PlanGuarantees>, true),
      VORN_FIELD(T, "metadata", metadata, OptRecord<m::Metadata>, false),
      VORN_FIELD(T, "versioning", versioning, OptRecord<m::Versioning>, false),
      VORN_FIELD(T, "extensions", extensions, Extensions, false),
      VORN_FIELD(T, "findings", findings, ListOmitEmpty<Record<analysis::AnalysisFinding>>, false),
  };
  static const parser::RecordSpec<T> spec{"struct TransformationPlan", fields, nullptr,
                                          "struct TransformationPlan with 12 elements"};
  return spec;
}

bool TransformationPlan::operator==(const TransformationPlan& o) const {
  return identity == o.identity && inputs == o.inputs && outputs == o.outputs && functions == o.functions &&
         nodes == o.nodes && dependencies == o.dependencies && lineage == o.lineage &&
         guarantees == o.guarantees && metadata == o.metadata && versioning == o.versioning &&
         vorn::model::json_map_equal(extensions, o.extensions) && findings == o.findings;
}

Result<TransformationPlan> TransformationPlan::from_json(std::string_view text) {
  auto events = parser::json::read_events(text);
  if (!events) return Error{std::move(events).take_error()};
  if (events->events.empty()) return Error{"EOF while parsing a value"};
  parser::EventReader reader(events.value());
  TransformationPlan plan;
  if (!parser::read_record(reader, plan)) return Error{reader.error()};
  return plan;
}

void TransformationPlan::serialize(JsonWriter& w) const { parser::write_record(w, *this); }

std::string TransformationPlan::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::plan::model
