#!/usr/bin/env bash
# Makes docs/screenshots/ from the headless terminal: the welcome, settings, login, desk picker,
# number pad, order list, dish menu and skinned menu screens as a waiter sees them, and the online
# home, shop list, map, shop detail and take-away order form as a guest sees them, each reached by
# taps from a fresh start against the back-office and web-service simulators, so the pictures
# never go stale. The order-line editor and the set-meal chooser are drawn by their screenshot
# checks on a terminal of the tests' own (build/shots).
#
#   scripts/screenshots.sh
#
# The terminal always talks to ports 7992 and 7993. Where the system allows it the whole run gets a network
# of its own, so that port is free whatever else runs on the machine; otherwise it goes as
# scripts/run.sh does (a simulator already listening there is used).
set -euo pipefail
cd "$(dirname "$0")/.."

shots=(welcome settings login picker pad orderlist menu-grid menu-list detail skin lineeditor setmeal online shops map shop order)
out=docs/screenshots

if [ "${1:-}" != "--isolated" ]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRA_TESTS=OFF >/dev/null
  cmake --build build/release -j "$(nproc)" --target kovra backoffice-sim websim
  cmake -S . -B build/shots -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/shots -j "$(nproc)" --target screens_lineedit_tests
  self="$(pwd)/scripts/screenshots.sh"
  if unshare --net true 2>/dev/null; then
    exec unshare --net "$self" --isolated
  elif unshare --net --map-root-user true 2>/dev/null; then
    exec unshare --net --map-root-user "$self" --isolated
  fi
else
  ip link set lo up
fi

