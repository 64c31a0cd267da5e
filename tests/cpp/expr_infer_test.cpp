#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "analysis/expr/field_refs.h"
#include "analysis/expr/infer/function_signatures.h"
#include "analysis/expr/infer/infer.h"
#include "analysis/expr/infer/type_render.h"
#include "analysis/expr/parse/parser.h"
#include "registry/default_registry.h"
#include "validation_test_support.h"

namespace vorn::analysis::expr::types {
namespace {

using model::registry::RegistryCategory;
using model::registry::RegistryDocument;
using model::registry::RegistryEntry;
using validation_test::contract_of;
using validation_test::Expected;
using validation_test::json_of;

const std::string kContract = std::string(validation_test::kHeader) +
    "inputs:\n"
    "  - id: a\n"
    "    schema:\n"
    "      fields:\n"
    "        - {name: s, type: string, nullable: false}\n"
    "        - {name: i, type: integer, nullable: false}\n"
    "        - {name: d, type: decimal, nullable: false}\n"
    "        - {name: b, type: boolean, nullable: false}\n"
    "        - {name: ns, type: string, nullable: true}\n"
    "        - {name: ni, type: integer, nullable: true}\n"
    "        - {name: tags, type: 'list<string>', nullable: false}\n"
    "        - {name: m, type: 'map<string, integer>', nullable: false}\n"
    "        - {name: geo, type: 'vendor:geo', nullable: false}\n"
    "        - {name: bad, type: strng, nullable: false}\n"
    "        - {name: shared, type: integer, nullable: false}\n"
    "outputs:\n"
    "  - id: o\n"
    "    schema:\n"
    "      fields:\n"
    "        - {name: shared, type: string, nullable: false}\n"
    "        - {name: total, type: integer, nullable: true}\n"
    "functions:\n"
    "  - {id: opt, function: g, type: integer, parameters: [{name: a, type: string},"
    " {name: b, type: integer, optional: true}]}\n"
    "  - {id: fnull, function: g, type: string, nullable: true}\n"
    "  - {id: viareg, function: 'vorn:lower', type: string}\n"
    "  - {id: noret, function: g}\n"
    "  - {id: badret, function: g, type: 'list<'}\n"
    "  - {id: badparam, function: g, type: string, parameters: [{name: p, type: nope}]}\n"
    "  - {id: listp, function: g, type: string, parameters: [{name: p, type: 'list< string >'}]}\n"
    "  - {id: inc, function: g, type: integer, parameters: [{name: x, type: integer}]}\n"
    "  - {id: twice, function: g, type: string}\n"
    "  - {id: twice, function: g, type: decimal}\n"
    "  - {id: 'vorn:mine', function: g, type: boolean}\n";

const model::TransformationContract& contract() {
  static const model::TransformationContract c = contract_of(kContract);
  return c;
}

void add_entry(RegistryDocument& registry, const std::string& id, std::optional<std::string> definition,
               RegistryCategory category = RegistryCategory::Function) {
  RegistryEntry entry;
  entry.id = id;
  entry.name = id;
  entry.category = category;
  entry.version = "1.0.0";
  entry.definition = std::move(definition);
  registry.entries.insert_or_assign(id, std::move(entry));
}

// The default registry plus entries whose definitions exercise every rule.
const RegistryDocument& registry() {
  static const RegistryDocument r = [] {
    RegistryDocument doc = registry::default_registry().clone();
    add_entry(doc, "vorn:act", R"({"returnType":"string"})", RegistryCategory::SemanticAction);
    add_entry(doc, "vorn:nodef", std::nullopt);
    add_entry(doc, "vorn:blankdef", " \n ");
    add_entry(doc, "vorn:textdef", "returns a string");
    add_entry(doc, "vorn:brokenjson", R"({"returnType":"string")");
    add_entry(doc, "vorn:noreturn", R"({"minArgs":0})");
    add_entry(doc, "vorn:textmin", R"({"minArgs":"1","returnType":"string"})");
    add_entry(doc, "vorn:same", R"({"returnType":"sameAsArgs","argTypes":["integer","decimal"]})");
    add_entry(doc, "vorn:untyped", R"({"returnType":"integer"})");
    add_entry(doc, "vorn:pair", R"({"argTypes":["string","integer"],"returnType":"boolean"})");
    add_entry(doc, "vorn:badarg", R"({"argTypes":["strin"],"returnType":"string"})");
    add_entry(doc, "vorn:badret", R"({"argTypes":["string"],"returnType":"lst"})");
    add_entry(doc, "vorn:listarg", R"({"argTypes":["list< integer >"],"returnType":"map<string, integer>"})");
    add_entry(doc, "vorn:spaced", "\xC2\xA0\n {\"returnType\":\"date\",\"maxArgs\":null,\"kind\":7} ");
    return doc;
  }();
  return r;
}

std::string ok(const std::string& type, bool nullable, bool references_nullable_fields) {
  return type + (nullable ? " nullable" : "") + (references_nullable_fields ? " refs-nullable" : "");
}

std::string err(const std::string& code, const std::string& category, const std::string& message) {
  return json_of(std::vector<Expected>{{code, "analysis", category, message, std::nullopt, std::nullopt}});
}

// A success as its rendered type and flags, a failure as the whole
// diagnostic.
std::string describe(const ExprTypeResult& result) {
  if (!result) return json_of(std::vector<diagnostics::Diagnostic>{result.error()});
  const InferredExprType& t = result.value();
  return ok(format_logical_type(t.logical_type), t.nullable, t.references_nullable_fields);
}

std::string inferred(const std::string& text) {
  auto tree = parse::parse_expression(text);
  if (!tree) return "parse error: " + tree.error().message;
  return describe(infer_expression_type(tree.value(), contract(), registry()));
}

struct Case {
  std::string text;
  std::string want;
};

void run_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(inferred(c.text), c.want) << c.text;
}

const char* kInvalidType = "vorn:invalid-type";
const char* kInvalidFunction = "vorn:invalid-function";

TEST(ExprInfer, TypesLiteralsAndOperators) {
  run_cases({
      {"true", ok("boolean", false, false)},
      {"'x'", ok("string", false, false)},
      {"7", ok("integer", false, false)},
      {"2.5", ok("decimal", false, false)},
      {"'a' + 'b'", ok("string", false, false)},
      {"1 + 2", ok("integer", false, false)},
      {"7 / 2", ok("integer", false, false)},
      {"1 + 2.5", ok("decimal", false, false)},
      {"a.d * a.i", ok("decimal", false, false)},
      {"1 < 2.5", ok("boolean", false, false)},
      {"'a' >= 'b'", ok("boolean", false, false)},
      {"a.tags == a.tags", ok("boolean", false, false)},
      {"a.geo != a.geo", ok("boolean", false, false)},
      {"true && a.b || false", ok("boolean", false, false)},
      {"-a.d", ok("decimal", false, false)},
      {"--7", ok("integer", false, false)},
      {"!!true", ok("boolean", false, false)},
  });
}

TEST(ExprInfer, ReportsOperatorErrors) {
  run_cases({
      {"'a' - 'b'", err(kInvalidType, "type", "operator is not valid for 'string' and 'string'")},
      {"'a' + 1", err(kInvalidType, "type", "operator is not valid for 'string' and 'integer'")},
      {"true * 'a'", err(kInvalidType, "type", "operator is not valid for 'boolean' and 'string'")},
      {"1 + true", err(kInvalidType, "type", "operator requires numeric operands, found 'integer' and 'boolean'")},
      {"a.b / a.b", err(kInvalidType, "type", "operator requires numeric operands, found 'boolean' and 'boolean'")},
      {"1 == 'a'", err(kInvalidType, "type", "comparison operator cannot compare 'integer' and 'string'")},
      {"a.m < a.tags",
       err(kInvalidType, "type", "comparison operator cannot compare 'map<string,integer>' and 'list<string>'")},
      {"true && 1", err(kInvalidType, "type", "logical operator requires boolean operands, found 'boolean' and 'integer'")},
      {"a.tags + 1", err(kInvalidType, "type", "expected primitive type, found 'list<string>'")},
      {"1 - a.m", err(kInvalidType, "type", "expected primitive type, found 'map<string,integer>'")},
      {"a.geo || a.tags", err(kInvalidType, "type", "expected primitive type, found 'vendor:geo'")},
      {"-'x'", err(kInvalidType, "type", "unary '-' requires a numeric operand, found 'string'")},
      {"-a.tags", err(kInvalidType, "type", "unary '-' requires a numeric operand, found 'list<string>'")},
      {"!1", err(kInvalidType, "type", "unary '!' requires a boolean operand, found 'integer'")},
      {"!-1", err(kInvalidType, "type", "unary '!' requires a boolean operand, found 'integer'")},
  });
}

TEST(ExprInfer, TypesFieldReferences) {
  run_cases({
      {"a.s", ok("string", false, false)},
      {"s", ok("string", false, false)},
      {"o.total", ok("integer", true, true)},
      {"a.m", ok("map<string,integer>", false, false)},
      {"a.bad", err(kInvalidType, "type", "field 'a.bad' has invalid logical type")},
      {"bad", err(kInvalidType, "type", "field 'bad' has invalid logical type")},
      {"a", err(kInvalidType, "type", "expression reference 'a' must target a schema field")},
      {"o", err(kInvalidType, "type", "expression reference 'o' must target a schema field")},
      {"shared", err("vorn:ambiguous-reference", "reference", "field reference 'shared' is ambiguous")},
      {"nope", err("vorn:unresolved-reference", "reference", "unresolved field reference 'nope'")},
      {"a.nope", err("vorn:unresolved-reference", "reference", "unresolved field reference 'a.nope'")},
  });
}

TEST(ExprInfer, CarriesNullabilityThroughOperators) {
  run_cases({
      {"a.ni", ok("integer", true, true)},
      {"-a.ni", ok("integer", true, true)},
      {"1 + a.ni * 2", ok("integer", true, true)},
      {"!(a.ns == 'x')", ok("boolean", true, true)},
      {"a.s + a.ns", ok("string", true, true)},
  });
}

// The left operand is finished before the right one is looked at.
TEST(ExprInfer, ReportsTheFirstErrorLeftToRight) {
  run_cases({
      {"nope + (1 + true)", err("vorn:unresolved-reference", "reference", "unresolved field reference 'nope'")},
      {"(1 + true) + nope",
       err(kInvalidType, "type", "operator requires numeric operands, found 'integer' and 'boolean'")},
      {"a.s + nope", err("vorn:unresolved-reference", "reference", "unresolved field reference 'nope'")},
      {"(a.tags - 1) && other", err(kInvalidType, "type", "expected primitive type, found 'list<string>'")},
  });
}

TEST(ExprInfer, TypesContractCalls) {
  run_cases({
      {"opt('x')", ok("integer", false, false)},
      {"opt('x', 1)", ok("integer", false, false)},
      {"opt('x', 2.5)", ok("integer", false, false)},
      {"opt('x', a.ni)", ok("integer", true, true)},
      {"fnull()", ok("string", true, false)},
      {"viareg()", ok("string", true, false)},
      // A nested call that may return null is not a nullable field.
      {"opt(fnull())", ok("integer", false, false)},
      {"listp(a.tags)", ok("string", false, false)},
      {"twice()", ok("decimal", false, false)},
      {"inc(inc(a.i))", ok("integer", false, false)},
  });
}

TEST(ExprInfer, ReportsContractCallErrors) {
  run_cases({
      {"missing(1)", err("vorn:unresolved-reference", "reference", "unresolved function reference 'missing'")},
      {"missing(nope)", err("vorn:unresolved-reference", "reference", "unresolved function reference 'missing'")},
      {"noret()", err(kInvalidFunction, "type", "function 'noret' is missing a return type")},
      {"badret()", err(kInvalidType, "type", "function 'badret' has invalid return type")},
      {"opt('x', 1, nope)", err(kInvalidFunction, "type", "function 'opt' expects at most 2 parameter(s), found 3")},
      {"fnull(1)", err(kInvalidFunction, "type", "function 'fnull' expects at most 0 parameter(s), found 1")},
      {"opt()", err(kInvalidFunction, "type", "function 'opt' missing required argument for parameter 'a'")},
      {"badparam('x')", err(kInvalidType, "type", "function 'badparam' parameter 'p' has invalid type")},
      {"badparam(nope)", err("vorn:unresolved-reference", "reference", "unresolved field reference 'nope'")},
      {"opt(1)", err(kInvalidType, "type", "argument 1 to function 'opt' has type 'integer', expected 'string'")},
      {"opt('x', 'y')", err(kInvalidType, "type", "argument 2 to function 'opt' has type 'string', expected 'integer'")},
      // The expected type as the contract writes it.
      {"listp(a.m)",
       err(kInvalidType, "type", "argument 1 to function 'listp' has type 'map<string,integer>', expected 'list< string >'")},
      // Argument 1 is checked before argument 2 is inferred.
      {"opt(1, nope)", err(kInvalidType, "type", "argument 1 to function 'opt' has type 'integer', expected 'string'")},
      {"opt(a.ns)", err("vorn:null-semantics-violation", "type",
                        "argument 1 to function 'opt' references nullable fields but parameter 'a' is required")},
      {"inc(inc(a.ni))", err("vorn:null-semantics-violation", "type",
                             "argument 1 to function 'inc' references nullable fields but parameter 'x' is required")},
  });
}

TEST(ExprInfer, TypesRegistryCalls) {
  run_cases({
      {"vorn:lower('A')", ok("string", true, false)},
      {"vorn:length('abc')", ok("integer", false, false)},
      {"vorn:length(a.ns)", ok("integer", true, true)},
      {"vorn:concat('a', 'b', a.s)", ok("string", false, false)},
      {"vorn:substr('abc', 1, 2)", ok("string", true, false)},
      {"vorn:coalesce(a.ni, 2)", ok("integer", true, true)},
      {"vorn:same(1, 2.5)", ok("integer", false, false)},
      {"vorn:untyped()", ok("integer", false, false)},
      {"vorn:pair('a', 1, 2)", ok("boolean", false, false)},
      {"vorn:spaced()", ok("date", false, false)},
      {"vorn:mine()", err("vorn:unknown-registry-entry", "reference", "unresolved registry function 'vorn:mine'")},
  });
}

TEST(ExprInfer, ReportsRegistryCallErrors) {
  const char* kUnknown = "vorn:unknown-registry-entry";
  run_cases({
      {"vorn:nothing(nope)", err(kUnknown, "reference", "unresolved registry function 'vorn:nothing'")},
      {"vorn:not_null(a.s)", err(kInvalidFunction, "type", "'vorn:not_null' is not a function identifier")},
      {"vorn:act()", err(kInvalidFunction, "type", "'vorn:act' is not a function identifier")},
      {"vorn:nodef()", err(kInvalidFunction, "type", "registry function 'vorn:nodef' is missing a definition block")},
      {"vorn:blankdef()", err(kInvalidFunction, "type", "registry function 'vorn:blankdef' has a non-JSON definition")},
      {"vorn:textdef()", err(kInvalidFunction, "type", "registry function 'vorn:textdef' has a non-JSON definition")},
      {"vorn:brokenjson()",
       err(kInvalidFunction, "type", "registry function 'vorn:brokenjson' has an invalid definition schema")},
      {"vorn:noreturn()", err(kInvalidFunction, "type", "registry function 'vorn:noreturn' has an invalid definition schema")},
      {"vorn:textmin()", err(kInvalidFunction, "type", "registry function 'vorn:textmin' has an invalid definition schema")},
      {"vorn:concat('a')", err(kInvalidFunction, "type", "function 'vorn:concat' expects at least 2 argument(s), found 1")},
      {"vorn:lower()", err(kInvalidFunction, "type", "function 'vorn:lower' expects at least 1 argument(s), found 0")},
      {"vorn:lower('a', 'b', nope)",
       err(kInvalidFunction, "type", "function 'vorn:lower' expects at most 1 argument(s), found 3")},
      {"vorn:same()", err(kInvalidFunction, "type", "function 'vorn:same' requires at least one argument")},
      {"vorn:coalesce(1, 2.5, 'x')",
       err(kInvalidType, "type",
           "function 'vorn:coalesce' requires all arguments to share the same type; argument 3 is 'string', expected 'integer'")},
      {"vorn:same('x')", err(kInvalidType, "type", "function 'vorn:same' does not accept arguments of type 'string'")},
      {"vorn:coalesce(a.tags)",
       err(kInvalidType, "type", "function 'vorn:coalesce' does not accept arguments of type 'list<string>'")},
      {"vorn:untyped(1)", err(kInvalidFunction, "type", "function 'vorn:untyped' is missing argument type rules in registry")},
      {"vorn:badarg('x')",
       err(kInvalidFunction, "type", "function 'vorn:badarg' registry declares an invalid argument type 'strin'")},
      {"vorn:lower(1)", err(kInvalidType, "type", "argument 1 to function 'vorn:lower' has type 'integer', expected 'string'")},
      {"vorn:pair('a', 1, 'c')",
       err(kInvalidType, "type", "argument 3 to function 'vorn:pair' has type 'string', expected 'integer'")},
      // The declared type rendered, not as written.
      {"vorn:listarg(a.tags)",
       err(kInvalidType, "type", "argument 1 to function 'vorn:listarg' has type 'list<string>', expected 'list<integer>'")},
      {"vorn:badret('x')",
       err(kInvalidFunction, "type", "function 'vorn:badret' registry declares an invalid return type 'lst'")},
      {"vorn:badret(1)", err(kInvalidType, "type", "argument 1 to function 'vorn:badret' has type 'integer', expected 'string'")},
  });
}

// Every argument is inferred before any argument type is checked.
TEST(ExprInfer, InfersRegistryArgumentsBeforeCheckingThem) {
  run_cases({
      {"vorn:lower(1 + true)",
       err(kInvalidType, "type", "operator requires numeric operands, found 'integer' and 'boolean'")},
      {"vorn:coalesce(1, 'x', nope)", err("vorn:unresolved-reference", "reference", "unresolved field reference 'nope'")},
      {"vorn:pair(1, nope)", err("vorn:unresolved-reference", "reference", "unresolved field reference 'nope'")},
  });
}

TEST(ExprInfer, CallsOfAChosenKind) {
  auto tree = parse::parse_expression("f('a', 2)");
  ASSERT_TRUE(tree.ok());
  const auto& args = tree.value().as<ast::Expr::Call>()->args;
  FieldIndex fields = FieldIndex::from_contract(contract());
  FunctionTable functions = FunctionTable::from_contract(contract());

  auto as_contract = infer_contract_call_type("vorn:mine", {}, fields, functions, registry());
  ASSERT_TRUE(as_contract.ok());
  EXPECT_EQ(format_logical_type(as_contract.value().logical_type), "boolean");

  auto as_registry = infer_registry_call_type("vorn:pair", args, fields, functions, registry());
  ASSERT_TRUE(as_registry.ok());
  EXPECT_EQ(as_registry.value(), (InferredExprType{LogicalType{LogicalType::Primitive{"boolean"}}, false, false}));

  auto unknown = infer_registry_call_type("opt", args, fields, functions, registry());
  ASSERT_FALSE(unknown.ok());
  EXPECT_EQ(unknown.error().message, "unresolved registry function 'opt'");
}

LogicalType parsed_type(const std::string& text) {
  auto t = model::types::parse_logical_type(text);
  EXPECT_TRUE(t.ok()) << text;
  return t.ok() ? t.value() : LogicalType{};
}

TEST(ExprInferHelpers, FormatsTypesForMessages) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {" integer ", "integer"},
      {"list< string >", "list<string>"},
      {"map<string, list<integer>>", "map<string,list<integer>>"},
      {"map<string, list< integer >>", "map<string,list< integer >>"},
      {"tuple<string,,integer>", "tuple<string,integer>"},
      {"vendor:geo< a, b >", "vendor:geo< a, b >"},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(format_logical_type(parsed_type(text)), want) << text;

