#!/usr/bin/env bash
# Makes docs/screenshots/ from the headless terminal: the welcome, settings, login, desk picker,
# number pad and order list screens as a waiter sees them, each reached by taps from a fresh start against the
# back-office simulator, so the pictures never go stale.
#
#   scripts/screenshots.sh
#
# The terminal always talks to port 7992. Where the system allows it the whole run gets a network
# of its own, so that port is free whatever else runs on the machine; otherwise it goes as
# scripts/run.sh does (a simulator already listening there is used).
set -euo pipefail
cd "$(dirname "$0")/.."

shots=(welcome settings login picker pad orderlist)
out=docs/screenshots

if [ "${1:-}" != "--isolated" ]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRA_TESTS=OFF >/dev/null
  cmake --build build/release -j "$(nproc)" --target kovra backoffice-sim
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
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if ! (exec 3<>/dev/tcp/127.0.0.1/7992) 2>/dev/null; then
  build/release/tools/backoffice/backoffice-sim --port 7992 --quiet &
  sim_pid=$!
  for _ in $(seq 50); do
    (exec 3<>/dev/tcp/127.0.0.1/7992) 2>/dev/null && break
    sleep 0.1
  done
fi

# run NAME DATA-FOLDER STEPS: runs the terminal on the folder with the steps, which end on the
# screen to keep; its picture goes to $work/NAME.png.
run() {
  local name=$1 data=$2 steps=$3
  printf '%s\nscreenshot %s\n' "$steps" "$work/$name.png" >"$work/$name.steps"
  if ! "$kovra" --data-dir "$data" --headless --script "$work/$name.steps" >"$work/$name.log" 2>&1; then
    echo "screenshots: $name: the steps did not reach the screen:" >&2
    sed 's/^/  /' "$work/$name.log" >&2
    return 1
  fi
}

# A fresh terminal answers the demo-data offer with yes and downloads the demo restaurant; every
# other picture starts from a copy of that folder.
demo=$work/demo
run welcome "$demo" '
advance 1
tap "是"
advance 2' || true

fresh() {
  rm -rf "$work/$1"
  cp -a "$demo" "$work/$1"
  echo "$work/$1"
}

# The order list's desk button is where a waiter picks a table; in demo mode the login is
# automatic, so the desk picker opens at once.
to_picker='
advance 1
tap "开始点菜"
advance 2
tap "已点菜单"
advance 1
tap "桌台:"
advance 1'

run settings "$(fresh settings)" '
advance 1
tap "设置"
advance 1' || true

run picker "$(fresh picker)" "$to_picker" || true

# The first room, then its first desk, a free one in the demo restaurant: the guests pad opens.
run pad "$(fresh pad)" "$to_picker
tap 49 152
advance 1
tap 49 152
advance 1" || true

# An order taken before a desk was chosen (a set meal with its items, a dish held back, a fish
# of estimated weight, a drink) in the order list, one line chosen.
orderlist=$(fresh orderlist)
dish() {  # id name price quantity [extra elements]
  printf '<dish><m_strCaipID>%s</m_strCaipID><m_strCaipName>%s</m_strCaipName><m_strPrice>%s</m_strPrice><m_fQuantity>%s</m_fQuantity><m_struid>-1</m_struid>%s</dish>' "$@"
}
{
  printf '<?xml version="1.0" encoding="UTF-8"?><morvane><desk m_strDeskID="">'
  dish 100003 商务套餐 68 1 '<m_bisSet>1</m_bisSet><m_bisExp>1</m_bisExp>'
  dish 100004 红烧肉 0 1 '<m_bisExp>1</m_bisExp>'
  dish 100005 清炒时蔬 0 1 '<m_bisExp>1</m_bisExp>'
  dish 100000 宫保鸡丁 28 2 '<m_iType>1</m_iType>'
  dish 100001 清蒸鲈鱼 88 1.5 '<m_iVarQty>1</m_iVarQty><m_strUnits>斤</m_strUnits>'
  dish 100002 酸梅汤 8 3 '<m_strUnits>杯</m_strUnits>'
  printf '</desk></morvane>'
} >"$orderlist/data/OUTDESK.ATD"
run orderlist "$orderlist" '
advance 1
tap "开始点菜"
advance 2
tap "已点菜单"
advance 1
tap 200 340' || true

# With a server address configured the login gate shows its panel instead of the demo login.
login=$(fresh login)
printf '%s' '<?xml version="1.0" encoding="UTF-8"?><morvane><deskName></deskName><userName></userName><userPassword></userPassword><ip>127.0.0.1</ip><ip2></ip2><outtime>20</outtime><iscaiph>1</iscaiph><isLongSocket>0</isLongSocket><FMIDSTYLE>2.000000</FMIDSTYLE><FBIGSTYLE>3.000000</FBIGSTYLE><InterType>2</InterType><canheng>1</canheng><isShowTitleMoney>1</isShowTitleMoney></morvane>' \
  >"$login/data/Kovra.ini"
run login "$login" "$to_picker" || true

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
