"""Document parsing speed, as ratios measured side by side in one run.

  python bench/bench_parse.py [--scale N]

Compares the C++ core's YAML parsing (bench/parse_bench, built by CMake with
-DVORN_BUILD_BENCH=ON) with a bare libyaml event scan of the same bytes, and
vorn's parse_document (core parse, JSON writing and json.loads of the
result) with PyYAML's C loader; parse_document on JSON with json.loads. Also
reports peak memory of a YAML parse relative to the document size."""

import argparse
import json
import os
import pathlib
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from timing import best_of  # noqa: E402
from make_contract import make_contract, to_json, to_yaml  # noqa: E402

import vorn  # noqa: E402


def build_tools(root: pathlib.Path) -> pathlib.Path:
    build = root / "build" / "bench"
    subprocess.run(["cmake", "-S", str(root), "-B", str(build), "-G", "Ninja", "-DVORN_BUILD_BENCH=ON",
                    "-DCMAKE_BUILD_TYPE=Release"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(build), "--target", "yaml_scan", "parse_bench"], check=True,
                   stdout=subprocess.DEVNULL)
    return build


def core_times(build: pathlib.Path, path: str) -> dict:
    """The C++ core alone: libyaml scan, event stream, contract model, JSON writing."""
    out = subprocess.run([str(build / "parse_bench"), path, "5"], check=True, capture_output=True, text=True)
    return json.loads(out.stdout)


def peak_memory_ratio(path: str, size: int) -> float:
    """Peak resident memory added by one YAML parse, over the document size.
    The kernel's high-water mark is reset just before the parse."""
    code = """
import sys, vorn
def kb(key):
    for line in open('/proc/self/status'):
        if line.startswith(key):
            return int(line.split()[1])
data = open(sys.argv[1], 'rb').read()
vorn.parse_document(b'vornVersion: 1\\nid: a\\nname: b\\nversion: 1\\n')
open('/proc/self/clear_refs', 'w').write('5')
base = kb('VmRSS:')
vorn.parse_document(data, 'yaml')
print(kb('VmHWM:') - base)
"""
    out = subprocess.run([sys.executable, "-c", code, path], check=True, capture_output=True, text=True)
    return int(out.stdout) * 1024 / size


def rows(scale: int = 1500) -> list:
    """(measurement, time, ratio) rows of the parse comparison."""
    import yaml

    root = pathlib.Path(__file__).resolve().parent.parent
    contract = make_contract(scale)
    yaml_text, json_text = to_yaml(contract), to_json(contract)
    yaml_bytes, json_bytes = yaml_text.encode(), json_text.encode()
    assert vorn.parse_document(yaml_bytes, "yaml")["contract"] is not None
    assert vorn.parse_document(json_bytes, "json")["contract"] is not None

    build = build_tools(root)
    with tempfile.TemporaryDirectory() as tmp:
        yaml_path, json_path = os.path.join(tmp, "c.yaml"), os.path.join(tmp, "c.json")
        pathlib.Path(yaml_path).write_bytes(yaml_bytes)
        pathlib.Path(json_path).write_bytes(json_bytes)
        core_yaml = core_times(build, yaml_path)
        core_json = core_times(build, json_path)
        memory = peak_memory_ratio(yaml_path, len(yaml_bytes))
    scan = core_yaml["scan"]

    vorn_yaml = best_of(lambda: vorn.parse_document(yaml_bytes, "yaml"))
    pyyaml = best_of(lambda: yaml.load(yaml_text, Loader=yaml.CSafeLoader), runs=2)
    vorn_json = best_of(lambda: vorn.parse_document(json_bytes, "json"))
    json_loads = best_of(lambda: json.loads(json_text))

    def ms(t):
        return f"{t * 1000:.0f} ms"

    mib = 1024 * 1024
    size = f"YAML {len(yaml_bytes) / mib:.1f} MiB, JSON {len(json_bytes) / mib:.1f} MiB"
    return [
        (f"libyaml event scan, floor ({size})", ms(scan), "1.00x"),
        ("core: YAML to event stream", ms(core_yaml["events"]), f"{core_yaml['events'] / scan:.2f}x the scan"),
        ("core: YAML to contract", ms(core_yaml["parse"]), f"{core_yaml['parse'] / scan:.2f}x the scan"),
        ("core: contract to JSON text", ms(core_yaml["write"]), f"{core_yaml['write'] / scan:.2f}x the scan"),
        ("parse_document YAML", ms(vorn_yaml), f"{vorn_yaml / scan:.2f}x the scan"),
        ("PyYAML CSafeLoader", ms(pyyaml), f"parse_document is {pyyaml / vorn_yaml:.1f}x faster"),
        ("json.loads, floor", ms(json_loads), "1.00x"),
        ("core: JSON to contract", ms(core_json["parse"]), f"{core_json['parse'] / json_loads:.2f}x json.loads"),
        ("parse_document JSON", ms(vorn_json), f"{vorn_json / json_loads:.2f}x json.loads"),
        ("core: peak memory of a YAML parse and its JSON text", "",
         f"{core_yaml['peak_bytes'] / len(yaml_bytes):.1f}x the document size"),
        ("parse_document YAML peak memory, Python objects included", "", f"{memory:.1f}x the document size"),
    ]


def print_table(table: list) -> None:
    print("| measurement | time | ratio |")
    print("|---|---|---|")
    for row in table:
        print("| " + " | ".join(row) + " |")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=int, default=1500)
    print_table(rows(parser.parse_args().scale))


if __name__ == "__main__":
    main()
