#include "model/identifiers.h"

namespace vorn::model::identifiers {

bool is_vendor_namespaced_identifier(std::string_view text) {
  std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon + 1 == text.size()) return false;
  std::string_view ns = text.substr(0, colon);
  // These namespaces belong to the system itself or read as URLs.
  return ns != "vorn" && ns != "http" && ns != "https";
}

}  // namespace vorn::model::identifiers
