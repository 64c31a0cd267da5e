// Times the core's document reading against libyaml's bare event scan of the
// same bytes, in one process, and measures the memory it holds at its peak.
//   parse_bench FILE.yaml|FILE.json [RUNS [REPEAT]]
// prints one JSON object: best-of-RUNS seconds of each stage over REPEAT
// documents read one after another, and peak bytes of one document.
//   parse_bench FILE STAGE [REPEAT]
// runs one stage REPEAT times and prints nothing: for instruction counts,
//   valgrind --tool=callgrind --toggle-collect='*run_stage*' parse_bench FILE parse_write
#include <malloc.h>
#include <yaml.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <new>
#include <sstream>
#include <string>

#include "parser/json_events.h"
#include "parser/parse.h"
#include "parser/yaml_events.h"
#include "registry/default_registry.h"
#include "validation/parse_result.h"

// Heap accounting for the peak: every C++ allocation of the process passes
// here (libyaml's own few fixed buffers do not).
namespace {
std::atomic<long> g_live{0};
std::atomic<long> g_peak{0};

void* counted(void* p) {
  if (!p) throw std::bad_alloc();
  long now = g_live += static_cast<long>(malloc_usable_size(p));
  long peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}
void release(void* p) {
  if (!p) return;
  g_live -= static_cast<long>(malloc_usable_size(p));
  std::free(p);
}
}  // namespace

void* operator new(std::size_t n) { return counted(std::malloc(n ? n : 1)); }
void* operator new[](std::size_t n) { return counted(std::malloc(n ? n : 1)); }
void* operator new(std::size_t n, std::align_val_t a) {
  return counted(std::aligned_alloc(static_cast<std::size_t>(a), (n + static_cast<std::size_t>(a) - 1) &
                                                                     ~(static_cast<std::size_t>(a) - 1)));
}
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { release(p); }

namespace {

using vorn::parser::DocumentFormat;

double best_of(int runs, int repeat, const std::function<void()>& fn) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < repeat; ++k) fn();
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

// What parse_document does in the core: the contract and its JSON text.
std::size_t parse_write(const std::string& text, DocumentFormat format) {
  return vorn::parser::parse(text, format).to_json().size();
}

// What validate_document does in the core: the report and its JSON text.
std::size_t validate(const std::string& text, DocumentFormat format) {
  return vorn::validation::validate_parse_result(vorn::parser::parse(text, format)).to_json().size();
}

std::size_t events(const std::string& text, DocumentFormat format) {
  auto r = format == DocumentFormat::Json ? vorn::parser::json::read_events(text)
                                          : vorn::parser::yaml::read_events(text);
  return r ? r.value().events.size() : 0;
}

long status_kb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
  return 0;
}

struct Peak {
  long heap = 0;  // bytes allocated at the peak, beyond those live before
  long rss = 0;   // resident bytes added at the peak
};

// Resident memory is measured with the kernel's high-water mark reset just
// before the call; run first, before other runs leave freed memory around.
Peak peak_of(const std::function<void()>& fn) {
  std::ofstream("/proc/self/clear_refs") << "5";
  long base_kb = status_kb("VmRSS:");
  long base_heap = g_live.load();
  g_peak = base_heap;
  fn();
  return {g_peak.load() - base_heap, (status_kb("VmHWM:") - base_kb) * 1024};
}

__attribute__((noinline)) void run_stage(const std::string& stage, const std::string& text, DocumentFormat format,
                                         int repeat) {
  for (int k = 0; k < repeat; ++k) {
    if (stage == "scan") scan(text);
    if (stage == "events") events(text, format);
    if (stage == "parse_write") parse_write(text, format);
    if (stage == "validate") validate(text, format);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  auto format = std::string(argv[1]).ends_with(".json") ? DocumentFormat::Json : DocumentFormat::Yaml;
  vorn::registry::default_registry();  // built once per process, not part of any call
  if (argc > 2 && !std::isdigit(static_cast<unsigned char>(argv[2][0]))) {
    run_stage(argv[2], text, format, argc > 3 ? std::atoi(argv[3]) : 1);
    return 0;
  }
  int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  int repeat = argc > 3 ? std::atoi(argv[3]) : 1;

  Peak parse_peak = peak_of([&] { parse_write(text, format); });
  Peak validate_peak = peak_of([&] { validate(text, format); });
  bool yaml = format == DocumentFormat::Yaml;
  double floor = yaml ? best_of(runs, repeat, [&] { scan(text); }) : 0;
  double event_time = best_of(runs, repeat, [&] { events(text, format); });
  double parse = best_of(runs, repeat, [&] { vorn::parser::parse(text, format); });
  double whole = best_of(runs, repeat, [&] { parse_write(text, format); });
  auto result = vorn::parser::parse(text, format);
  std::printf(
      "{\"scan\":%.6f,\"events\":%.6f,\"parse\":%.6f,\"parse_write\":%.6f,\"event_count\":%zu,"
      "\"heap_parse\":%ld,\"rss_parse\":%ld,\"heap_validate\":%ld,\"rss_validate\":%ld}\n",
      floor, event_time, parse, whole, events(text, format), parse_peak.heap, parse_peak.rss,
      validate_peak.heap, validate_peak.rss);
  return result.contract ? 0 : 1;
}
