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


INPUT_FIELDS = [("order_id", "string"), ("customer_id", "string"), ("amount", "decimal"), ("quantity", "integer"),
                ("placed_at", "datetime"), ("status", "string"), ("tags", "list<string>"),
                ("attributes", "map<string,integer>")]
OUTPUT_FIELDS = [("order_key", "string"), ("net_amount", "decimal"), ("quantity", "integer"), ("day", "date"),
                 ("status", "string"), ("customer", "string"), ("revenue", "decimal"), ("tag_count", "integer")]


def make_validation_contract(scale: int) -> dict:
    """A contract in which every validation pass has work: per unit of scale an
    input and an output of 8 typed fields each, on average 3.2 rules, 3.2
    semantic actions and 1.6 expressions, a lineage mapping and interface
    conditions; about one expression in fifty declares the wrong type. 6,250
    units make 100,000 fields, 20,000 rules, 20,000 actions, 10,000 expressions."""
    inputs, outputs, actions, expressions, rules, mappings = [], [], [], [], [], []
    functions = [{"id": f"norm_{k}", "function": "vorn:lower", "type": "string", "nullable": True,
                  "parameters": [{"name": "value", "type": "string"}]} for k in range(max(1, scale // 50))]
    for i in range(scale):
        src, dst = f"src_{i}", f"dst_{i}"
        fields = [{"name": n, "type": t, "nullable": n in ("status", "tags")} for n, t in INPUT_FIELDS]
        fields[3]["conversions"] = [{"from": "integer", "to": "decimal", "lossy": True}]
        source = {"id": src, "schema": {"fields": fields}, "optional": i % 5 == 4,
                  "preconditions": [{"rule": f"ids_{i}"}]}
        if i % 4 == 0:
            source["metadata"] = {"description": f"Orders of shard {i}",
                                  "governance": {"owner": "data-platform", "reviewDate": "2026-01-15"}}
            source["acme:partitioning"] = {"column": "placed_at", "granularity": "day"}
        inputs.append(source)
        outputs.append({"id": dst, "schema": {"fields": [{"name": n, "type": t, "nullable": n == "status"}
                                                         for n, t in OUTPUT_FIELDS]},
                        "postconditions": [{"rule": f"range_{i}"}]})
        mappings.append({"output": dst, "inputs": [src]})
        actions += [{"id": f"trim_{i}", "action": "vorn:trim", "target": f"{src}.status"},
                    {"id": f"lower_{i}", "action": "vorn:lowercase", "target": f"{src}.order_id"},
                    {"id": f"hash_{i}", "action": "vorn:hash_sha256", "target": f"{src}.customer_id"}]
        rules += [{"id": f"ids_{i}", "rule": "vorn:not_null", "target": f"{src}.order_id", "phase": "precondition"},
                  {"id": f"range_{i}", "rule": "vorn:range", "target": f"{dst}.quantity", "phase": "postcondition",
                   "parameters": {"min": 0, "max": 1000000}},
                  {"id": f"customer_{i}", "rule": "vorn:min_length", "target": f"{src}.customer_id",
                   "phase": "execution", "parameters": {"min": 1}}]
        if i % 5 == 0:
            actions.append({"id": f"upper_{i}", "action": "vorn:uppercase", "target": f"{dst}.order_key"})
            rules.append({"id": f"key_{i}", "rule": "vorn:max_length", "target": f"{dst}.order_key",
                          "phase": "postcondition", "parameters": {"max": 64}})
        expressions.append({"id": f"net_{i}", "type": "integer" if i % 50 == 49 else "decimal",
                            "expr": f"{src}.amount * 2 - {src}.quantity"})
        if i % 5 < 3:
            expressions.append({"id": f"key_{i}", "type": "string",
                                "expr": f"vorn:concat(norm_{i % len(functions)}({src}.order_id), '-', "
                                        f"{src}.customer_id)"})
    return {
        "vornVersion": "1.0.0", "id": "com.example.validation", "name": "Validation benchmark",
        "version": "1.0.0", "metadata": {"description": "Generated for benchmarks", "classification": "internal"},
        "inputs": inputs, "outputs": outputs, "semanticActions": actions, "expressions": expressions,
        "functions": functions, "rules": rules, "lineage": {"mappings": mappings},
        "versioning": {"compatibility": "vorn:backward"}, "semantics": {"deterministic": True},
        "acme:owner": "data-platform",
    }


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
