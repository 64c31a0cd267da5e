#!/usr/bin/env bash
# Installs what building and testing vorn needs on a fresh Debian 12 machine:
# the C++ libraries from Debian, the Python tools from PyPI. Safe to re-run.
set -euo pipefail

debian_packages=(g++ cmake ninja-build libyaml-dev nlohmann-json3-dev libtsl-ordered-map-dev
                 libfmt-dev libicu-dev libgtest-dev clang libclang-rt-14-dev)
missing=()
for p in "${debian_packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

python3 -m pip install -q --disable-pip-version-check \
  "scikit-build-core>=0.10" "cmake>=3.26" ninja pytest hypothesis pyyaml
