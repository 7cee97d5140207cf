#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer, runs every test, then
# runs each fuzz target for a short bounded time on its seed corpus (when clang is present).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

# Every quoted include in src/ points down the layers listed in src/LAYERS (cheap: before the build).
scripts/check-layers.py

JOBS=$(nproc)
BUILD=build/test
# A compiler cache, when the machine has one, serves every clone of the tree alike: paths below
# the tree's root are hashed as relative ones.
LAUNCHER=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
  LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# The sanitizer build's programs are large: LLVM's linker links them several times faster.
LINKER=()
if command -v ld.lld >/dev/null; then
  LINKER=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld)
fi
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O0 -g1" \
      -DKOVRA_SANITIZE=ON -DKOVRA_BENCH=ON "${LAUNCHER[@]}" "${LINKER[@]}" >/dev/null
cmake --build "$BUILD" -j "$JOBS"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$BUILD" && ctest -j "$JOBS" --output-on-failure --timeout 300)

if command -v clang++ >/dev/null; then
  FUZZ=build/fuzz
  # -O1 with line tables: what libFuzzer's targets are usually built with, and quick to build.
  cmake -S . -B "$FUZZ" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRA_FUZZ=ON \
        -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${LAUNCHER[@]}" "${LINKER[@]}" >/dev/null
  cmake --build "$FUZZ" -j "$JOBS"
  # A short run of each target, one per core: 20 s each, 10 s on a machine of two or three cores
  # (the whole command stays within its time there).
  if [ "$JOBS" -ge 4 ]; then FUZZ_DEFAULT=20; else FUZZ_DEFAULT=10; fi
  scripts/fuzz.sh "$FUZZ" "${FUZZ_SECONDS:-$FUZZ_DEFAULT}"
else
  echo "clang++ not found: fuzz targets skipped"
fi
echo "All tests passed."
