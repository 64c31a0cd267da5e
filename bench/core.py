"""The C++ core's own figures, from bench/parse_bench (built by CMake with
-DVORN_BUILD_BENCH=ON): stage times beside libyaml's bare scan, and the
memory one call holds at its peak. Also the documents the benchmarks read."""

import json
import os
import pathlib
import subprocess
import tempfile

from make_contract import make_contract, make_scalar_contract, to_compact_json, to_flow_yaml, to_json, to_yaml

ROOT = pathlib.Path(__file__).resolve().parent.parent
SMALL_REPEAT = 300  # small documents read one after another per timed run


def documents() -> dict:
    """name -> (YAML bytes, JSON bytes): the benchmark contract (about 3 KB
    of YAML per unit of scale), one of short scalars (one-word names and
    types, an event per 5 to 6 bytes) and a small document of a few KB."""
    bench = make_contract(1500)
    scalars = make_scalar_contract(40000)
    small = make_contract(1)
    return {
        "benchmark": (to_yaml(bench).encode(), to_json(bench).encode()),
        "short scalars": (to_flow_yaml(scalars).encode(), to_compact_json(scalars).encode()),
        "small": (to_yaml(small).encode(), to_json(small).encode()),
    }


def build() -> pathlib.Path:
    path = ROOT / "build" / "bench"
    subprocess.run(["cmake", "-S", str(ROOT), "-B", str(path), "-G", "Ninja", "-DVORN_BUILD_BENCH=ON",
                    "-DCMAKE_BUILD_TYPE=Release"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(path), "--target", "parse_bench"], check=True,
                   stdout=subprocess.DEVNULL)
    return path / "parse_bench"


class Core:
    """Runs parse_bench on documents written to a scratch folder."""

    def __init__(self):
        self.tool = build()
        self.folder = tempfile.TemporaryDirectory()

    def path(self, data: bytes, suffix: str) -> str:
        path = os.path.join(self.folder.name, f"{abs(hash(data))}.{suffix}")
        if not os.path.exists(path):
            pathlib.Path(path).write_bytes(data)
        return path

    def times(self, data: bytes, suffix: str, runs: int, repeat: int = 1) -> dict:
        """Best-of-runs seconds per stage, the stages timed in turn."""
        out = subprocess.run([str(self.tool), self.path(data, suffix), "time", str(runs), str(repeat)],
                             check=True, capture_output=True, text=True)
        return json.loads(out.stdout)

    def peak(self, data: bytes, suffix: str, stage: str) -> dict:
        """Heap and resident bytes one call adds at its peak, in a fresh process."""
        out = subprocess.run([str(self.tool), self.path(data, suffix), "peak", stage],
                             check=True, capture_output=True, text=True)
        return json.loads(out.stdout)
