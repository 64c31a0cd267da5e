#pragma once
// The typed fields of an interface. Type texts are kept as written and
// parsed on demand.

#include <string>
#include <vector>

#include "parser/record_spec.h"

namespace vorn::model {

struct TypeConversion {
  std::string from;
  std::string to;
  bool lossy = false;

  bool operator==(const TypeConversion&) const = default;
  static const parser::RecordSpec<TypeConversion>& spec();
};

struct Field {
  std::string name;
  std::string type;
  bool nullable = false;
  std::vector<TypeConversion> conversions;

  bool operator==(const Field&) const = default;
  static const parser::RecordSpec<Field>& spec();
};

struct Schema {
  std::vector<Field> fields;

  bool operator==(const Schema&) const = default;
  static const parser::RecordSpec<Schema>& spec();
};

}  // namespace vorn::model
