#include "parser/parse.h"

#include <fmt/format.h>

#include "parser/json_events.h"
#include "parser/yaml_events.h"
#include "support/json_writer.h"

namespace vorn::parser {
namespace {

ParseResult from_events(Result<EventStream> events) {
  if (!events) return failure(std::move(events).take_error());
  auto contract = model::TransformationContract::deserialize(events.value());
  if (!contract) return failure(std::move(contract).take_error());
  ParseResult result;
  result.contract = std::move(contract).value();
  return result;
}

}  // namespace

std::string ParseResult::to_json() const {
  JsonWriter w;
  w.begin_object();
  w.key("contract");
  if (contract)
    contract->serialize(w);
  else
    w.null();
  w.key("report");
  report.serialize(w);
  w.end_object();
  return w.take();
}

ParseResult failure(std::string message) {
  using namespace diagnostics;
  ParseResult result;
  result.report.push(Diagnostic::make(Code::ParseError, DiagnosticSeverity::Error, DiagnosticStage::Parse,
                                      DiagnosticCategory::Syntax, std::move(message)));
  return result;
}

ParseResult parse(std::string_view bytes, DocumentFormat format) {
  if (bytes.size() > kMaxDocumentSize)
    return failure(fmt::format("document exceeds maximum size of {} bytes", kMaxDocumentSize));
  return format == DocumentFormat::Yaml ? yaml::parse_yaml(bytes) : json::parse_json(bytes);
}

namespace json {

ParseResult parse_json(std::string_view bytes) { return from_events(read_events(bytes)); }

Result<model::TransformationContract> read_contract(std::string_view text) {
  auto events = read_events(text);
  if (!events) return Error{std::move(events).take_error()};
  return model::TransformationContract::deserialize(events.value());
}

}  // namespace json

namespace yaml {

ParseResult parse_yaml(std::string_view bytes) { return from_events(read_events(bytes)); }

}  // namespace yaml

}  // namespace vorn::parser
