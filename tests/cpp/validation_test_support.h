#pragma once
// Shared by the validation tests: contracts from YAML text, and diagnostic
// lists compared as whole JSON texts.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "parser/parse.h"
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