  auto name = primitive_name(parsed_type("decimal"));
  ASSERT_TRUE(name.ok());
  EXPECT_EQ(name.value(), "decimal");
  auto not_primitive = primitive_name(parsed_type("object<string>"));
  ASSERT_FALSE(not_primitive.ok());
  EXPECT_EQ(not_primitive.error(),
            (TypeError{diagnostics::Code::InvalidType, diagnostics::DiagnosticCategory::Type,
                       "expected primitive type, found 'object<string>'"}));
}

TEST(ExprInferHelpers, MatchesSameAsArgsTypesExactly) {
  const std::vector<std::string> listed = {"integer", "list<string>", "vendor:geo"};
  EXPECT_TRUE(type_allowed_for_same_as_args(parsed_type("integer"), listed));
  EXPECT_FALSE(type_allowed_for_same_as_args(parsed_type("decimal"), listed));
  EXPECT_FALSE(type_allowed_for_same_as_args(parsed_type("list<string>"), listed));
  EXPECT_FALSE(type_allowed_for_same_as_args(parsed_type("vendor:geo"), listed));
  EXPECT_FALSE(type_allowed_for_same_as_args(parsed_type("integer"), {" integer", "Integer"}));
  EXPECT_FALSE(type_allowed_for_same_as_args(parsed_type("integer"), {}));
}

