#!/usr/bin/env bash
# Sets up, builds, and parses the shipped example contracts end to end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build_python.sh
cd /tmp && python3 "$OLDPWD/examples/parse_example.py" "$OLDPWD/examples"
