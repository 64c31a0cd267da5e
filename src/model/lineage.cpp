#include "model/lineage.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::List;
using parser::Record;
using parser::Text;

const parser::RecordSpec<LineageMapping>& LineageMapping::spec() {
  using T = LineageMapping;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "output", output, Text, true),
      VORN_FIELD(T, "inputs", inputs, List<Text>, false),
  };
  static const parser::RecordSpec<T> spec{"struct LineageMapping", fields, nullptr,
                                          "struct LineageMapping with 2 elements"};
  return spec;
}

const parser::RecordSpec<Lineage>& Lineage::spec() {
  using T = Lineage;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "mappings", mappings, List<Record<LineageMapping>>, false),
  };
  static const parser::RecordSpec<T> spec{"struct Lineage", fields, nullptr,
                                          "struct Lineage with 1 element"};
  return spec;
}

}  // namespace vorn::model