TEST(ExprInferHelpers, DecodesFunctionDefinitions) {
  auto def = [](std::uint64_t min, std::optional<std::uint64_t> max, std::vector<std::string> args,
                std::string ret, bool nullable) {
    return std::optional<RegistryFunctionDef>(RegistryFunctionDef{min, max, std::move(args), std::move(ret), nullable});
  };
  const std::vector<std::pair<std::string, std::optional<RegistryFunctionDef>>> cases = {
      {R"({"returnType":"string"})", def(0, std::nullopt, {}, "string", false)},
      {R"( {"kind":"function","minArgs":1,"maxArgs":3,"argTypes":["a","b"],"returnType":"x","returnNullable":true,
           "deterministic":false,"extra":{"minArgs":"nested keys are not ours"}} )",
       def(1, 3, {"a", "b"}, "x", true)},
      {R"({"maxArgs":null,"minArgs":-0,"returnType":"sameAsArgs"})", def(0, std::nullopt, {}, "sameAsArgs", false)},
      {R"({"minArgs":18446744073709551615,"returnType":"s"})", def(18446744073709551615u, std::nullopt, {}, "s", false)},
      {"", std::nullopt},
      {"[1]", std::nullopt},
      {R"({"returnType":"s"} x)", std::nullopt},
      {R"({"minArgs":1})", std::nullopt},
      {R"({"returnType":null})", std::nullopt},
      {R"({"returnType":"s","minArgs":-1})", std::nullopt},
      {R"({"returnType":"s","minArgs":1.0})", std::nullopt},
      {R"({"returnType":"s","minArgs":null})", std::nullopt},
      {R"({"returnType":"s","maxArgs":"2"})", std::nullopt},
      {R"({"returnType":"s","argTypes":"string"})", std::nullopt},
      {R"({"returnType":"s","argTypes":[1]})", std::nullopt},
      {R"({"returnType":"s","argTypes":null})", std::nullopt},
      {R"({"returnType":"s","returnNullable":"yes"})", std::nullopt},
      {R"({"returnType":"s","returnType":"t"})", std::nullopt},
      {"{\"returnType\":\"\xFF\"}", std::nullopt},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(decode_function_definition(text), want) << text;
  // A key repeated outside the read ones, or deeper down, is not ours to judge.
  EXPECT_TRUE(decode_function_definition(R"({"returnType":"s","kind":1,"kind":2,"x":{"returnType":1,"returnType":2}})"));
}

