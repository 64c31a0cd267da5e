#pragma once
// Reading document files by path.

#include <cstddef>
#include <string>
#include <string_view>

#include "support/result.h"

namespace vorn {

// At most `limit` bytes of the file, or the operating system's error text.
// Never more, so that an endless or enormous file cannot exhaust memory.
Result<std::string> read_file_prefix(const std::string& path, std::size_t limit);

// The part of the last path component after its last dot; a component that
// begins with its only dot (".yaml") has none, and neither has "..".
std::string_view path_extension(std::string_view path);

}  // namespace vorn
