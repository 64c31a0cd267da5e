#pragma once
// One problem found in a document, contract, registry or plan, as data.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/codes.h"
#include "support/json_writer.h"

namespace vorn::diagnostics {

enum class DiagnosticSeverity : std::uint8_t { Information = 0, Warning = 1, Error = 2 };

enum class DiagnosticStage : std::uint8_t {
  Parse = 0,
  CanonicalObjectModel = 1,
  Validation = 2,
  Analysis = 3,
  Planning = 4,
  Optimization = 5,
  Compilation = 6,
  Runtime = 7,
};

enum class DiagnosticCategory : std::uint8_t {
  Syntax = 0,
  Structure = 1,
  Type = 2,
  Reference = 3,
  Semantic = 4,
  Compatibility = 5,
  Capability = 6,
  Runtime = 7,
  Extension = 8,
};

std::string_view to_string(DiagnosticSeverity s);
std::string_view to_string(DiagnosticStage s);
std::string_view to_string(DiagnosticCategory c);

struct Diagnostic {
  std::string id;
  DiagnosticSeverity severity = DiagnosticSeverity::Error;
  DiagnosticStage stage = DiagnosticStage::Parse;
  DiagnosticCategory category = DiagnosticCategory::Syntax;
  std::string message;
  std::optional<std::string> object_ref;
  std::optional<std::string> remediation;

  static Diagnostic make(std::string_view code, DiagnosticSeverity severity, DiagnosticStage stage,
                         DiagnosticCategory category, std::string message);
  static Diagnostic make(Code code, DiagnosticSeverity severity, DiagnosticStage stage,
                         DiagnosticCategory category, std::string message) {
    return make(code_id(code), severity, stage, category, std::move(message));
  }

  Diagnostic with_object_ref(std::string ref) &&;
  Diagnostic with_remediation(std::string text) &&;

  bool is_error() const { return severity == DiagnosticSeverity::Error; }

  void serialize(JsonWriter& w) const;
};

bool has_error(const std::vector<Diagnostic>& diagnostics);

}  // namespace vorn::diagnostics
