#include "diagnostics/codes.h"

namespace vorn::diagnostics {
namespace {

constexpr CodeInfo kCodes[] = {
#define VORN_CODE(name, code, title) {Code::name, code, title},
#include "diagnostics/codes.def"
#undef VORN_CODE
};

}  // namespace

std::span<const CodeInfo> all_codes() { return kCodes; }

std::string_view code_id(Code code) { return kCodes[static_cast<std::size_t>(code)].id; }

}  // namespace vorn::diagnostics
