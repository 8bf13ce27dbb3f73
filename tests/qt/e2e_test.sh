#!/usr/bin/env bash
# The real program under Xvfb, driven with xdotool, talking to the stand-in
# logind of with_private_buses.sh: splash, main, a quick button, a
# countdown from 3, the menu's windows and boxes, and the close sequence.
# A screen reader's view of every window is read over AT-SPI, and the
# keyboard does what the mouse does. A screenshot of each window goes to
# SCREENSHOT_DIR. With a tray host (an XEmbed tray or a StatusNotifierItem
# host) it checks the tray icon instead: there at start, and a double-click
# on it brings main back and removes it. The short run, for an installed
# program, is start, 六十秒关机 and close. The openbox run closes the program
# twelve times under a real window manager.
#   with_private_buses.sh LOG e2e_test.sh PROGRAM SCREENSHOT_DIR [full|short|xembed|sni|openbox]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$1"
shots="$2"
run="${3:-full}"
tray=none
case "$run" in xembed | sni) tray="$run" ;; esac
python="${TAVIMO_PYTHON:-/usr/bin/python3}"
: "${TAVIMO_BUS_LOG:?run me through with_private_buses.sh}"
log="$TAVIMO_BUS_LOG"
mkdir -p "$shots"

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  xwininfo -root -tree 2>/dev/null | grep -v "has no name" >&2 || true
  exit 1
}

# A display of our own, on a number nobody uses.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=("$!")
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"

# An accessibility bus, as a desktop with a screen reader has; Qt speaks
# on it whether or not a screen reader asked.
/usr/libexec/at-spi-bus-launcher --launch-immediately &
pids+=("$!")
a11y_bus() {
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
}
for _ in $(seq 100); do a11y_bus >/dev/null 2>&1 && break; sleep 0.05; done
a11y_bus >/dev/null 2>&1 || fail "no accessibility bus"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
atspi() { "$python" "$here/atspi_check.py" "$@" || fail "a screen reader is told otherwise"; }

# Opening an address must never start a browser: xdg-open only records.
mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<SCRIPT
#!/bin/sh
echo "\$@" >>"$work/opened"
SCRIPT
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

# Waits for a visible window whose title matches; prints its id.
window() {
  local id=""
  for _ in $(seq "${2:-60}"); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}
gone() {
  for _ in $(seq 60); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  return 1
}
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
shot() {
  geometry "$1"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/$2.png"
}
# Clicks at a point of a window's client area, given in twips as stored.
click() {
  local id="$1" left="$2" top="$3" below="${4:-0}"
  geometry "$id"
  xdotool mousemove "$((X + left / 15 + 4))" "$((Y + below + top / 15 + 4))" click 1
}
answer_box() {
  local id
  id="$(window "$1")" || fail "no message box titled $1"
  shot "$id" "$2"
  xdotool windowfocus --sync "$id" key Return
  gone "^$1\$" || fail "the box $1 did not close"
}
scheduled() { "$python" "$here/bus_log.py" "$log" scheduled "$@"; }
notified() { "$python" "$here/bus_log.py" "$log" notified "$@"; }
entries() { "$python" "$here/bus_log.py" "$log" count; }

# The desktop's tray, when the run has one.
sni_items() {
  dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1"
}
case "$tray" in
  xembed)
    trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
    pids+=("$!")
    tray_host="$(window '^panel$')" || fail "trayer did not start"
    icon_shown() { xwininfo -tree -id "$tray_host" | grep -q '"tavimo-shutdown"'; }
    ;;
  sni)
    status-notifier-watcher >/dev/null 2>&1 &
    pids+=("$!")
    gtk-sni-tray-standalone --bottom >/dev/null 2>&1 &
    pids+=("$!")
    for _ in $(seq 100); do
      sni_items IsStatusNotifierHostRegistered 2>/dev/null | grep -q 'boolean true' && break
      sleep 0.05
    done
    tray_host="$(window '^gtk-sni-tray-standalone$')" || fail "no status notifier host"
    icon_shown() { sni_items RegisteredStatusNotifierItems | grep -q string; }
    ;;
esac

# A window manager carries a resize out later than the program asks for
# it; every close still shrinks main to 1000 twips (67 pixels) and ends the
# program cleanly.
if [ "$run" = openbox ]; then
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=("$!")
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q '#' && break; sleep 0.05; done
  for close in $(seq 12); do
    "$program" &
    program_pid=$!
    main="$(window '^<Tavimo> 关机工具 $' 100)" || fail "close $close: main did not show"
    sleep 0.3
    narrowest="$("$python" "$here/send_close.py" "$main" --narrowest)"
    wait "$program_pid" || fail "close $close: the program ended with status $?"
    # The last step may still be on its way to the window manager when the
    # program ends, so the window is seen at most one step (7 px) above.
    [ "$narrowest" -le 73 ] || fail "close $close ended at $narrowest pixels, not near 1000 twips"
  done
  echo "end-to-end under openbox: twelve closes each shrank main to 1000 twips and ended"
  exit 0