kovra=build/release/src/app/kovra
work=$(mktemp -d)
sim_pid=
web_pid=
cleanup() {
  # Neither kill may fail: under set -e that would end the trap before the rest.
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; fi
  if [ -n "$web_pid" ]; then kill "$web_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

if ! (exec 3<>/dev/tcp/127.0.0.1/7992) 2>/dev/null; then
  # The taps below are placed for the tests' restaurant (its categories, dishes and desks).
  build/release/tools/backoffice/backoffice-sim --port 7992 --quiet --tests-restaurant &
  sim_pid=$!
  for _ in $(seq 50); do
    (exec 3<>/dev/tcp/127.0.0.1/7992) 2>/dev/null && break
    sleep 0.1
  done
fi

if ! (exec 3<>/dev/tcp/127.0.0.1/7993) 2>/dev/null; then
  build/release/tools/websim/websim --port 7993 --quiet &
  web_pid=$!
  for _ in $(seq 50); do
    (exec 3<>/dev/tcp/127.0.0.1/7993) 2>/dev/null && break
    sleep 0.1
  done
fi

# run NAME DATA-FOLDER STEPS: runs the terminal on the folder with the steps; their screenshot
# steps write into $work. A run that stops early keeps the pictures it took.
run() {
  local name=$1 data=$2 steps=$3
  printf '%s\n' "$steps" >"$work/$name.steps"
  # The device stands in the demo world's city.
  if ! "$kovra" --data-dir "$data" --position 31.2304,121.4737 --place 上海市 --headless --script "$work/$name.steps" >"$work/$name.log" 2>&1; then
    echo "screenshots: $name: the steps stopped early:" >&2
    grep -m1 '^line ' "$work/$name.log" | sed 's/^/  /' >&2 || true
    return 1
  fi
}

# Set up a terminal as a manager would: decline the demo data, give the server address in the
# settings, save, then synchronise the menu from the settings. Every picture starts from a copy.
setup=$work/setup
run setup "$setup" '
advance 1
tap "否"
advance 1
tap "设置"
advance 1
tap 480 140
type "127.0.0.1"
tap "确定"
advance 1
tap "设置"
advance 1
tap "同步菜谱"
advance 2
tap "确定"
advance 4
tap "返回"
advance 1' || true

copy() {
  rm -rf "$work/$1"
  cp -a "$setup" "$work/$1"
  echo "$work/$1"
}

run start "$(copy start)" "
advance 1
screenshot $work/welcome.png
tap \"设置\"
advance 1
screenshot $work/settings.png" || true

# The steps the waiter's runs share. The order list's desk button opens the login panel; the
# waiter logs in as 0001; the first room, then its first desk, a free one; the pad's "4".
# Where a control has no title of its own (a field, a picker tile, a pad key drawn in the pad's
# picture) the step taps its place on the screen.
to_order_list="
advance 1
tap \"开始点菜\"
advance 2
tap \"已点菜单\"
advance 1"
log_in="
tap 466 894
type \"0001\\n\"
type \"123\\n\"
advance 1
tap \"确定\"
advance 1"
first_desk="
tap 273 414
advance 1
tap 273 414
advance 1"
four_guests="
tap 312 518
advance 0.5"

# A waiter opens the order list and picks a table: the login panel comes first, then the desk
# picker, then the guests pad for the free desk with 4 typed.
run table "$(copy table)" "$to_order_list
tap \"桌台:\"
advance 1
screenshot $work/login.png$log_in$first_desk
screenshot $work/picker.png
tap \"确定\"
advance 1$four_guests
screenshot $work/pad.png" || true

# A real order: a waiter logs in, opens the first desk for 4 guests, orders three dishes from the
# menu (the "+" of their tiles) and sends them, then adds two more lines: the list shows the sent
# lines in their states with the unsent ones beside them.
run orderlist "$(copy orderlist)" "$to_order_list
tap \"桌台:\"
advance 1$log_in$first_desk
tap \"确定\"
advance 1$four_guests
tap 422 693
advance 1
tap \"返回\"
advance 1
tap 180 249
advance 1
tap 306 249
advance 1
tap 180 384
advance 1
tap \"已点菜单\"
advance 1
tap \"送单\"
advance 1$log_in
tap \"返回\"
advance 1
tap 306 249
advance 1
tap 180 249
advance 1
tap \"已点菜单\"
advance 1
screenshot $work/orderlist.png" || true

# The dish menu on the built-in demo menu and its generated pictures (a fresh terminal that
# declines the demo download keeps it): the picture grid with two dishes chosen, the text list,
# and the detail view of the first dish, opened from its picture.
run menu "$work/menu" "
advance 1
tap \"否\"
advance 1
tap \"开始点菜\"
advance 2
tap 180 249
advance 1
tap 308 249
advance 1
screenshot $work/menu-grid.png
tap \"列表\"
advance 1
screenshot $work/menu-list.png
tap \"大图\"
advance 1
tap 130 170
advance 1
screenshot $work/detail.png" || true

# The skin update of the settings dresses the terminal in the simulator's demo skin; the first
# category's form opens from the main form and its first dish is ordered with one tap (the
# buttons are pictures of the skin, so the steps tap their places).
run skin "$(copy skin)" "
advance 1
tap \"设置\"
advance 1
tap \"更新皮肤和视频\"
advance 2
tap \"确定\"
advance 4
tap \"返回\"
advance 1
tap 229 425
advance 1
tap 284 350
advance 4
screenshot $work/skin.png" || true

# The line editors as the screenshot checks draw them (their simulator listens on a port of its own).
KOVRA_SCREENSHOT_DIR=$work build/shots/tests/screens/lineedit/screens_lineedit_tests \
  --gtest_filter='LineEditPictures.*' >"$work/lineedit.log" 2>&1 || echo "screenshots: the line editors: see the test log" >&2

# A guest goes online: the home, logged in as the demo customer, the shops nearby as a list and
# on the map, one shop's detail and its take-away form filled in. The wait steps let the web
# service's answers in (the shop list's pictures come one by one, each drawn by the simulator the
# first time it is asked for).
run guest "$(copy guest)" "
advance 1
tap \"在线服务\"
advance 1
screenshot $work/online.png
tap \"未登录\"
tap \"用户名\"
type \"demo\"
tap \"密码\"
type \"123456\"
tap \"登录\"
wait 2
advance 1
tap \"附近商家\"
advance 0.5
wait 2
advance 1
$(for _ in $(seq 9); do printf 'try wait 3\nadvance 0.2\n'; done)
screenshot $work/shops.png
tap \"地图\"
advance 1
screenshot $work/map.png
tap \"列表\"
advance 1
tap \"蜀香园\"
wait 2
advance 1
screenshot $work/shop.png
tap \"外卖\"
wait 2
advance 1
tap \"人数\"
type \"2\"
tap \"送餐地址\"
type \"中山路10号\"
return
advance 1
screenshot $work/order.png" || true

mkdir -p "$out"
missing=()
for shot in "${shots[@]}"; do
  if [ -s "$work/$shot.png" ]; then
    cp "$work/$shot.png" "$out/$shot.png"
  else
    missing+=("$shot")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "screenshots: not made: ${missing[*]}" >&2
  exit 1
fi
echo "screenshots: ${shots[*]} in $out/"
