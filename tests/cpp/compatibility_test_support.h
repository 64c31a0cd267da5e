#pragma once
// Contracts for the comparison tests: a body under a fixed header, of which
// the body may set any key itself.

#include <string>

#include "validation_test_support.h"

namespace vorn::compatibility_test {

inline model::TransformationContract contract_of(const std::string& body) {
  std::string header;
  for (const char* line : {"vornVersion: 1.0.0", "id: c", "name: n", "version: 1.0.0"}) {
    std::string key = std::string(line).substr(0, std::string(line).find(':') + 1);
    if (("\n" + body).find("\n" + key) == std::string::npos) header += std::string(line) + "\n";
  }
  return validation_test::contract_of(header + body);
}

}  // namespace vorn::compatibility_test
