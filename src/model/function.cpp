#include "model/function.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::Flag;
using parser::FlagIfTrue;
using parser::ListOmitEmpty;
using parser::OptRecord;
using parser::OptText;
using parser::Record;
using parser::Text;

const parser::RecordSpec<FunctionParameter>& FunctionParameter::spec() {
  using T = FunctionParameter;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "name", name, Text, true),
      VORN_FIELD(T, "type", type, Text, true),
      VORN_FIELD(T, "optional", optional, Flag, false),
  };
  static const parser::RecordSpec<T> spec{"struct FunctionParameter", fields, nullptr,
                                          "struct FunctionParameter with 3 elements"};
  return spec;
}

const parser::RecordSpec<Function>& Function::spec() {
  using T = Function;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, Text, true),
      VORN_FIELD(T, "function", function, Text, true),
      VORN_FIELD(T, "type", type, OptText, false),
      VORN_FIELD(T, "nullable", nullable, FlagIfTrue, false),
      VORN_FIELD(T, "parameters", parameters, ListOmitEmpty<Record<FunctionParameter>>, false),
      VORN_FIELD(T, "metadata", metadata, OptRecord<Metadata>, false),
  };
  static const parser::RecordSpec<T> spec{"struct Function", fields, nullptr,
                                          "struct Function with 6 elements"};
  return spec;
}

}  // namespace vorn::model
