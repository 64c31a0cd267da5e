#pragma once
// An informational observation of the contract analysis: not a problem,
// but worth telling (a constant expression, an output no lineage mentions).

#include <map>
#include <string>

#include "model/json_value.h"
#include "parser/record_spec.h"

namespace vorn {
class JsonWriter;
}

namespace vorn::analysis {

struct AnalysisFinding {
  std::string object_ref;  // such as "expressions.<id>"
  std::string kind;        // lower camel case, such as "constantExpression"
  std::string message;
  // Kept in ascending byte order of the keys.
  std::map<std::string, model::JsonValue> attributes;

  // Attribute values compare as JSON values: 1 and 1.0 differ.
  bool operator==(const AnalysisFinding& other) const;

  // {"objectRef":..,"kind":..,"message":..,"attributes":{..}}; the
  // attributes key is left out when there are none. Plans carry findings,
  // so they are read back by the same table.
  static const parser::RecordSpec<AnalysisFinding>& spec();
  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

}  // namespace vorn::analysis
