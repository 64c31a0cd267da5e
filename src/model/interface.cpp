#include "model/interface.h"

#include "parser/record_io.h"

namespace vorn::model {

using parser::Enum;
using parser::Flag;
using parser::ListOmitEmpty;
using parser::OptRecord;
using parser::Record;
using parser::Text;

namespace {

constexpr std::string_view kStreamingModeNames[] = {"bounded", "unbounded"};
constexpr parser::EnumSpec kStreamingMode{"enum StreamingMode", kStreamingModeNames};
using StreamingModeCodec = Enum<StreamingMode, kStreamingMode>;

}  // namespace

std::string_view to_string(StreamingMode mode) {
  return kStreamingModeNames[static_cast<std::size_t>(mode)];
}

std::string_view display_name(StreamingMode mode) {
  return mode == StreamingMode::Bounded ? "Bounded" : "Unbounded";
}

const parser::RecordSpec<StreamingDeclaration>& StreamingDeclaration::spec() {
  using T = StreamingDeclaration;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "mode", mode, StreamingModeCodec, true),
  };
  static const parser::RecordSpec<T> spec{"struct StreamingDeclaration", fields, nullptr,
                                          "struct StreamingDeclaration with 1 element"};
  return spec;
}

const parser::RecordSpec<InterfaceCondition>& InterfaceCondition::spec() {
  using T = InterfaceCondition;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "rule", rule, Text, true),
  };
  static const parser::RecordSpec<T> spec{"struct InterfaceCondition", fields, nullptr,
                                          "struct InterfaceCondition with 1 element"};
  return spec;
}

const parser::RecordSpec<Input>& Input::spec() {
  using T = Input;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, Text, true),
      VORN_FIELD(T, "schema", schema, OptRecord<Schema>, false),
      VORN_FIELD(T, "optional", optional, Flag, false),
      VORN_FIELD(T, "streaming", streaming, OptRecord<StreamingDeclaration>, false),
      VORN_FIELD(T, "preconditions", preconditions, ListOmitEmpty<Record<InterfaceCondition>>, false),
      VORN_FIELD(T, "metadata", metadata, OptRecord<Metadata>, false),
  };
  static const parser::RecordSpec<T> spec{"struct Input", fields, &Input::extensions};
  return spec;
}

const parser::RecordSpec<Output>& Output::spec() {
  using T = Output;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, Text, true),
      VORN_FIELD(T, "schema", schema, OptRecord<Schema>, false),
      VORN_FIELD(T, "streaming", streaming, OptRecord<StreamingDeclaration>, false),
      VORN_FIELD(T, "postconditions", postconditions, ListOmitEmpty<Record<InterfaceCondition>>, false),
      VORN_FIELD(T, "metadata", metadata, OptRecord<Metadata>, false),
  };
  static const parser::RecordSpec<T> spec{"struct Output", fields, &Output::extensions};
  return spec;
}

bool Input::operator==(const Input& o) const {
  return id == o.id && schema == o.schema && optional == o.optional && streaming == o.streaming &&
         preconditions == o.preconditions && metadata == o.metadata &&
         json_map_equal(extensions, o.extensions);
}

bool Output::operator==(const Output& o) const {
  return id == o.id && schema == o.schema && streaming == o.streaming &&
         postconditions == o.postconditions && metadata == o.metadata &&
         json_map_equal(extensions, o.extensions);
}

}  // namespace vorn::model
