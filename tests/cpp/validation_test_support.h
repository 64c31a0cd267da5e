#pragma once
// Shared by the validation tests: contracts from YAML text, and diagnostic
// lists compared as whole JSON texts.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "parser/parse.h"
#include "registry/load.h"
#include "support/json_writer.h"

namespace vorn::validation_test {

// A valid header; tests append the body.
inline constexpr const char* kHeader = "vornVersion: 1.0.0\nid: c\nname: n\nversion: 1.0.0\n";

inline model::TransformationContract contract_of(const std::string& yaml) {
  auto result = parser::parse(yaml, parser::DocumentFormat::Yaml);
  if (!result.contract) {
    ADD_FAILURE() << "test document does not parse: " << result.report.to_json() << "\n" << yaml;
    return {};
  }
  return std::move(*result.contract);
}

inline std::string json_of(const std::vector<diagnostics::Diagnostic>& list) {
  JsonWriter w;
  w.begin_array();
  for (const auto& d : list) d.serialize(w);
  w.end_array();
  return w.take();
}

// A registry of the given entries, a JSON object text whose entries may be
// arrays of their values in key order.
inline model::registry::RegistryDocument registry_of(const std::string& entries) {
  auto loaded = registry::load::load_bytes(
      R"({"id":"t","version":"1.0.0","governingSpecification":"1.0.0-draft","publicationStatus":"draft",)"
      R"("entries":)" + entries + "}",
      true);
  if (!loaded) ADD_FAILURE() << "test registry does not load: " << json_of(loaded.diagnostics());
  return loaded ? std::move(loaded).value() : model::registry::RegistryDocument{};
}

// One expected diagnostic, an error unless said otherwise.
struct Expected {
  std::string code;
  std::string stage;  // "validation" or "canonicalObjectModel"
  std::string category;
  std::string message;
  std::optional<std::string> object_ref;
  std::optional<std::string> remediation;
  std::string severity = "error";
};

// A validation-stage error; an empty remediation stands for none.
inline Expected error(std::string code, std::string category, std::string message, std::string object_ref,
                      std::string remediation = "") {
  return {std::move(code), "validation", std::move(category), std::move(message), std::move(object_ref),
          remediation.empty() ? std::nullopt : std::optional<std::string>(std::move(remediation))};
}

// One document and everything the passes under test must report on it.
struct PassCase {
  const char* name;
  std::string body;  // appended to kHeader
  std::vector<Expected> expected;
};

inline std::string case_name(const ::testing::TestParamInfo<PassCase>& info) { return info.param.name; }

// Written key by key here, so that a diagnostic's own writer is not what
// produces the expected text.
inline std::string json_of(const std::vector<Expected>& list) {
  JsonWriter w;
  w.begin_array();
  for (const Expected& e : list) {
    w.begin_object();
    w.key("id");
    w.string(e.code);
    w.key("severity");
    w.string(e.severity);
    w.key("stage");
    w.string(e.stage);
    w.key("category");
    w.string(e.category);
    w.key("message");
    w.string(e.message);
    if (e.object_ref) {
      w.key("objectRef");
      w.string(*e.object_ref);
    }
    if (e.remediation) {
      w.key("remediation");
      w.string(*e.remediation);
    }
    w.end_object();
  }
  w.end_array();
  return w.take();
}

}  // namespace vorn::validation_test
