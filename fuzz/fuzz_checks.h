#pragma once
// What each fuzz target does with one input, shared with the test that
// replays fuzz/regressions/ and fuzz/corpus/ without libFuzzer. Each check runs the whole
// path for one entry point and returns an empty string, or the text of a
// broken invariant (a crash or sanitizer report shows up by itself).

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/contract.h"
#include "analysis/expr/constants.h"
#include "analysis/expr/eval/evaluate.h"
#include "analysis/expr/format.h"
#include "analysis/expr/parse/parser.h"
#include "analysis/expr/rewrite.h"
#include "analysis/expr/simplify.h"
#include "parser/json_events.h"
#include "parser/json_scan.h"
#include "parser/parse.h"
#include "registry/default_registry.h"
#include "registry/load.h"
#include "support/json_writer.h"
#include "validation/driver.h"

namespace vorn::fuzz {

inline std::string write_diagnostics(const std::vector<diagnostics::Diagnostic>& diagnostics) {
  JsonWriter w;
  w.begin_array();
  for (const auto& d : diagnostics) d.serialize(w);
  w.end_array();
  return w.take();
}

// The written JSON must read back into an equal contract that writes the same
// text, unless writing grew it past the size limit.
inline std::string check_round_trip(const model::TransformationContract& contract) {
  std::string text = contract.to_json();
  if (text.size() > parser::kMaxDocumentSize) return "";
  parser::ParseResult second = parser::parse(text, parser::DocumentFormat::Json);
  if (!second.contract) return "written contract does not read back: " + second.to_json() + "\n" + text;
  if (!(*second.contract == contract)) return "re-read contract differs from the original:\n" + text;
  std::string again = second.contract->to_json();
  if (again != text) return "re-read contract writes differently:\n" + text + "\n" + again;
  return "";
}

inline bool same_events(const parser::EventStream& a, const parser::EventStream& b) {
  using parser::EventKind;
  using parser::ScalarType;
  if (a.events.size() != b.events.size()) return false;
  for (std::size_t i = 0; i < a.events.size(); ++i) {
    const parser::Event &x = a.events[i], &y = b.events[i];
    if (x.kind != y.kind || x.type != y.type || x.plain != y.plain || x.empty != y.empty || x.boolean != y.boolean)
      return false;
    if (x.kind == EventKind::MapStart || x.kind == EventKind::SeqStart) {
      if (x.end != y.end || x.values != y.values) return false;
    } else if (x.type == ScalarType::Int || x.type == ScalarType::UInt || x.type == ScalarType::Float) {
      parser::Number m = a.number_of(x), n = b.number_of(y);
      if (std::memcmp(&m, &n, sizeof m) != 0) return false;
    } else if (x.kind == EventKind::Scalar && a.text_of(x) != b.text_of(y)) {
      return false;
    }
  }
  return true;
}

// JSON text that the common-case scanner takes must give exactly the
// general parser's events.
inline std::string check_json_scan(std::string_view bytes) {
  auto common = parser::json::scan_common(bytes);
  if (!common) return "";
  auto general = parser::json::read_events_by_parser(bytes);
  if (!general) return "the scanner took a text the parser refuses: " + general.error();
  return same_events(*common, *general) ? "" : "the scanner and the parser read different events";
}

// Parses, round-trips, validates and analyses.
inline std::string check_contract(std::string_view bytes, parser::DocumentFormat format) {
  if (format == parser::DocumentFormat::Json) {
    if (std::string problem = check_json_scan(bytes); !problem.empty()) return problem;
  }
  parser::ParseResult parsed = parser::parse(bytes, format);
  parsed.to_json();
  if (!parsed.contract) return "";
  if (std::string problem = check_round_trip(*parsed.contract); !problem.empty()) return problem;
  write_diagnostics(validation::validate_with_registry(*parsed.contract, registry::default_registry()));
  analysis::contract::check_contract(*parsed.contract).to_json();
  return "";
}

// Loads the bytes as one registry document; a loaded document, once written,
// must load back as JSON into an equal document.
inline std::string check_registry(std::string_view bytes, bool json) {
  auto loaded = registry::load::load_bytes(bytes, json);
  if (!loaded.ok()) {
    write_diagnostics(loaded.diagnostics());
    return "";
  }
  std::string text = loaded->to_json();
  auto again = registry::load::load_bytes(text, true);
  if (!again.ok()) return "written registry does not load back: " + write_diagnostics(again.diagnostics()) + "\n" + text;
  if (!(again.value() == loaded.value())) return "re-loaded registry differs from the original:\n" + text;
  return "";
}

inline std::string check_registry(std::string_view bytes) {
  std::string problem = check_registry(bytes, false);
  return problem.empty() ? check_registry(bytes, true) : problem;
}

// Canonical text that parses must format to itself. It may fail to parse: an
// integral decimal past the 64-bit range is written as digits no integer can
// hold.
inline std::string check_stable(std::string_view canonical, const char* what) {
  namespace expr = analysis::expr;
  auto reparsed = expr::parse::parse_expression(canonical);
  if (!reparsed.ok()) return "";
  std::string again = expr::format::format_expr(reparsed.value(), false);
  if (again == canonical) return "";
  return std::string(what) + " formats differently after re-parsing:\n" + std::string(canonical) + "\n" + again;
}

// Parses, formats, simplifies, folds and normalises the text; the canonical
// and the normal text of a text that parses must both be stable. (The normal
// text of one that does not is merely trimmed, and trimming can make it
// parse.)
inline std::string check_expression(std::string_view text) {
  namespace expr = analysis::expr;
  std::string normal = expr::rewrite::normalize_expression_body(text);
  auto tree = expr::parse::parse_expression(text);
  if (!tree.ok()) {
    expr::parse::to_diagnostic(tree.error(), "e");
    return "";
  }
  std::string canonical = expr::format::format_expr(tree.value(), false);
  expr::constants::is_constant(tree.value());
  expr::eval::evaluate(tree.value());
  expr::ast::Expr simplified = expr::rewrite::simplify_expression(tree.value());
  expr::format::format_expr(simplified, false);
  expr::eval::evaluate(simplified);
  if (std::string problem = check_stable(canonical, "canonical text"); !problem.empty()) return problem;
  return check_stable(normal, "normal text");
}

}  // namespace vorn::fuzz
