// Prints one line per input file and reading path: the file, the path and a
// hash of the exact text the core produces for it (the parse result with its
// error texts, the validation report, the registry document or its
// diagnostics). Two builds that print the same lines read every file alike;
// scripts/compare_outputs.sh diffs them.
//   corpus_outputs DIR... [--full FILE]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "parser/parse.h"
#include "registry/load.h"
#include "support/json_writer.h"
#include "validation/parse_result.h"

namespace {

namespace fs = std::filesystem;
using vorn::parser::DocumentFormat;

std::uint64_t fnv1a(const std::string& text) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  return h;
}

std::string registry_text(const std::string& bytes, bool json) {
  auto loaded = vorn::registry::load::load_bytes(bytes, json);
  if (loaded.ok()) return loaded->to_json();
  vorn::JsonWriter w;
  w.begin_array();
  for (const auto& d : loaded.diagnostics()) d.serialize(w);
  w.end_array();
  return w.take();
}

struct Output {
  const char* name;
  std::string text;
};

std::vector<Output> outputs_of(const std::string& bytes) {
  std::vector<Output> out;
  for (auto [name, format] : {std::pair{"yaml", DocumentFormat::Yaml}, std::pair{"json", DocumentFormat::Json}}) {
    out.push_back({name, vorn::parser::parse(bytes, format).to_json()});
  }
  out.push_back({"validate-yaml", vorn::validation::validate_parse_result(vorn::parser::parse(bytes, DocumentFormat::Yaml)).to_json()});
  out.push_back({"validate-json", vorn::validation::validate_parse_result(vorn::parser::parse(bytes, DocumentFormat::Json)).to_json()});
  out.push_back({"registry-yaml", registry_text(bytes, false)});
  out.push_back({"registry-json", registry_text(bytes, true)});
  return out;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--full") {
    for (const Output& o : outputs_of(read_file(argv[2]))) std::printf("%s %s\n", o.name, o.text.c_str());
    return 0;
  }
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    for (const auto& entry : fs::recursive_directory_iterator(argv[i]))
      if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::string name = file.parent_path().filename().string() + "/" + file.filename().string();
    for (const Output& o : outputs_of(read_file(file)))
      std::printf("%s %s %016llx\n", name.c_str(), o.name, static_cast<unsigned long long>(fnv1a(o.text)));
  }
  return files.empty() ? 1 : 0;
}
