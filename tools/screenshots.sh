#!/usr/bin/env bash
# Takes the README's screenshots under Xvfb with the program built on the in-memory WMI:
# docs/images/classes.png, docs/images/query.png, docs/images/connect.png.
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -z "${BREVANE_IN_XVFB:-}" ]; then
  BREVANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
export LC_ALL=C.UTF-8  # so that the Chinese dialog caption reaches wintool intact
bin="$here/build/windows"
run() { "$here/tools/wine-run" "$@"; }
tool() { run "$bin/wintool.exe" "$@"; }
out="$here/docs/images"
mkdir -p "$out"

shoot() {  # caption file
  read -r x y w h < <(tool rect "$1" 10000 | tr -d '\r')
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
  echo "saved $2"
}

export BREVANE_FAKE_SCENARIO=standard
run "$bin/brevane_fake.exe" &
tool wait-window Brevane 30000
sleep 2
tool choose Brevane 1002 Win32_Service
sleep 2
tool choose Brevane 1004 Dhcp
sleep 2
shoot Brevane "$out/classes.png"
tool command Brevane 101
tool wait-window "连接到" 10000
sleep 1
shoot "连接到" "$out/connect.png"
tool close-window "连接到" 5000 || true
tool close-window Brevane 10000
wait

run "$bin/brevane_fake.exe" "-query:select Name, State, StartMode from Win32_Service" &
tool wait-window Brevane 30000
sleep 3
shoot Brevane "$out/query.png"
tool close-window Brevane 10000
wait
