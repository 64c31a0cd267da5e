#include "compatibility/report.h"

#include "support/json_writer.h"

namespace vorn::compatibility::report {
namespace {

template <class T, class Write>
void write_list(JsonWriter& w, const std::vector<T>& items, Write write) {
  w.begin_array();
  for (const T& item : items) write(item);
  w.end_array();
}

void write_diagnostics(JsonWriter& w, const std::vector<diagnostics::Diagnostic>& list) {
  write_list(w, list, [&](const diagnostics::Diagnostic& d) { d.serialize(w); });
}

void write_aspect(JsonWriter& w, const types::AspectResult& aspect) {
  w.begin_object();
  w.key("aspect");
  w.string(aspect.aspect);
  w.key("compatible");
  w.boolean(aspect.compatible);
  w.key("message");
  w.string(aspect.message);
  w.end_object();
}

}  // namespace

void ContractChange::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("category");
  w.string(types::to_string(category));
  w.key("message");
  w.string(message);
  if (object_ref) {
    w.key("objectRef");
    w.string(*object_ref);
  }
  w.end_object();
}

void CompatibilityReport::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("level");
  w.string(types::to_string(level));
  w.key("aspects");
  write_list(w, aspects, [&](const types::AspectResult& a) { write_aspect(w, a); });
  w.key("diagnostics");
  write_diagnostics(w, diagnostics);
  w.end_object();
}

std::string CompatibilityReport::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

void EvolutionReport::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("sourceId");
  w.string(source_id);
  w.key("targetId");
  w.string(target_id);
  w.key("sameIdentity");
  w.boolean(same_identity);
  w.key("compatibility");
  w.string(types::to_string(compatibility));
  w.key("changes");
  write_list(w, changes, [&](const ContractChange& c) { c.serialize(w); });
  w.key("migrationHints");
  write_list(w, migration_hints, [&](const std::string& hint) { w.string(hint); });
  w.key("diagnostics");
  write_diagnostics(w, diagnostics);
  w.end_object();
}

std::string EvolutionReport::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::compatibility::report
