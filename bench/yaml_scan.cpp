// The floor for YAML parsing: libyaml's event scan of a file, doing nothing
// with the events. Prints the best wall time of N runs in seconds.
#include <yaml.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

static bool scan(const std::string& text) {
  yaml_parser_t parser;
  yaml_parser_initialize(&parser);
  yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(text.data()), text.size());
  bool ok = true;
  for (;;) {
    yaml_event_t event;
    if (!yaml_parser_parse(&parser, &event)) {
      ok = false;
      break;
    }
    bool done = event.type == YAML_STREAM_END_EVENT;
    yaml_event_delete(&event);
    if (done) break;
  }
  yaml_parser_delete(&parser);
  return ok;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: yaml_scan FILE [RUNS]\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string text = buffer.str();
  int runs = argc > 2 ? std::stoi(argv[2]) : 5;
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    if (!scan(text)) {
      std::cerr << "scan failed\n";
      return 1;
    }
    std::chrono::duration<double> d = std::chrono::steady_clock::now() - start;
    if (d.count() < best) best = d.count();
  }
  std::printf("%.6f\n", best);
  return 0;
}
