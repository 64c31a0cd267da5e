"""How parsing and validation time grow with the contract: the same generated
contract at 1x, 4x and 16x its base size, each time shown as a ratio to 1x.
Linear scaling shows as ratios near 4 and 16.

  python bench/bench_validation.py [--scale N] [--runs N]

The default base scale makes the 16x contract 100,000 schema fields, 20,000
rules, 20,000 semantic actions and 10,000 expressions (about 12 MiB of YAML,
under the 16 MiB document limit), with work for every validation pass."""

import argparse
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from timing import best_of_each  # noqa: E402
from make_contract import make_validation_contract, to_yaml  # noqa: E402

import vorn  # noqa: E402

FACTORS = (1, 4, 16)


def describe(scale):
    """The document of one size, with what it holds."""
    contract = make_validation_contract(scale)
    document = to_yaml(contract).encode()
    parsed = vorn.parse_document(document, "yaml")
    if parsed["contract"] is None:
        sys.exit(f"scale {scale}: the document does not parse: {parsed['report']['diagnostics'][0]['message']}")
    return {
        "document": document,
        "fields": sum(len(i["schema"]["fields"]) for i in contract["inputs"] + contract["outputs"]),
        "rules": len(contract["rules"]),
        "actions": len(contract["semanticActions"]),
        "expressions": len(contract["expressions"]),
        "mib": len(document) / (1024 * 1024),
        "diagnostics": len(vorn.validate_document(document, "yaml")["diagnostics"]),
    }


def rows(scale: int = 390, runs: int = 5) -> list:
    """(measurement, time, ratio) rows: validate against parse, and scaling."""
    sizes = {factor: describe(scale * factor) for factor in FACTORS}
    calls = {}
    for factor, size in sizes.items():
        calls[("parse", factor)] = lambda d=size["document"]: vorn.parse_document(d, "yaml")
        calls[("validate", factor)] = lambda d=size["document"]: vorn.validate_document(d, "yaml")
    best = best_of_each(calls, runs)
    base, parse = best[("validate", 1)], best[("parse", 1)]
    one = sizes[1]
    table = [(f"validate_document against parse_document (1x: {one['fields']:,} fields, "
              f"{one['rules']:,} rules, {one['actions']:,} actions, {one['expressions']:,} expressions)",
              f"{base * 1000:.0f} ms", f"{base / parse:.2f}x parse_document")]
    for factor, size in sizes.items():
        took = best[("validate", factor)]
        table.append((f"validate_document at {factor}x ({size['fields']:,} fields, {size['rules']:,} rules, "
                      f"{size['diagnostics']:,} diagnostics, {size['mib']:.1f} MiB)",
                      f"{took * 1000:.0f} ms", f"{took / base:.1f}x the 1x time"))
    return table


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=int, default=390, help="base scale (1x)")
    parser.add_argument("--runs", type=int, default=5, help="best of this many runs")
    args = parser.parse_args()
    from bench_parse import print_table
    print_table(rows(args.scale, args.runs))


if __name__ == "__main__":
    main()
