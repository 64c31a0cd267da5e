"""parse_document and parse_path: argument binding, content conversion,
results and hostile input."""

import array
import os
import random
import re
import sys
import time

import pytest

from conftest import (
    MAX_DOCUMENT_SIZE,
    MINIMAL_CONTRACT,
    MINIMAL_JSON,
    MINIMAL_YAML,
    SIZE_MESSAGE,
    YAML_ONLY,
    parsed_contract,
    single_parse_error,
)
from vorn._native import parse_document, parse_path

CONTENT_TYPE_ERROR = "content must be str, bytes, or bytearray"


def exactly(text):
    return "^" + re.escape(text) + "$"


# --- content ----------------------------------------------------------------

ENCODED = MINIMAL_YAML.encode()


@pytest.mark.parametrize(
    "content",
    [MINIMAL_YAML, ENCODED, bytearray(ENCODED), list(ENCODED), tuple(ENCODED), memoryview(ENCODED)],
    ids=["str", "bytes", "bytearray", "list", "tuple", "memoryview"],
)
def test_content_kinds_give_the_same_contract(content):
    assert parsed_contract(parse_document(content)) == MINIMAL_CONTRACT


def test_minimal_contract_keys_in_order():
    contract = parsed_contract(parse_document(MINIMAL_YAML))
    assert list(contract) == list(MINIMAL_CONTRACT)


def test_non_ascii_str_is_utf8():
    contract = parsed_contract(parse_document(MINIMAL_YAML.replace("Orders", "Bestellungen \u00fc\U0001f600")))
    assert contract["name"] == "Bestellungen \u00fc\U0001f600"


@pytest.mark.parametrize(
    "content, message",
    [
        (None, "content must be str or bytes"),
        (42, CONTENT_TYPE_ERROR),
        (1.5, CONTENT_TYPE_ERROR),
        ({"vornVersion": "1.0.0"}, CONTENT_TYPE_ERROR),
        ([256], CONTENT_TYPE_ERROR),
        ([-1], CONTENT_TYPE_ERROR),
        ([1 << 70], CONTENT_TYPE_ERROR),
        ([65, "B"], CONTENT_TYPE_ERROR),
        ([65, 1.0], CONTENT_TYPE_ERROR),
        ("lone \ud800 surrogate", CONTENT_TYPE_ERROR),
    ],
    ids=["None", "int", "float", "dict", "256", "-1", "huge", "str-item", "float-item", "surrogate"],
)
def test_bad_content_raises_type_error(content, message):
    with pytest.raises(TypeError, match=exactly(message)) as caught:
        parse_document(content)
    # Intermediate errors (OverflowError, UnicodeEncodeError) must not leak through as context.
    assert caught.value.__context__ is None


def test_sequence_items_past_the_size_limit_are_still_checked():
    items = array.array("H", [32]) * (MAX_DOCUMENT_SIZE + 1)
    assert single_parse_error(parse_document(items)) == SIZE_MESSAGE
    items.append(256)
    with pytest.raises(TypeError, match=exactly(CONTENT_TYPE_ERROR)):
        parse_document(items)


class BrokenSequence:
    def __len__(self):
        return 3

    def __getitem__(self, index):
        raise KeyError(index)


class LyingSequence:
    """Claims far more items than it has: nothing may be allocated up front."""

    def __len__(self):
        return sys.maxsize

    def __getitem__(self, index):
        if index >= 2:
            raise IndexError(index)
        return 32


@pytest.mark.parametrize("content", [BrokenSequence(), LyingSequence()])
def test_misbehaving_sequences(content):
    with pytest.raises(TypeError, match=exactly(CONTENT_TYPE_ERROR)):
        parse_document(content)


# --- format -----------------------------------------------------------------


@pytest.mark.parametrize("fmt", ["yaml", "YAML", "Yml", "yml", "json", "JSON", "Json"])
def test_format_names_are_case_insensitive(fmt):
    content = MINIMAL_JSON if fmt.lower() == "json" else MINIMAL_YAML
    assert parsed_contract(parse_document(content, fmt)) == MINIMAL_CONTRACT


def test_format_selects_the_reader():
    single_parse_error(parse_document(YAML_ONLY, "json"))
    assert parsed_contract(parse_document(YAML_ONLY)) == MINIMAL_CONTRACT


