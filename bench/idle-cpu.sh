#!/usr/bin/env bash
# How much of a core the terminal's window costs while nobody touches it: the welcome screen,
# plain and with the skin the back-office simulator hands out, each measured over 30 s from
# /proc/PID/stat (user + system time). A probe, not a test: it never fails on its figure.
#
#   bench/idle-cpu.sh [BUILD_DIR] [SECONDS]      (build/release and 30 by default)
#
# Runs in a network namespace of its own (unshare -rn) where the simulator takes the terminal's
# fixed server port without meeting anything else on the machine, on an X server of its own.
# Every step has a time bound: a step that hangs (a terminal stuck opening its display, say) is
# named and ends the run instead of holding it for ever.
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
terminal=  # the terminal being measured, while it runs

# Whether process $1 still runs; one that ended and was not yet waited for does not.
running() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

# Asks process $1 ($2 names it) to end and gives it 10 s; one still there is killed and named.
# Answers whether it ended when asked.
stop() {
  local pid=$1 what=$2 ended=1
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 100); do
    running "$pid" || { ended=0; break; }
    sleep 0.1
  done
  if [ "$ended" -ne 0 ]; then
    echo "idle-cpu: $what did not end within 10 s of being asked to; killed" >&2
    kill -KILL "$pid" 2>/dev/null || true
  fi
  wait "$pid" 2>/dev/null || true
  return "$ended"
}

cleanup() {
  [ -z "$terminal" ] || stop "$terminal" "the terminal" || true
  for p in "${pids[@]}"; do stop "$p" "process $p" || true; done
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
  running "${pids[-1]}" || break
  sleep 0.1
done
[ -n "$display" ] || { echo "idle-cpu: no X server within 60 s" >&2; exit 1; }

"$sim" --port 7992 --quiet &
pids+=("$!")
sleep 0.5

# Ticks of user and system time the process has used so far.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure() {
  local name=$1 data=$2
  DISPLAY=$display SDL_AUDIODRIVER=dummy "$kovra" --data-dir "$data" >/dev/null 2>&1 &
  local pid=$!
  terminal=$pid
  sleep 5  # start-up, the welcome sound, the fixed-desk check
  running "$pid" || { echo "idle-cpu: the terminal ended early ($name)" >&2; exit 1; }
  local t0 start t1 end
  t0=$(ticks "$pid"); start=$(date +%s.%N)
  sleep "$seconds"
  t1=$(ticks "$pid"); end=$(date +%s.%N)
  # A terminal that does not end when asked was stuck (opening its display, say): its figure
  # would be that of a program doing nothing, so none is given.
  local ended=0
  stop "$pid" "the terminal ($name)" || ended=$?
  terminal=
  [ "$ended" -eq 0 ] || { echo "idle-cpu: no figure for $name: the terminal hung" >&2; exit 1; }
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
status=0
timeout -k 10 300 "$kovra" --headless --data-dir "$work/skinned" --script "$work/skin.txt" >/dev/null || status=$?
case $status in
  0) ;;
  124 | 137) echo "idle-cpu: the headless skin update did not end within 300 s" >&2; exit 1 ;;
  *) echo "idle-cpu: the headless skin update failed (exit $status)" >&2; exit 1 ;;
esac
measure skinned "$work/skinned"
