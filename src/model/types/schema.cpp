#include "model/types/schema.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::Flag;
using parser::List;
using parser::ListOmitEmpty;
using parser::Record;
using parser::Text;

const parser::RecordSpec<TypeConversion>& TypeConversion::spec() {
  using T = TypeConversion;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "from", from, Text, true),
      VORN_FIELD(T, "to", to, Text, true),
      VORN_FIELD(T, "lossy", lossy, Flag, false),
  };
  static const parser::RecordSpec<T> spec{"struct TypeConversion", fields, nullptr,
                                          "struct TypeConversion with 3 elements"};
  return spec;
}

const parser::RecordSpec<Field>& Field::spec() {
  using T = Field;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "name", name, Text, true),
      VORN_FIELD(T, "type", type, Text, true),
      VORN_FIELD(T, "nullable", nullable, Flag, true),
      VORN_FIELD(T, "conversions", conversions, ListOmitEmpty<Record<TypeConversion>>, false),
  };
  static const parser::RecordSpec<T> spec{"struct Field", fields, nullptr,
                                          "struct Field with 4 elements"};
  return spec;
}

const parser::RecordSpec<Schema>& Schema::spec() {
  using T = Schema;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "fields", fields, List<Record<Field>>, false),
  };
  static const parser::RecordSpec<T> spec{"struct Schema", fields, nullptr,
                                          "struct Schema with 1 element"};
  return spec;
}

}  // namespace vorn::model
