#pragma once
// Vendor-namespaced identifiers ("vendor:name"), shared by the type grammar
// and the checks on versions, interfaces, metadata, registries and
// extensions.

#include <string_view>

namespace vorn::model::identifiers {

// True when the text has a non-empty namespace before its first ":", some
// text after it, and the namespace is not reserved ("vorn", "http",
// "https"). The text is taken exactly as passed: no trimming, so a leading
// blank becomes part of the namespace.
bool is_vendor_namespaced_identifier(std::string_view text);

}  // namespace vorn::model::identifiers
