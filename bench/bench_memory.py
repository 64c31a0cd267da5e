"""Peak memory of the core's document functions, as multiples of the
document's size, each call measured in a fresh process.

  python bench/bench_memory.py

For parse_document (the contract and its JSON text) and validate_document
(the report and its JSON text), YAML and JSON, on the benchmark contract
and on the contract of short scalars: the heap the call holds at its peak
(every allocation counted) and the resident memory it adds (the kernel's
high-water mark). Also parse_document's peak with its Python objects."""

import pathlib
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from core import Core, documents  # noqa: E402

STAGES = (("parse_document", "parse_write"), ("validate_document", "validate"))


def python_peak_ratio(data: bytes) -> float:
    """Resident memory one parse_document of YAML adds, Python objects
    included, with the kernel's high-water mark reset just before it."""
    code = """
import sys, vorn
def kb(key):
    for line in open('/proc/self/status'):
        if line.startswith(key):
            return int(line.split()[1])
data = sys.stdin.buffer.read()
vorn.parse_document(b'vornVersion: 1\\nid: a\\nname: b\\nversion: 1\\n')
open('/proc/self/clear_refs', 'w').write('5')
base = kb('VmRSS:')
vorn.parse_document(data, 'yaml')
print(kb('VmHWM:') - base)
"""
    out = subprocess.run([sys.executable, "-c", code], input=data, check=True, capture_output=True)
    return int(out.stdout) * 1024 / len(data)


def rows() -> list:
    docs = documents()
    core = Core()
    table = []
    for name in ("benchmark", "short scalars"):
        yaml_bytes, json_bytes = docs[name]
        for function, stage in STAGES:
            cells = []
            for suffix, data in (("yaml", yaml_bytes), ("json", json_bytes)):
                peak = core.peak(data, suffix, stage)
                cells.append(f"{suffix.upper()} {peak['heap'] / len(data):.1f}x heap, "
                             f"{peak['rss'] / len(data):.1f}x resident")
            table.append((f"core: peak memory of {function} ({name})", "", "; ".join(cells)))
    table.append(("parse_document YAML peak memory, Python objects included (benchmark)", "",
                  f"{python_peak_ratio(docs['benchmark'][0]):.1f}x the document size"))
    return table


def main():
    from bench_parse import print_table
    print_table(rows())


if __name__ == "__main__":
    main()
