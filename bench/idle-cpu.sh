#!/usr/bin/env bash
# How much of a core the terminal's window costs while nobody touches it: the welcome screen,
# plain and with the skin the back-office simulator hands out, each measured over 30 s from
# /proc/PID/stat (user + system time). A probe, not a test: it never fails on its figure.
#
#   bench/idle-cpu.sh [BUILD_DIR] [SECONDS]      (build/release and 30 by default)
#
# Runs in a network namespace of its own (unshare -rn) where the simulator takes the terminal's
# fixed server port without meeting anything else on the machine, on an X server of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
seconds=${2:-30}
kovra=$build/src/app/kovra
sim=$build/tools/backoffice/backoffice-sim
for p in "$kovra" "$sim"; do
  [ -x "$p" ] || { echo "idle-cpu: $p is missing (build $build first)" >&2; exit 2; }
done

if [ -z "${KOVRA_IDLE_INSIDE:-}" ]; then
  exec env KOVRA_IDLE_INSIDE=1 unshare -rn "$0" "$@"
fi
ip link set lo up

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The server chooses a free display itself and writes its number once it accepts connections.
: >"$work/display"
Xvfb -displayfd 3 -screen 0 1024x1100x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=("$!")
display=
for _ in $(seq 600); do
  if read -r n <"$work/display"; then display=":$n"; break; fi
  kill -0 "${pids[-1]}" 2>/dev/null || break
  sleep 0.1
done
[ -n "$display" ] || { echo "idle-cpu: no X server" >&2; exit 1; }

"$sim" --port 7992 --quiet &
pids+=("$!")
sleep 0.5

# Ticks of user and system time the process has used so far.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure() {
  local name=$1 data=$2
  DISPLAY=$display SDL_AUDIODRIVER=dummy "$kovra" --data-dir "$data" >/dev/null 2>&1 &
  local pid=$!
  sleep 5  # start-up, the welcome sound, the fixed-desk check
  kill -0 "$pid" 2>/dev/null || { echo "idle-cpu: the terminal ended early" >&2; exit 1; }
  local t0 start t1 end
  t0=$(ticks "$pid"); start=$(date +%s.%N)
  sleep "$seconds"
  t1=$(ticks "$pid"); end=$(date +%s.%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  awk -v n="$name" -v d=$((t1 - t0)) -v hz="$(getconf CLK_TCK)" -v a="$start" -v b="$end" \
    'BEGIN { printf "%-8s %6.2f%% of a core over %.0f s\n", n, 100 * d / hz / (b - a), b - a }'
}

measure plain "$work/plain"

# The skin: the settings screen's update, worked headless against the simulator.
cat >"$work/skin.txt" <<'EOF'
tap 否
tap 设置
advance 1
tap 更新皮肤和视频
advance 5
EOF
"$kovra" --headless --data-dir "$work/skinned" --script "$work/skin.txt" >/dev/null
measure skinned "$work/skinned"