TEST(ExprInferHelpers, TellsWhenAContractFunctionMayReturnNull) {
  RegistryDocument doc = registry().clone();
  add_entry(doc, "vorn:rule_like", R"({"returnNullable":true})", RegistryCategory::Rule);
  add_entry(doc, "vorn:nullable_only", R"( {"returnNullable":true,"minArgs":"not read here"} )");
  add_entry(doc, "vorn:text_true", R"({"returnNullable":"true"})");
  add_entry(doc, "vorn:broken", R"({"returnNullable":true)");
  add_entry(doc, "vorn:doubled", R"({"returnNullable":true,"returnNullable":true})");
  add_entry(doc, "x:lower", R"({"returnNullable":true})");
  auto function = [](std::string implements, bool nullable) {
    model::Function f;
    f.id = "f";
    f.function = std::move(implements);
    f.nullable = nullable;
    return f;
  };
  const std::vector<std::pair<model::Function, bool>> cases = {
      {function("g", true), true},
      {function("vorn:concat", true), true},
      {function("vorn:lower", false), true},
      {function("vorn:concat", false), false},
      {function("vorn:length", false), false},
      {function("vorn:rule_like", false), true},
      {function("vorn:nullable_only", false), true},
      {function("vorn:text_true", false), false},
      {function("vorn:broken", false), false},
      {function("vorn:doubled", false), false},
      {function("vorn:textdef", false), false},
      {function("vorn:nodef", false), false},
      {function("vorn:absent", false), false},
      {function("x:lower", false), false},
      {function("Vorn:lower", false), false},
  };
  for (const auto& [f, want] : cases) EXPECT_EQ(function_return_nullable(f, doc), want) << f.function;
}

