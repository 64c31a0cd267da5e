#include "model/versioning.h"

#include "parser/record_io.h"

namespace vorn::model {

const parser::RecordSpec<Versioning>& Versioning::spec() {
  using T = Versioning;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "compatibility", compatibility, parser::OptText, false),
  };
  static const parser::RecordSpec<T> spec{"struct Versioning", fields, nullptr,
                                          "struct Versioning with 1 element"};
  return spec;
}

}  // namespace vorn::model
