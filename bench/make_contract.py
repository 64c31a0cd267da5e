"""Builds a large, realistic contract: many interfaces with typed fields,
rules with parameters, expressions, semantic actions, lineage and metadata."""

import json


def make_contract(scale: int) -> dict:
    """Roughly 3 KB of YAML per unit of scale."""
    inputs, outputs, actions, expressions, rules, mappings = [], [], [], [], [], []
    types = ["string", "integer", "decimal", "boolean", "date", "datetime", "list<string>", "map<string,integer>"]
    for i in range(scale):
        fields = [
            {"name": f"field_{j}", "type": types[(i + j) % len(types)], "nullable": j % 3 == 0}
            for j in range(12)
        ]
        fields[1]["conversions"] = [{"from": "string", "to": "integer", "lossy": True}]
        inputs.append({
            "id": f"source_{i}",
            "schema": {"fields": fields},
            "optional": i % 5 == 4,
            "streaming": {"mode": "bounded"},
            "preconditions": [{"rule": f"not_null_{i}"}],
            "metadata": {"description": f"Source table number {i}", "tags": ["raw", "daily"],
                         "governance": {"owner": "data-platform", "reviewDate": "2026-01-15"}},
            "acme:partitioning": {"column": "field_4", "granularity": "day"},
        })
        outputs.append({"id": f"target_{i}", "schema": {"fields": fields[:6]},
                        "postconditions": [{"rule": f"range_{i}"}]})
        actions.append({"id": f"trim_{i}", "action": "vorn:trim", "target": f"source_{i}.field_0"})
        expressions.append({"id": f"expr_{i}", "type": "decimal",
                            "expr": f"source_{i}.field_2 * 1.5 + coalesce(source_{i}.field_3, 0) - {i}"})
        rules.append({"id": f"not_null_{i}", "rule": "vorn:not_null", "target": f"source_{i}.field_0",
                      "phase": "precondition"})
        rules.append({"id": f"range_{i}", "rule": "vorn:range", "target": f"target_{i}.field_1",
                      "phase": "postcondition", "parameters": {"min": 0, "max": 1000000}})
        mappings.append({"output": f"target_{i}", "inputs": [f"source_{i}"]})
    return {
        "vornVersion": "1.0.0-draft",
        "id": "com.example.bench",
        "name": "Benchmark contract",
        "version": "1.0.0",
        "metadata": {"description": "Generated for benchmarks", "classification": "internal"},
        "inputs": inputs,
        "outputs": outputs,
        "semanticActions": actions,
        "expressions": expressions,
        "functions": [{"id": "coalesce", "function": "vorn:coalesce", "type": "decimal", "nullable": True}],
        "rules": rules,
        "lineage": {"mappings": mappings},
        "semantics": {"deterministic": True, "ordering": {"mode": "explicit",
                                                          "order": [a["id"] for a in actions]}},
    }


def to_yaml(contract: dict) -> str:
    import yaml
    return yaml.safe_dump(contract, sort_keys=False, default_flow_style=False)


def to_json(contract: dict) -> str:
    return json.dumps(contract, indent=1)


WORDS = ["string", "integer", "decimal", "boolean", "date", "time", "datetime", "binary", "duration"]


def short_name(k: int) -> str:
    """One lower-case word per number: a, b, ..., z, ba, bb, ..."""
    letters = ""
    while True:
        letters = chr(ord("a") + k % 26) + letters
        k //= 26
        if k == 0:
            return letters


def make_scalar_contract(fields: int, per_input: int = 1000) -> dict:
    """Tens of thousands of fields with one-word names and types: the shape
    where each scalar costs most, relative to its bytes."""
    inputs = []
    for start in range(0, fields, per_input):
        inputs.append({"id": f"in{start // per_input}", "schema": {"fields": [
            {"name": short_name(k), "type": WORDS[k % len(WORDS)], "nullable": k % 2 == 1}
            for k in range(start, min(fields, start + per_input))
        ]}})
    return {"vornVersion": "1.0.0-draft", "id": "com.example.scalars", "name": "Short scalars",
            "version": "1.0.0", "inputs": inputs}


def to_flow_yaml(contract: dict) -> str:
    """The scalar contract as YAML with each field in flow style on its own line."""
    lines = [f"{key}: {contract[key]}" for key in ("vornVersion", "id", "name", "version")]
    lines.append("inputs:")
    for interface in contract["inputs"]:
        lines += [f"- id: {interface['id']}", "  schema:", "    fields:"]
        lines += [f"    - {{name: {f['name']}, type: {f['type']}, nullable: {str(f['nullable']).lower()}}}" for f in interface["schema"]["fields"]]
    return "\n".join(lines) + "\n"


def to_compact_json(contract: dict) -> str:
    return json.dumps(contract, separators=(",", ":"))
