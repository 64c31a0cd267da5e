#pragma once
// The datasets a contract reads (Input) and writes (Output).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/json_value.h"
#include "model/metadata.h"
#include "model/types/schema.h"
#include "parser/record_spec.h"
#include "support/optional_box.h"

namespace vorn::model {

enum class StreamingMode : std::uint8_t { Bounded, Unbounded };

std::string_view to_string(StreamingMode mode);
// Display name used in change messages: "Bounded", "Unbounded".
std::string_view display_name(StreamingMode mode);

struct StreamingDeclaration {
  StreamingMode mode = StreamingMode::Bounded;

  bool operator==(const StreamingDeclaration&) const = default;
  static const parser::RecordSpec<StreamingDeclaration>& spec();
};

struct InterfaceCondition {
  std::string rule;

  bool operator==(const InterfaceCondition&) const = default;
  static const parser::RecordSpec<InterfaceCondition>& spec();
};

struct Input {
  std::string id;
  std::optional<Schema> schema;
  bool optional = false;
  std::optional<StreamingDeclaration> streaming;
  std::vector<InterfaceCondition> preconditions;
  OptionalBox<Metadata> metadata;
  JsonMap extensions;

  bool operator==(const Input& other) const;
  static const parser::RecordSpec<Input>& spec();
};

struct Output {
  std::string id;
  std::optional<Schema> schema;
  std::optional<StreamingDeclaration> streaming;
  std::vector<InterfaceCondition> postconditions;
  OptionalBox<Metadata> metadata;
  JsonMap extensions;

  bool operator==(const Output& other) const;
  static const parser::RecordSpec<Output>& spec();
};

}  // namespace vorn::model
