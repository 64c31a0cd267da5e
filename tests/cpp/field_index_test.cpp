// Target resolution over a contract's inputs and outputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "validation/field_index.h"

namespace vorn::validation::field_index {
namespace {

using model::Field;

model::Input input(std::string id, std::optional<std::vector<Field>> fields) {
  model::Input in;
  in.id = std::move(id);
  if (fields) in.schema = model::Schema{std::move(*fields)};
  return in;
}

model::Output output(std::string id, std::optional<std::vector<Field>> fields) {
  model::Output out;
  out.id = std::move(id);
  if (fields) out.schema = model::Schema{std::move(*fields)};
  return out;
}

std::string render(const FieldLocation& l) {
  return l.interface_id + "." + l.field_name + ":" + l.type + (l.nullable ? "?" : "") +
         (l.is_input ? " in" : " out");
}

std::string render(const TargetResolution& r) {
  if (auto* f = r.get_if<TargetResolution::Field>()) return "field " + render(*f->location);
  if (auto* i = r.get_if<TargetResolution::Interface>()) {
    return "interface " + i->id + (i->is_input ? " in" : " out");
  }
  if (auto* a = r.get_if<TargetResolution::Ambiguous>()) {
    std::string out = "ambiguous";
    for (const FieldLocation* l : a->locations()) out += " [" + render(*l) + "]";
    return out;
  }
  return "unresolved";
}

// Input a declares id twice, input a and output b share id, input s has no
// schema, and the id "shared" names both an input and an output.
model::TransformationContract sample_contract() {
  model::TransformationContract c;
  c.inputs.push_back(input("a", std::vector<Field>{{"id", "integer", false, {}},
                                                   {"id", "string", true, {}},
                                                   {"name", "string", true, {}},
                                                   {"a.b", "date", false, {}}}));
  c.inputs.push_back(input("s", std::nullopt));
  c.inputs.push_back(input("shared", std::vector<Field>{}));
  c.inputs.push_back(input("a.a", std::vector<Field>{{"b", "time", false, {}}}));
  c.outputs.push_back(output("b", std::vector<Field>{{"id", "decimal", true, {}},
                                                     {"total", "decimal", false, {}},
                                                     {"s", "binary", false, {}}}));
  c.outputs.push_back(output("shared", std::nullopt));
  c.outputs.push_back(output("out", std::nullopt));
  return c;
}

struct ResolveCase {
  const char* target;
  const char* expected;
};

class FieldIndexResolve : public ::testing::TestWithParam<ResolveCase> {
 protected:
  static void SetUpTestSuite() {
    index_ = new FieldIndex(FieldIndex::from_contract(sample_contract()));
  }
  static void TearDownTestSuite() { delete index_; }
  static FieldIndex* index_;
};
FieldIndex* FieldIndexResolve::index_ = nullptr;

TEST_P(FieldIndexResolve, ResolvesTarget) {
  EXPECT_EQ(render(index_->resolve(GetParam().target)), GetParam().expected) << GetParam().target;
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FieldIndexResolve,
    ::testing::Values(
        ResolveCase{"a.id", "field a.id:integer in"},
        ResolveCase{" \ta.id\u00a0", "field a.id:integer in"},
        ResolveCase{"b.id", "field b.id:decimal? out"},
        ResolveCase{"id", "ambiguous [a.id:integer in] [b.id:decimal? out]"},
        ResolveCase{"name", "field a.name:string? in"},
        ResolveCase{"total", "field b.total:decimal out"},
        ResolveCase{"Total", "unresolved"},
        ResolveCase{"a. id", "unresolved"},
        ResolveCase{"a .id", "unresolved"},
        ResolveCase{"c.id", "unresolved"},
        ResolveCase{"a.id.x", "unresolved"},
        ResolveCase{"a.a.b", "field a.a.b:date in"},  // first declaration of the key wins
        ResolveCase{"a.b", "unresolved"},             // dotted: never a bare name
        ResolveCase{"a", "interface a in"},
        ResolveCase{" out ", "interface out out"},
        ResolveCase{"shared", "interface shared in"},
        ResolveCase{"s", "field b.s:binary out"},  // field names before interface ids
        ResolveCase{"", "unresolved"},
        ResolveCase{" \u2003 ", "unresolved"},
        ResolveCase{".", "unresolved"}));

TEST(FieldIndex, RepeatedQualifiedNameIsEnteredOnce) {
  model::TransformationContract c;
  c.inputs.push_back(input("a", std::vector<Field>{{"id", "integer", false, {}},
                                                   {"id", "string", true, {}}}));
  FieldIndex index = FieldIndex::from_contract(c);
  EXPECT_EQ(render(index.resolve("id")), "field a.id:integer in");
  EXPECT_EQ(render(index.resolve("a.id")), "field a.id:integer in");
}

TEST(FieldIndex, FieldAnswersPointIntoTheIndex) {
  FieldIndex index = FieldIndex::from_contract(sample_contract());
  auto first = index.resolve("a.id");
  auto again = index.resolve(" a.id ");
  ASSERT_NE(first.get_if<TargetResolution::Field>(), nullptr);
  EXPECT_EQ(first.get_if<TargetResolution::Field>()->location,
            again.get_if<TargetResolution::Field>()->location);
  FieldIndex moved = std::move(index);
  EXPECT_EQ(render(*first.get_if<TargetResolution::Field>()->location), "a.id:integer in");
}

TEST(FieldIndex, IdCollision) {
  struct Case {
    std::vector<const char*> inputs;
    std::vector<const char*> outputs;
    bool expected;
  };
  const Case cases[] = {{{"a", "b"}, {"c"}, false},
                        {{"a", "b"}, {"c", "b"}, true},
                        {{"a"}, {"A"}, false},
                        {{}, {"a"}, false},
                        {{"a", "b", "c"}, {"c"}, true}};
  for (const Case& c : cases) {
    model::TransformationContract contract;
    for (const char* id : c.inputs) contract.inputs.push_back(input(id, std::nullopt));
    for (const char* id : c.outputs) contract.outputs.push_back(output(id, std::nullopt));
    EXPECT_EQ(FieldIndex::from_contract(contract).has_io_id_collision(), c.expected);
  }
}

TEST(FieldIndex, BuildsAndResolvesManyFields) {
  constexpr int kFields = 100000;
  model::TransformationContract c;
  std::vector<Field> in_fields, out_fields;
  for (int i = 0; i < kFields / 2; ++i) {
    in_fields.push_back({"f" + std::to_string(i), "integer", false, {}});
    out_fields.push_back({"g" + std::to_string(i), "string", true, {}});
  }
  out_fields.push_back({"f7", "date", false, {}});
  c.inputs.push_back(input("in", std::move(in_fields)));
  c.outputs.push_back(output("out", std::move(out_fields)));
  FieldIndex index = FieldIndex::from_contract(c);
  for (int i = 0; i < kFields / 2; ++i) {
    std::string n = std::to_string(i);
    ASSERT_NE(index.resolve("in.f" + n).get_if<TargetResolution::Field>(), nullptr) << n;
    ASSERT_NE(index.resolve("g" + n).get_if<TargetResolution::Field>(), nullptr) << n;
  }
  EXPECT_EQ(render(index.resolve("f7")), "ambiguous [in.f7:integer in] [out.f7:date out]");
  EXPECT_EQ(render(index.resolve("out.f0")), "unresolved");
}

}  // namespace
}  // namespace vorn::validation::field_index
