"""Document parsing speed, as ratios measured side by side in one run.

  python bench/bench_parse.py [--runs N]

The C++ core's YAML reading (contract and its JSON text, what
parse_document does before Python) beside libyaml's bare event scan of the
same bytes, for the benchmark contract, a contract of short scalars and
small documents read one after another; its JSON reading beside json.loads
of the same text, the two timed in turns so that they share the machine's
load; and parse_document end to end beside PyYAML's C loader."""

import argparse
import json
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from core import SMALL_REPEAT, Core, documents  # noqa: E402
from timing import best_of  # noqa: E402

import vorn  # noqa: E402


def ms(t: float) -> str:
    return f"{t * 1000:.0f} ms" if t >= 0.01 else f"{t * 1000:.1f} ms"


def yaml_rows(core: Core, name: str, data: bytes, runs: int) -> list:
    repeat = SMALL_REPEAT if name == "small" else 1
    t = core.times(data, "yaml", runs, repeat)
    scan = t["scan"]
    if name == "small":
        size = f"{repeat} documents of {len(data) / 1024:.1f} KB"
    else:
        size = f"{len(data) / 2**20:.1f} MiB, {len(data) / t['event_count']:.1f} bytes an event"
    return [
        (f"libyaml event scan, floor ({name}: {size})", ms(scan), "1.00x"),
        (f"core: YAML to event stream ({name})", ms(t["events"]), f"{t['events'] / scan:.2f}x the scan"),
        (f"core: YAML to contract ({name})", ms(t["parse"]), f"{t['parse'] / scan:.2f}x the scan"),
        (f"core: YAML to contract and its JSON text ({name})", ms(t["parse_write"]),
         f"{t['parse_write'] / scan:.2f}x the scan"),
    ]


def json_rows(core: Core, name: str, data: bytes, runs: int, rounds: int = 5) -> list:
    text = data.decode()
    best = {"parse": float("inf"), "parse_write": float("inf"), "loads": float("inf")}
    for _ in range(rounds):
        t = core.times(data, "json", runs)
        best["parse"] = min(best["parse"], t["parse"])
        best["parse_write"] = min(best["parse_write"], t["parse_write"])
        best["loads"] = min(best["loads"], best_of(lambda: json.loads(text), runs))
    loads = best["loads"]
    return [
        (f"json.loads, floor ({name}: JSON {len(data) / 2**20:.1f} MiB)", ms(loads), "1.00x"),
        (f"core: JSON to contract ({name})", ms(best["parse"]), f"{best['parse'] / loads:.2f}x json.loads"),
        (f"core: JSON to contract and its JSON text ({name})", ms(best["parse_write"]),
         f"{best['parse_write'] / loads:.2f}x json.loads"),
    ]


def end_to_end_rows(yaml_bytes: bytes, json_bytes: bytes, scan: float, loads: float) -> list:
    import yaml
    vorn_yaml = best_of(lambda: vorn.parse_document(yaml_bytes, "yaml"))
    pyyaml = best_of(lambda: yaml.load(yaml_bytes, Loader=yaml.CSafeLoader), runs=2)
    vorn_json = best_of(lambda: vorn.parse_document(json_bytes, "json"))
    return [
        ("parse_document YAML (benchmark), Python objects included", ms(vorn_yaml),
         f"{vorn_yaml / scan:.2f}x the scan"),
        ("PyYAML CSafeLoader (benchmark)", ms(pyyaml), f"parse_document is {pyyaml / vorn_yaml:.1f}x faster"),
        ("parse_document JSON (benchmark), Python objects included", ms(vorn_json),
         f"{vorn_json / loads:.2f}x json.loads"),
    ]


def rows(runs: int = 9) -> list:
    """(measurement, time, ratio) rows of the parse comparison."""
    docs = documents()
    for yaml_bytes, json_bytes in docs.values():
        assert vorn.parse_document(yaml_bytes, "yaml")["contract"] is not None
        assert vorn.parse_document(json_bytes, "json")["contract"] is not None
    core = Core()
    table = []
    for name, (yaml_bytes, _) in docs.items():
        table += yaml_rows(core, name, yaml_bytes, runs)
    for name in ("benchmark", "short scalars"):
        table += json_rows(core, name, docs[name][1], runs)
    scan = core.times(docs["benchmark"][0], "yaml", 3)["scan"]
    loads = best_of(lambda: json.loads(docs["benchmark"][1].decode()))
    return table + end_to_end_rows(*docs["benchmark"], scan, loads)


def print_table(table: list) -> None:
    print("| measurement | time | ratio |")
    print("|---|---|---|")
    for row in table:
        print("| " + " | ".join(row) + " |")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=9, help="best of this many runs")
    print_table(rows(parser.parse_args().runs))


if __name__ == "__main__":
    main()
