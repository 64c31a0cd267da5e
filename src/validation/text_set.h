#pragma once
// A set of texts borrowed from the contract, compared byte for byte, for
// the checks that look for repeats. Open addressing over one vector: no
// allocation per entry, which matters for collections of many thousands.

#include <functional>
#include <string_view>
#include <vector>

#include <tsl/ordered_set.h>

namespace vorn::validation {

using TextSet = tsl::ordered_set<std::string_view, std::hash<std::string_view>, std::equal_to<std::string_view>,
                                 std::allocator<std::string_view>, std::vector<std::string_view>>;

}  // namespace vorn::validation
