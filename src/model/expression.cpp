#include "model/expression.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::OptRecord;
using parser::OptText;
using parser::Text;

const parser::RecordSpec<Expression>& Expression::spec() {
  using T = Expression;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, Text, true),
      VORN_FIELD(T, "expr", expr, OptText, false),
      VORN_FIELD(T, "type", type, OptText, false),
      VORN_FIELD(T, "metadata", metadata, OptRecord<Metadata>, false),
  };
  static const parser::RecordSpec<T> spec{"struct Expression", fields, nullptr,
                                          "struct Expression with 4 elements"};
  return spec;
}

}  // namespace vorn::model
