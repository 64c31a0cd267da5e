"""How parsing and validation time grow with the contract: the same generated
contract at 1x, 4x and 16x its base size, each time shown as a ratio to 1x.
Linear scaling shows as ratios near 4 and 16.

  python bench/bench_validation.py [--scale N] [--runs N]

The default base scale makes the 16x contract about 100,000 schema fields
and 11,000 rules (about 10 MiB of YAML, under the 16 MiB document limit)."""

import argparse
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from timing import best_of  # noqa: E402
from make_contract import make_contract, to_yaml  # noqa: E402

import vorn  # noqa: E402

FACTORS = (1, 4, 16)


def measure(scale, runs):
    contract = make_contract(scale)
    document = to_yaml(contract).encode()
    fields = sum(len(i["schema"]["fields"]) for i in contract["inputs"] + contract["outputs"])
    parsed = vorn.parse_document(document, "yaml")
    if parsed["contract"] is None:
        sys.exit(f"scale {scale}: the document does not parse: {parsed['report']['diagnostics'][0]['message']}")
    diagnostics = len(vorn.validate_document(document, "yaml")["diagnostics"])
    return {
        "fields": fields,
        "rules": len(contract["rules"]),
        "mib": len(document) / (1024 * 1024),
        "diagnostics": diagnostics,
        "parse": best_of(lambda: vorn.parse_document(document, "yaml"), runs),
        "validate": best_of(lambda: vorn.validate_document(document, "yaml"), runs),
    }


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=int, default=350, help="base scale (1x)")
    parser.add_argument("--runs", type=int, default=3, help="best of this many runs")
    args = parser.parse_args()

    rows = {factor: measure(args.scale * factor, args.runs) for factor in FACTORS}
    base = rows[1]
    print("| size | fields | rules | YAML | diagnostics | parse_document | ratio | validate_document | ratio |")
    print("|---|---|---|---|---|---|---|---|---|")
    for factor, row in rows.items():
        print(f"| {factor}x | {row['fields']:,} | {row['rules']:,} | {row['mib']:.1f} MiB | {row['diagnostics']:,} "
              f"| {row['parse'] * 1000:.0f} ms | {row['parse'] / base['parse']:.1f}x "
              f"| {row['validate'] * 1000:.0f} ms | {row['validate'] / base['validate']:.1f}x |")


if __name__ == "__main__":
    main()
