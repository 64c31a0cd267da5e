#include "model/contract.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::List;
using parser::OptRecord;
using parser::Record;
using parser::Text;

const parser::RecordSpec<TransformationContract>& TransformationContract::spec() {
  using T = TransformationContract;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "vornVersion", vorn_version, Text, true),
      VORN_FIELD(T, "id", id, Text, true),
      VORN_FIELD(T, "name", name, Text, true),
      VORN_FIELD(T, "version", version, Text, true),
      VORN_FIELD(T, "metadata", metadata, OptRecord<Metadata>, false),
      VORN_FIELD(T, "inputs", inputs, List<Record<Input>>, false),
      VORN_FIELD(T, "outputs", outputs, List<Record<Output>>, false),
      VORN_FIELD(T, "semanticActions", semantic_actions, List<Record<SemanticAction>>, false),
      VORN_FIELD(T, "expressions", expressions, List<Record<Expression>>, false),
      VORN_FIELD(T, "functions", functions, List<Record<Function>>, false),
      VORN_FIELD(T, "rules", rules, List<Record<Rule>>, false),
      VORN_FIELD(T, "lineage", lineage, OptRecord<Lineage>, false),
      VORN_FIELD(T, "versioning", versioning, OptRecord<Versioning>, false),
      VORN_FIELD(T, "semantics", semantics, OptRecord<TransformationSemantics>, false),
  };
  static const parser::RecordSpec<T> spec{"struct TransformationContract", fields,
                                          &TransformationContract::extensions};
  return spec;
}

bool TransformationContract::operator==(const TransformationContract& o) const {
  return vorn_version == o.vorn_version && id == o.id && name == o.name && version == o.version &&
         metadata == o.metadata && inputs == o.inputs && outputs == o.outputs &&
         semantic_actions == o.semantic_actions && expressions == o.expressions &&
         functions == o.functions && rules == o.rules && lineage == o.lineage &&
         versioning == o.versioning && semantics == o.semantics &&
         json_map_equal(extensions, o.extensions);
}

Result<TransformationContract> TransformationContract::deserialize(const parser::EventStream& events) {
  parser::EventReader reader(events);
  TransformationContract contract;
  if (events.events.empty()) return Error{"EOF while parsing a value"};
  if (!parser::read_record(reader, contract)) return Error{reader.error()};
  return contract;
}

void TransformationContract::serialize(JsonWriter& w) const { parser::write_record(w, *this); }

std::string TransformationContract::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::model