// Deep trees: every walk keeps its pending nodes on the heap. Optimised
// builds (the sanitizer build included) check a million levels; unoptimised
// ones, many times slower, check 100,000, which still overflows a default
// stack in any walk that recurses per level.
#ifdef __OPTIMIZE__
constexpr std::size_t kDeep = 1'000'000;
#else
constexpr std::size_t kDeep = 100'000;
#endif

std::string repeated(const std::string& piece, std::size_t n) {
  std::string out;
  out.reserve(piece.size() * n);
  for (std::size_t i = 0; i < n; ++i) out += piece;
  return out;
}

// One parse per tree serves both walks: inference and field collection.
void expect_deep(const std::string& text, const std::string& want, const std::vector<std::string>& refs) {
  auto tree = parse::parse_expression(text);
  ASSERT_TRUE(tree.ok()) << tree.error().message;
  EXPECT_EQ(describe(infer_expression_type(tree.value(), contract(), registry())), want);
  EXPECT_EQ(collect_field_refs(tree.value()), refs);
}

TEST(ExprInferDeep, LeftAssociativeChain) {
  expect_deep("a.ni" + repeated(" + 1 - a.i", kDeep / 2), ok("integer", true, true), {"a.i", "a.ni"});
  expect_deep("nope" + repeated(" * 2", kDeep / 10),
              err("vorn:unresolved-reference", "reference", "unresolved field reference 'nope'"), {"nope"});
}