@pytest.mark.parametrize("fmt, shown", [("Xml", "xml"), ("", ""), ("YAML ", "yaml "), ("\u0130", "i\u0307")])
def test_unsupported_format(fmt, shown):
    with pytest.raises(ValueError, match=exactly(f"unsupported format '{shown}'; use 'yaml' or 'json'")):
        parse_document(MINIMAL_YAML, fmt)


@pytest.mark.parametrize("fmt, type_name", [(5, "int"), (None, "None"), (b"yaml", "bytes")])
def test_format_must_be_str(fmt, type_name):
    message = f"parse_document() argument 'format' must be str, not {type_name}"
    with pytest.raises(TypeError, match=exactly(message)):
        parse_document(MINIMAL_YAML, fmt)
    with pytest.raises(TypeError, match=exactly(message)):
        parse_document(MINIMAL_YAML, format=fmt)


@pytest.mark.parametrize("content, message", [(None, "content must be str or bytes"), (42, CONTENT_TYPE_ERROR)])
def test_content_error_comes_before_format_error(content, message):
    with pytest.raises(TypeError, match=exactly(message)):
        parse_document(content, "xml")


# --- binding ----------------------------------------------------------------


@pytest.mark.parametrize(
    "args, kwargs",
    [
        ((MINIMAL_JSON, "json"), {}),
        ((MINIMAL_JSON,), {"format": "json"}),
        ((), {"content": MINIMAL_JSON, "format": "json"}),
        ((), {"format": "json", "content": MINIMAL_JSON}),
    ],
)
def test_positional_and_keyword_arguments(args, kwargs):
    assert parsed_contract(parse_document(*args, **kwargs)) == MINIMAL_CONTRACT


@pytest.mark.parametrize(
    "call",
    [
        lambda: parse_document(),
        lambda: parse_document(MINIMAL_YAML, "yaml", "extra"),
        lambda: parse_document(MINIMAL_YAML, fmt="yaml"),
        lambda: parse_document(MINIMAL_YAML, content=MINIMAL_YAML),
        lambda: parse_path(),
        lambda: parse_path("a.yaml", "b.yaml"),
        lambda: parse_path(file="a.yaml"),
    ],
    ids=["no-args", "too-many", "unknown-keyword", "twice", "path-missing", "path-too-many", "path-keyword"],
)
def test_bad_calls_raise_type_error(call):
    with pytest.raises(TypeError):
        call()


# --- results and hostile documents ------------------------------------------


def test_document_that_does_not_parse():
    single_parse_error(parse_document("vornVersion: [unclosed"))


def alias_bomb():
    lines = ['a: &a ["lol","lol","lol","lol","lol","lol","lol","lol","lol"]']
    for i in range(1, 10):
        name, previous = chr(ord("a") + i), chr(ord("a") + i - 1)
        lines.append(f"{name}: &{name} [" + ",".join([f"*{previous}"] * 9) + "]")
    return "\n".join(lines) + "\n"


HOSTILE = [
    ("yaml-deep-flow", "[" * 10_000, "yaml"),
    ("yaml-deep-block", "".join(" " * i + "- \n" for i in range(0, 20_000, 2)), "yaml"),
    ("json-deep", "[" * 10_000 + "]" * 10_000, "json"),
    ("yaml-invalid-utf8", b"vornVersion: \xff\xfe\x80\n", "yaml"),
    ("json-invalid-utf8", b'{"vornVersion": "\xff\xfe\x80"}', "json"),
    ("alias-bomb", alias_bomb(), "yaml"),
    ("empty-yaml", "", "yaml"),
    ("empty-json", "", "json"),
    ("scalar", "42", "yaml"),
    ("two-documents", MINIMAL_YAML + "---\n" + MINIMAL_YAML, "yaml"),
] + [
    (f"random-{fmt}-{seed}", random.Random(seed).randbytes(2048), fmt)
    for seed in (1, 7, 42)
    for fmt in ("yaml", "json")
]


@pytest.mark.parametrize("content, fmt", [case[1:] for case in HOSTILE], ids=[case[0] for case in HOSTILE])
def test_hostile_documents_give_one_parse_error(content, fmt):
    started = time.monotonic()
    single_parse_error(parse_document(content, fmt))
    assert time.monotonic() - started < 10


