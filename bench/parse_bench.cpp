// Times the core's document parsing against libyaml's bare event scan of the
// same bytes, in one process. Prints best-of-N seconds for each stage.
//   parse_bench FILE.yaml|FILE.json [RUNS]
#include <yaml.h>

#include <chrono>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "parser/json_events.h"
#include "parser/parse.h"
#include "parser/yaml_events.h"

namespace {

double best_of(int runs, const std::function<void()>& fn) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    fn();
    std::chrono::duration<double> d = std::chrono::steady_clock::now() - start;
    best = std::min(best, d.count());
  }
  return best;
}

void scan(const std::string& text) {
  yaml_parser_t parser;
  yaml_parser_initialize(&parser);
  yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(text.data()), text.size());
  for (;;) {
    yaml_event_t event;
    if (!yaml_parser_parse(&parser, &event)) break;
    bool done = event.type == YAML_STREAM_END_EVENT;
    yaml_event_delete(&event);
    if (done) break;
  }
  yaml_parser_delete(&parser);
}

long status_kb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
  return 0;
}

// Resident memory one parse adds at its peak, with the kernel's high-water
// mark reset just before it.
long parse_peak_kb(const std::string& text, vorn::parser::DocumentFormat format) {
  std::ofstream("/proc/self/clear_refs") << "5";
  long base = status_kb("VmRSS:");
  auto result = vorn::parser::parse(text, format);
  std::string json = result.to_json();
  return status_kb("VmHWM:") - base;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string text = buffer.str();
  int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  bool json = std::string(argv[1]).ends_with(".json");
  auto format = json ? vorn::parser::DocumentFormat::Json : vorn::parser::DocumentFormat::Yaml;

  // First, before other runs leave freed memory in the heap.
  long peak_kb = parse_peak_kb(text, format);
  double floor = json ? 0 : best_of(runs, [&] { scan(text); });
  double events = best_of(runs, [&] {
    auto r = json ? vorn::parser::json::read_events(text) : vorn::parser::yaml::read_events(text);
    if (!r) std::fprintf(stderr, "%s\n", r.error().c_str());
  });
  double parse = best_of(runs, [&] { vorn::parser::parse(text, format); });
  auto result = vorn::parser::parse(text, format);
  double write = best_of(runs, [&] { (void)result.to_json(); });
  std::printf("{\"scan\":%.6f,\"events\":%.6f,\"parse\":%.6f,\"write\":%.6f,\"peak_bytes\":%ld}\n", floor,
              events, parse, write, peak_kb * 1024);
  return result.contract ? 0 : 1;
}
