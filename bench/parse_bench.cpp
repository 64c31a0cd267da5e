// Times the core's document reading against libyaml's bare event scan of the
// same bytes, in one process, and measures the memory it holds at its peak.
//   parse_bench FILE.yaml|FILE.json time [RUNS [REPEAT]]
// prints the best-of-RUNS seconds of each stage over REPEAT documents read
// one after another, the stages taking turns so that they share the
// machine's load alike;
//   parse_bench FILE peak STAGE
// prints the heap and resident bytes one run of STAGE adds at its peak (run
// each stage in a fresh process: freed memory changes what a second sees);
//   parse_bench FILE run STAGE [REPEAT]
// runs one stage and prints nothing, for instruction counts:
//   valgrind --tool=callgrind --toggle-collect='*run_stage*' parse_bench FILE run parse_write
// Stages: scan (libyaml alone), events, parse, parse_write (what
// parse_document does in the core), validate (what validate_document does).
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
#include <vector>

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
bool g_counting = false;  // only while a peak is measured, so that timings pay nothing

void* counted(void* p) {
  if (!p) throw std::bad_alloc();
  if (!g_counting) return p;
  long now = g_live += static_cast<long>(malloc_usable_size(p));
  long peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}
void release(void* p) {
  if (!p) return;
  if (g_counting) g_live -= static_cast<long>(malloc_usable_size(p));
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
  g_counting = true;
  long base_heap = g_live.load();
  g_peak = base_heap;
  fn();
  g_counting = false;
  return {g_peak.load() - base_heap, (status_kb("VmHWM:") - base_kb) * 1024};
}

__attribute__((noinline)) void run_stage(const std::string& stage, const std::string& text, DocumentFormat format,
                                         int repeat) {
  for (int k = 0; k < repeat; ++k) {
    if (stage == "scan") scan(text);
    if (stage == "events") events(text, format);
    if (stage == "parse") vorn::parser::parse(text, format);
    if (stage == "parse_write") parse_write(text, format);
    if (stage == "validate") validate(text, format);
  }
}

// Best-of-`runs` seconds for each stage, the stages timed in turn.
void print_times(const std::string& text, DocumentFormat format, int runs, int repeat) {
  std::vector<std::string> stages = {"events", "parse", "parse_write"};
  if (format == DocumentFormat::Yaml) stages.insert(stages.begin(), "scan");
  std::vector<double> best(stages.size(), 1e9);
  for (int i = 0; i < runs; ++i) {
    for (std::size_t s = 0; s < stages.size(); ++s) {
      auto start = std::chrono::steady_clock::now();
      run_stage(stages[s], text, format, repeat);
      std::chrono::duration<double> d = std::chrono::steady_clock::now() - start;
      best[s] = std::min(best[s], d.count());
    }
  }
  std::string out = "{";
  for (std::size_t s = 0; s < stages.size(); ++s)
    out += (s ? ",\"" : "\"") + stages[s] + "\":" + std::to_string(best[s]);
  std::printf("%s,\"event_count\":%zu}\n", out.c_str(), events(text, format));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  const std::string mode = argv[2];
  auto format = std::string(argv[1]).ends_with(".json") ? DocumentFormat::Json : DocumentFormat::Yaml;
  vorn::registry::default_registry();  // built once per process, not part of any call
  if (mode == "time") {
    print_times(text, format, argc > 3 ? std::atoi(argv[3]) : 5, argc > 4 ? std::atoi(argv[4]) : 1);
  } else if (mode == "peak" && argc > 3) {
    Peak peak = peak_of([&] { run_stage(argv[3], text, format, 1); });
    std::printf("{\"heap\":%ld,\"rss\":%ld}\n", peak.heap, peak.rss);
  } else if (mode == "run" && argc > 3) {
    run_stage(argv[3], text, format, argc > 4 ? std::atoi(argv[4]) : 1);
  } else {
    return 2;
  }
  return 0;
}
