#!/usr/bin/env bash
# Builds the terminal and starts it on its built-in demo data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRA_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
exec build/release/src/app/kovra "$@"
