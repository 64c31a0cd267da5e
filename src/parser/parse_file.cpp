#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <fmt/format.h>

#include "parser/parse.h"

namespace vorn::parser {
namespace {

// Reads up to `limit` bytes; returns the OS error text on failure.
Result<std::string> read_prefix(const std::string& path, std::size_t limit) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Error{std::strerror(errno)};
  std::string data;
  data.reserve(std::min<std::size_t>(limit, 1 << 20));
  char buf[1 << 16];
  while (data.size() < limit) {
    std::size_t want = std::min(sizeof buf, limit - data.size());
    ssize_t n = ::read(fd, buf, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int err = errno;
      ::close(fd);
      return Error{std::strerror(err)};
    }
    if (n == 0) break;
    data.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return data;
}

// The part of the last path component after its last dot; a component that
// begins with its only dot (".yaml") has none.
std::string_view extension_of(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  std::string_view name = path.substr(path.rfind('/') == std::string_view::npos ? 0 : path.rfind('/') + 1);
  if (name == "..") return {};
  auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return name.substr(dot + 1);
}

}  // namespace

Result<ParseResult> parse_file(const std::string& path) {
  auto bytes = read_prefix(path, kMaxDocumentSize + 1);
  if (!bytes) return Error{fmt::format("failed to read {}: {}", path, bytes.error())};
  std::string_view ext = extension_of(path);
  DocumentFormat format;
  if (ext == "yaml" || ext == "yml")
    format = DocumentFormat::Yaml;
  else if (ext == "json")
    format = DocumentFormat::Json;
  else
    return Error{fmt::format("unsupported file extension for {}; use .yaml, .yml, or .json", path)};
  return parse(bytes.value(), format);
}

}  // namespace vorn::parser
