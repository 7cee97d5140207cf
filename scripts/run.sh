#!/usr/bin/env bash
# Builds the terminal and starts it on its built-in demo data, with the back-office simulator as
# the demo server on 127.0.0.1:7992 and the web-service simulator as the online part's service on
# 127.0.0.1:7993 (each unless something already listens there).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRA_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"

sim_pid=
web_pid=
trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; [ -n "$web_pid" ] && kill "$web_pid" 2>/dev/null' EXIT
if ! (exec 3<>/dev/tcp/127.0.0.1/7992) 2>/dev/null; then
  build/release/tools/backoffice/backoffice-sim --port 7992 --quiet &
  sim_pid=$!
fi
if ! (exec 3<>/dev/tcp/127.0.0.1/7993) 2>/dev/null; then
  build/release/tools/websim/websim --port 7993 --quiet &
  web_pid=$!
fi
# The demo device stands in the web-service simulator's city unless a position is given.
position=(--position 31.2304,121.4737 --place 上海市)
for a in "$@"; do [ "$a" = --position ] && position=(); done
build/release/src/app/kovra "${position[@]}" "$@"
