#include "plan/model/node.h"

#include "parser/record_io.h"

namespace vorn::plan::model {
namespace {

struct KindCodec {
  static bool read(parser::EventReader& r, PlanNodeKind& v) { return PlanNodeKind::read(r, v); }
  static void write_field(JsonWriter& w, std::string_view k, const PlanNodeKind& v) {
    w.key(k);
    v.serialize(w);
  }
};

}  // namespace

const parser::RecordSpec<PlanNode>& PlanNode::spec() {
  using T = PlanNode;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "id", id, parser::Text, true),
      VORN_FIELD(T, "kind", kind, KindCodec, true),
      VORN_FIELD(T, "objectRef", object_ref, parser::Text, true),
  };
  static const parser::RecordSpec<T> spec{"struct PlanNode", fields, nullptr, "struct PlanNode with 3 elements"};
  return spec;
}

}  // namespace vorn::plan::model
