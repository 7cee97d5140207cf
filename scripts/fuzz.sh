#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each, one per core (two to four at a time), on
# a scratch copy of its seed corpus. Any crash, leak or sanitizer report fails the run.
set -euo pipefail
BUILD=$(cd "${1:?build folder}" && pwd)
SECONDS_EACH=${2:-20}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK" /dev/shm/kovra-fuzz-* /tmp/kovra-fuzz-*' EXIT

targets=$(find "$BUILD/tests/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
[ -n "$targets" ] || { echo "no fuzz targets"; exit 1; }

export ASAN_OPTIONS=detect_leaks=1
PARALLEL=$(nproc); [ "$PARALLEL" -ge 2 ] || PARALLEL=2; [ "$PARALLEL" -le 4 ] || PARALLEL=4
pids=(); names=()
run_one() {
  local t=$1 name; name=$(basename "$t")
  mkdir -p "$WORK/$name/corpus"
  cp -r "$ROOT/tests/fuzz/corpus/$name/." "$WORK/$name/corpus/" 2>/dev/null || true
  (cd "$WORK/$name" && "$t" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 -max_len=65536 \
      corpus >"$WORK/$name.log" 2>&1)
}
status=0
set -- $targets
while [ $# -gt 0 ]; do
  batch=()
  for _ in $(seq "$PARALLEL"); do
    [ $# -gt 0 ] || break
    run_one "$1" & pids+=($!); batch+=("$1"); shift
  done
  for i in "${!batch[@]}"; do
    name=$(basename "${batch[$i]}")
    if wait "${pids[$i]}"; then
      echo "fuzz $name: $(grep -aEo 'Done [0-9]+ runs' "$WORK/$name.log" | tail -1)"
    else
      echo "fuzz $name FAILED:"; tail -40 "$WORK/$name.log"; status=1
    fi
  done
  pids=()
done
exit $status