@pytest.mark.parametrize("fmt", ["yaml", "json"])
def test_size_limit_is_inclusive(fmt):
    padding_at = MINIMAL_YAML if fmt == "yaml" else MINIMAL_JSON
    pad = MAX_DOCUMENT_SIZE - len(padding_at)
    at_limit = MINIMAL_YAML + "#" * (pad - 1) + "\n" if fmt == "yaml" else MINIMAL_JSON + " " * pad
    assert len(at_limit) == MAX_DOCUMENT_SIZE
    assert parsed_contract(parse_document(at_limit, fmt)) == MINIMAL_CONTRACT
    assert single_parse_error(parse_document(at_limit + " ", fmt)) == SIZE_MESSAGE


@pytest.mark.parametrize(
    "call",
    [
        lambda c: parse_document(c),
        lambda c: parse_document(c, "json"),
        lambda c: parse_document(c, "xml"),
        lambda c: parse_document([c], "yaml"),
    ],
    ids=["ok", "parse-error", "format-error", "content-error"],
)
def test_no_references_leak(call):
    content = MINIMAL_YAML + "# unique\n"
    json_module = sys.modules["json"]
    before = sys.getrefcount(content), sys.getrefcount(json_module)
    for _ in range(200):
        try:
            call(content)
        except (TypeError, ValueError):
            pass
    assert (sys.getrefcount(content), sys.getrefcount(json_module)) == before


# --- parse_path -------------------------------------------------------------


@pytest.mark.parametrize("name, text", [("c.yaml", MINIMAL_YAML), ("c.yml", MINIMAL_YAML), ("c.json", MINIMAL_JSON)])
def test_parse_path_by_extension(tmp_path, name, text):
    path = tmp_path / name
    path.write_text(text)
    assert parsed_contract(parse_path(str(path))) == MINIMAL_CONTRACT
    assert parse_path(path=str(path)) == parse_document(text, name.rsplit(".", 1)[1])


def test_parse_path_reports_parse_errors_as_diagnostics(tmp_path):
    path = tmp_path / "c.json"
    path.write_text(MINIMAL_YAML)
    single_parse_error(parse_path(str(path)))


@pytest.mark.parametrize("name", ["c.YAML", "contract", "c.txt", ".yaml"])
def test_parse_path_unsupported_extension(tmp_path, name):
    path = tmp_path / name
    path.write_text(MINIMAL_YAML)
    message = f"unsupported file extension for {path}; use .yaml, .yml, or .json"
    with pytest.raises(ValueError, match=exactly(message)):
        parse_path(str(path))


@pytest.mark.parametrize("name", ["missing.txt", "missing.yaml", "directory.yaml"])
def test_parse_path_unreadable(tmp_path, name):
    path = tmp_path / name
    if name.startswith("directory"):
        path.mkdir()
    with pytest.raises(ValueError) as caught:
        parse_path(str(path))
    assert str(caught.value).startswith(f"failed to read {path}: ")


def test_parse_path_rejects_embedded_nul(tmp_path):
    path = tmp_path / "c.yaml"
    path.write_text(MINIMAL_YAML)
    with pytest.raises(ValueError):
        parse_path(str(path) + "\0.txt")


def test_parse_path_undecodable_file_name(tmp_path):
    name = os.fsdecode(b"caf\xe9.yaml")  # surrogateescape on a UTF-8 file system
    path = tmp_path / name
    with open(os.fsencode(path), "w") as f:
        f.write(MINIMAL_YAML)
    assert parsed_contract(parse_path(str(path))) == MINIMAL_CONTRACT
    os.remove(os.fsencode(path))
    with pytest.raises(ValueError) as caught:
        parse_path(str(path))
    assert "caf\ufffd.yaml" in str(caught.value)


@pytest.mark.parametrize("fmt", ["yaml", "json"])
def test_parse_path_oversized_file(tmp_path, fmt):
    path = tmp_path / f"big.{fmt}"
    path.write_bytes(b" " * (MAX_DOCUMENT_SIZE + 1))
    assert single_parse_error(parse_path(str(path))) == SIZE_MESSAGE


def test_parse_path_endless_file_stops_at_the_limit(tmp_path):
    if not os.path.exists("/dev/zero"):
        pytest.skip("no /dev/zero")
    link = tmp_path / "zero.yaml"
    link.symlink_to("/dev/zero")
    started = time.monotonic()
    assert single_parse_error(parse_path(str(link))) == SIZE_MESSAGE
    assert time.monotonic() - started < 10
