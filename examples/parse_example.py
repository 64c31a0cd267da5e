"""Parses the example contracts shipped beside this script, prints them, and
prints what validation and analysis say about them."""

import json
import pathlib
import sys

import vorn


def main(folder: str) -> int:
    print("vorn specification version", vorn.spec_version())
    for path in sorted(pathlib.Path(folder).glob("*.y*ml")) + sorted(pathlib.Path(folder).glob("*.json")):
        result = vorn.parse_path(str(path))
        print(f"== {path.name}")
        print(json.dumps(result, indent=2))
        if result["contract"] is None:
            return 1
        validation = vorn.validate_contract(result["contract"])["diagnostics"]
        analysis = vorn.analyze_contract(result["contract"])["analysis"]
        print(f"validation: {len(validation)} diagnostics; analysis: "
              f"{len(analysis['diagnostics'])} diagnostics, {len(analysis['findings'])} findings")
        for item in validation + analysis["diagnostics"] + analysis["findings"]:
            print(f"  {item.get('id', item.get('kind'))} at {item.get('objectRef')}: {item['message']}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else str(pathlib.Path(__file__).parent)))