TEST(ExprInferDeep, RightNestedParentheses) {
  expect_deep(repeated("a.i + (", kDeep) + "2.5" + std::string(kDeep, ')'), ok("decimal", false, false), {"a.i"});
  expect_deep(repeated("true && (", kDeep / 10) + "1" + std::string(kDeep / 10, ')'),
              err(kInvalidType, "type", "logical operator requires boolean operands, found 'boolean' and 'integer'"), {});
}

TEST(ExprInferDeep, UnaryChain) {
  expect_deep(std::string(kDeep, '-') + "a.d", ok("decimal", false, false), {"a.d"});
  expect_deep(repeated("!-", kDeep / 20) + "1",
              err(kInvalidType, "type", "unary '!' requires a boolean operand, found 'integer'"), {});
}

TEST(ExprInferDeep, NestedCalls) {
  expect_deep(repeated("inc(", kDeep) + "a.i" + std::string(kDeep, ')'), ok("integer", false, false), {"a.i"});
  // Each registry call site decodes its definition.
  expect_deep(repeated("vorn:lower(", kDeep / 100) + "a.i" + std::string(kDeep / 100, ')'),
              err(kInvalidType, "type", "argument 1 to function 'vorn:lower' has type 'integer', expected 'string'"),
              {"a.i"});
}

}  // namespace
}  // namespace vorn::analysis::expr::types