fi

# Under the splash, a window of a colour found nowhere in the program.
display -geometry 1024x768+0+0 -size 1024x768 xc:magenta </dev/null &
backdrop=$!
pids+=("$backdrop")
window '^ImageMagick: magenta$' >/dev/null || fail "no backdrop"

atspi HY 10 &                               # waits for the splash to be up
splash_heard=$!
"$program" &
program_pid=$!
pids+=("$program_pid")

# The splash: 503 x 200, no title, on top, then main after a second.
splash=""
for _ in $(seq 100); do
  for id in $(xdotool search --onlyvisible --class tavimo-shutdown 2>/dev/null); do
    geometry "$id"
    [ "$WIDTH" = 503 ] && [ "$HEIGHT" = 200 ] && splash="$id"
  done
  [ -n "$splash" ] && break
  sleep 0.02
done
[ -n "$splash" ] || fail "no splash"
states="$(xprop -id "$splash" _NET_WM_STATE)"
[[ $states == *_NET_WM_STATE_ABOVE* ]] || fail "the splash is not on top: $states"
[[ $states == *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "the splash is on the taskbar: $states"
# The desktop shows through the 3-pixel strip at the right edge only: no
# pixel of the banner or of a label is see-through. Shot until the splash
# has drawn itself (before that the backdrop shows through it all).
convert -size 503x200 xc:black -fill white -draw 'rectangle 500,0 502,199' "$work/strip.png"
differ="not shot"
while xdotool search --onlyvisible --class tavimo-shutdown | grep -qx "$splash"; do
  shot "$splash" splash
  differ="$(convert "$shots/splash.png" -fill black +opaque magenta -fill white -opaque magenta \
    miff:- | compare -metric AE - "$work/strip.png" null: 2>&1 || true)"
  [ "$differ" = 0 ] && break
done
[ "$differ" = 0 ] || fail "the splash is see-through elsewhere than its strip: $differ pixels"
kill "$backdrop"

wait "$splash_heard" || fail "the splash was not heard as a window with its labels"
main="$(window '^<Tavimo> 关机工具 $' 60)" || fail "main did not follow the splash"
xdotool search --onlyvisible --class tavimo-shutdown | grep -qx "$splash" && fail "the splash stayed"
geometry "$main"
menu=$((HEIGHT - 274))
[ "$WIDTH" = 238 ] && [ "$menu" -gt 10 ] || fail "main is ${WIDTH}x${HEIGHT}"
shot "$main" main
atspi main

# Closing: refused, the window shrinks, and the program ends.
close_main() {
  "$python" "$here/send_close.py" "$main"
  sleep 0.1
  geometry "$main"
  [ "$WIDTH" -lt 238 ] || fail "main did not start shrinking"
  for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$program_pid" 2>/dev/null && fail "the program did not end"
  wait "$program_pid" || fail "the program ended with status $?"
}

minimise() {
  click "$main" 2400 2880 "$menu"           # 最小化到任务栏
  atspi box-minimised
  answer_box 最小化！ box_minimised
}

# 六十秒关机: poweroff one minute from now, announced once logind took it.
sixty_seconds() {
  local before
  before="$(entries)"
  click "$main" 120 1080 "$menu"
  for _ in $(seq 40); do scheduled "$before" poweroff 60 >/dev/null && break; sleep 0.05; done
  scheduled "$before" poweroff 60 >/dev/null || fail "六十秒关机 scheduled nothing"
  for _ in $(seq 40); do notified "$before" "将在 60 秒后关机" && break; sleep 0.05; done
  notified "$before" "将在 60 秒后关机" || fail "六十秒关机 was not announced"
}

if [ "$run" = short ]; then
  sixty_seconds
  close_main
  echo "end-to-end (short run of $program): all steps passed"
  exit 0
fi

if [ "$tray" != none ]; then
  for _ in $(seq 60); do icon_shown && break; sleep 0.05; done
  icon_shown || fail "no icon in the $tray tray at start"
  minimise
  gone '^<Tavimo> 关机工具 $' || fail "main was not hidden behind its icon"
  geometry "$tray_host"                     # the one icon sits at the host's left
  [ "$tray" = xembed ] && x=$((X + WIDTH / 2)) || x=$((X + 15))
  xdotool mousemove "$x" "$((Y + HEIGHT / 2))" click --repeat 2 --delay 80 1
  window '^<Tavimo> 关机工具 $' >/dev/null || fail "a double-click on the icon did not bring main back"
  for _ in $(seq 60); do icon_shown || break; sleep 0.05; done
  icon_shown && fail "the icon stayed after the restore"
  close_main
  echo "end-to-end with a $tray tray: all steps passed"
  exit 0
fi

# The keyboard: Tab follows the stored tab order, the options of a frame
# being one stop as a group is on Windows; an arrow chooses the option it
# reaches, Space and Enter press buttons, Alt opens the menu bar.
tab_order=("push button:开始计时" "radio button:关机"
  "push button:六十秒关机" "push button:1小时关机" "push button:3小时关机"
  "push button:最小化到任务栏" "push button:取消快捷按钮关机" "push button:30分钟关机"
  "push button:2小时关机" "push button:5小时关机" "text:时间设定（秒）")
for stop in "${tab_order[@]}"; do
  xdotool key Tab
  atspi focus "$stop" 2
done
xdotool key Tab Tab Down
atspi main-restart-by-keys
before="$(entries)"
xdotool key Tab space                       # 六十秒关机
for _ in $(seq 40); do scheduled "$before" poweroff 60 >/dev/null && break; sleep 0.05; done
scheduled "$before" poweroff 60 >/dev/null || fail "Space on 六十秒关机 scheduled nothing"
before="$(entries)"
xdotool key Tab Return                      # 1小时关机
for _ in $(seq 40); do scheduled "$before" poweroff 3600 >/dev/null && break; sleep 0.05; done
scheduled "$before" poweroff 3600 >/dev/null || fail "Enter on 1小时关机 scheduled nothing"
xdotool key alt
sleep 0.2
xdotool key Return                          # the first item, 说明
window '^说明$' >/dev/null || fail "Alt and Enter did not open 说明"
atspi box-notes
answer_box 说明 box_notes_by_keys


sixty_seconds

# A countdown from 3 with 关机 chosen ends in a poweroff 3 s out.
click "$main" 2280 360 "$menu"             # Option1, inside Frame2
click "$main" 240 480 "$menu"              # Text1, inside Frame1
xdotool key ctrl+a type 3
before="$(entries)"
click "$main" 120 2880 "$menu"             # 开始计时
sleep 2.5
scheduled "$before" poweroff 3 >/dev/null && fail "the countdown fired early"
for _ in $(seq 60); do scheduled "$before" poweroff 3 >/dev/null && break; sleep 0.05; done
scheduled "$before" poweroff 3 >/dev/null || fail "the countdown did not fire"

# The menu bar: find its four commands from left to right.
seen=""
note() { [[ $seen == *"$1"* ]] || seen+=" $1"; }
for x in $(seq 4 8 236); do
  geometry "$main"
  xdotool mousemove "$((X + x))" "$((Y + menu / 2))" click 1
  sleep 0.15
  if window '^说明$' 4 >/dev/null; then
    answer_box 说明 box_notes
    note 说明
  elif id="$(window '^关于$' 4)"; then
    shot "$id" about
    atspi GY
    click "$id" 6720 2400                  # 确定 closes it
    gone '^关于$' || fail "the about box did not close"
    note 关于
  elif window '^Tavimo关机工具$' 4 >/dev/null; then
    answer_box Tavimo关机工具 box_forum
    for _ in $(seq 40); do [ -s "$work/opened" ] && break; sleep 0.05; done
    grep -q '^http://.*/f?ie=utf-8&kw=%' "$work/opened" || fail "the forum page was not opened"
    note 留言
  elif id="$(window '^换肤（测试中）$' 4)"; then
    shot "$id" skins
    atspi Form1
    atspi main-disabled
    click "$id" 360 480                    # Option1 星空主题, inside Frame1
    click "$id" 120 2040                   # 确定
    window '^提示$' >/dev/null && atspi box-skin-notice
    answer_box 提示 box_skin_notice
    gone '^换肤' || fail "the skin chooser did not close"
    note 换肤
    break
  fi
done
[ "$seen" = " 说明 关于 留言 换肤" ] || fail "menu commands found: $seen"
sleep 0.2
shot "$main" main_skin

# No tray: 最小化到任务栏 leaves main reachable on the taskbar. With no
# window manager the minimise request leaves it on screen; hiding it would
# have unmapped it.
minimise
window '^<Tavimo> 关机工具 $' 4 >/dev/null || fail "main was hidden with no tray to bring it back"
close_main
echo "end-to-end: all steps passed; screenshots in $shots"
