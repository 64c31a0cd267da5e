#pragma once
// An ordered list of diagnostics; its JSON form is {"diagnostics":[...]}.

#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"

namespace vorn::diagnostics {

struct DiagnosticReport {
  std::vector<Diagnostic> diagnostics;

  void push(Diagnostic d) { diagnostics.push_back(std::move(d)); }
  bool has_error() const { return diagnostics::has_error(diagnostics); }

  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

}  // namespace vorn::diagnostics
