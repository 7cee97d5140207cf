#!/usr/bin/env bash
# Builds the terminal and starts it on its built-in demo data, with the back-office simulator
# serving its demo restaurant on 127.0.0.1:7992 and the web-service simulator as the online part's
# service on 127.0.0.1:7993 (each unless something already listens there).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRA_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"

sim_pid=
web_pid=
# Both simulators this run started stop with it, however it ends: a simulator that has already
# died must not keep the other one alive for the next run to reuse (a failing kill would end the
# trap early under set -e, so neither kill may fail).
stop_simulators() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; fi
  if [ -n "$web_pid" ]; then kill "$web_pid" 2>/dev/null || true; fi
}
trap stop_simulators EXIT
listening() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
if ! listening 7992; then
  build/release/tools/backoffice/backoffice-sim --port 7992 --quiet &
  sim_pid=$!
fi
if ! listening 7993; then
  build/release/tools/websim/websim --port 7993 --quiet &
  web_pid=$!
fi
# The terminal may ask for the demo data at once: give the simulators a moment to listen.
for _ in $(seq 50); do
  listening 7992 && listening 7993 && break
  sleep 0.1
done
# The demo device stands in the web-service simulator's city unless a position is given.
position=(--position 31.2304,121.4737 --place 上海市)
for a in "$@"; do [ "$a" = --position ] && position=(); done
build/release/src/app/kovra "${position[@]}" "$@"
