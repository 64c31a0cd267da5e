#include "model/action.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::OptRecord;
using parser::Text;

const parser::RecordSpec<SemanticAction>& SemanticAction::spec() {
  using T = SemanticAction;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, Text, true),
      VORN_FIELD(T, "action", action, Text, true),
      VORN_FIELD(T, "target", target, Text, true),
      VORN_FIELD(T, "metadata", metadata, OptRecord<Metadata>, false),
  };
  static const parser::RecordSpec<T> spec{"struct SemanticAction", fields, nullptr,
                                          "struct SemanticAction with 4 elements"};
  return spec;
}

}  // namespace vorn::model
