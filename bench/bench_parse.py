"""Document parsing speed, as ratios measured side by side in one run.

  python bench/bench_parse.py [--scale N]

Compares vorn's parse_document on YAML with a bare libyaml event scan of the
same bytes (bench/yaml_scan, built by CMake with -DVORN_BUILD_BENCH=ON) and
with PyYAML's C loader, and parse_document on JSON with json.loads. Also
reports peak memory of a YAML parse relative to the document size."""

import argparse
import json
import os
import pathlib
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from make_contract import make_contract, to_json, to_yaml  # noqa: E402

import vorn  # noqa: E402


def best_of(fn, runs=5):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        fn()
        best = min(best, time.perf_counter() - start)
    return best


def build_scanner(root: pathlib.Path) -> pathlib.Path:
    build = root / "build" / "bench"
    subprocess.run(["cmake", "-S", str(root), "-B", str(build), "-G", "Ninja", "-DVORN_BUILD_BENCH=ON",
                    "-DCMAKE_BUILD_TYPE=Release"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(build), "--target", "yaml_scan"], check=True,
                   stdout=subprocess.DEVNULL)
    return build / "yaml_scan"


def peak_memory_ratio(path: str, size: int) -> float:
    code = ("import resource,sys,vorn;d=open(sys.argv[1],'rb').read();"
            "b=resource.getrusage(resource.RUSAGE_SELF).ru_maxrss;vorn.parse_document(d,'yaml');"
            "print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss-b)")
    out = subprocess.run([sys.executable, "-c", code, path], check=True, capture_output=True, text=True)
    return int(out.stdout) * 1024 / size


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=int, default=1500)
    args = parser.parse_args()
    import yaml

    root = pathlib.Path(__file__).resolve().parent.parent
    contract = make_contract(args.scale)
    yaml_text, json_text = to_yaml(contract), to_json(contract)
    yaml_bytes, json_bytes = yaml_text.encode(), json_text.encode()
    assert vorn.parse_document(yaml_bytes, "yaml")["contract"] is not None
    assert vorn.parse_document(json_bytes, "json")["contract"] is not None

    scanner = build_scanner(root)
    with tempfile.NamedTemporaryFile("wb", suffix=".yaml", delete=False) as f:
        f.write(yaml_bytes)
    try:
        scan = float(subprocess.run([str(scanner), f.name, "5"], check=True, capture_output=True,
                                    text=True).stdout)
        memory = peak_memory_ratio(f.name, len(yaml_bytes))
    finally:
        os.unlink(f.name)

    vorn_yaml = best_of(lambda: vorn.parse_document(yaml_bytes, "yaml"))
    pyyaml = best_of(lambda: yaml.load(yaml_text, Loader=yaml.CSafeLoader), runs=2)
    vorn_json = best_of(lambda: vorn.parse_document(json_bytes, "json"))
    json_loads = best_of(lambda: json.loads(json_text))

    mb = 1024 * 1024
    print(f"document: YAML {len(yaml_bytes) / mb:.1f} MiB, JSON {len(json_bytes) / mb:.1f} MiB")
    print("| measurement | time | ratio |")
    print("|---|---|---|")
    print(f"| libyaml event scan (floor) | {scan * 1000:.0f} ms | 1.00x |")
    print(f"| vorn parse_document YAML | {vorn_yaml * 1000:.0f} ms | {vorn_yaml / scan:.2f}x the scan |")
    print(f"| PyYAML CSafeLoader | {pyyaml * 1000:.0f} ms | vorn is {pyyaml / vorn_yaml:.1f}x faster |")
    print(f"| json.loads (floor) | {json_loads * 1000:.0f} ms | 1.00x |")
    print(f"| vorn parse_document JSON | {vorn_json * 1000:.0f} ms | {vorn_json / json_loads:.2f}x json.loads |")
    print(f"| peak memory of a YAML parse | | {memory:.1f}x the document size |")


if __name__ == "__main__":
    main()
