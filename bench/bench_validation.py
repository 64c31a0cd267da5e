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


def rows(scale: int = 350, runs: int = 3) -> list:
    """(measurement, time, ratio) rows: validate against parse, and scaling."""
    measured = {factor: measure(scale * factor, runs) for factor in FACTORS}
    base = measured[1]
    table = [(f"validate_document against parse_document (1x: {base['fields']:,} fields, "
              f"{base['rules']:,} rules)", f"{base['validate'] * 1000:.0f} ms",
              f"{base['validate'] / base['parse']:.2f}x parse_document")]
    for factor, row in measured.items():
        table.append((f"validate_document at {factor}x ({row['fields']:,} fields, {row['mib']:.1f} MiB)",
                      f"{row['validate'] * 1000:.0f} ms", f"{row['validate'] / base['validate']:.1f}x the 1x time"))
    return table


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=int, default=350, help="base scale (1x)")
    parser.add_argument("--runs", type=int, default=3, help="best of this many runs")
    args = parser.parse_args()
    from bench_parse import print_table
    print_table(rows(args.scale, args.runs))


if __name__ == "__main__":
    main()
