file(GLOB files ${DIR}/*)
list(SORT files)
set(body "")
set(table "")
set(i 0)
foreach(f ${files})
  get_filename_component(name ${f} NAME)
  file(READ ${f} hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR size "${hexlen} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND body "static const char file_${i}[] = {${bytes} 0};\n")
  string(APPEND table "    {\"builtin/${name}\", std::string_view(file_${i}, ${size})},\n")
  math(EXPR i "${i} + 1")
endforeach()
file(WRITE ${OUT} "// Generated at build time from src/registry/builtin; do not edit.
#include <optional>
#include <string_view>
#include <utility>
namespace vorn::embedded {
namespace {
${body}
const std::pair<std::string_view, std::string_view> kFiles[] = {
${table}    {\"\", std::string_view()},
};
}  // namespace
std::optional<std::string_view> find(std::string_view name) {
  for (const auto& [n, data] : kFiles)
    if (!n.empty() && n == name) return data;
  return std::nullopt;
}
}  // namespace vorn::embedded
")
