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
