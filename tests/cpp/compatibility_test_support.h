#pragma once
// Contracts for the comparison tests: a fixed identity and a body, which
// may set its own vornVersion.

#include <string>

#include "validation_test_support.h"

namespace vorn::compatibility_test {

inline model::TransformationContract contract_of(const std::string& body) {
  std::string version = body.find("vornVersion") == std::string::npos ? "vornVersion: 1.0.0\n" : "";
  return validation_test::contract_of(version + "id: c\nname: n\nversion: 1.0.0\n" + body);
}

}  // namespace vorn::compatibility_test
