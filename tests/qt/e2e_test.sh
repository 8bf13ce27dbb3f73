#!/usr/bin/env bash
# The real program under Xvfb driven with xdotool, or under weston, talking to the stand-in
# logind of with_private_buses.sh: splash, main, a quick button, a
# countdown from 3, the menu's windows and boxes, and the close sequence.
# A screen reader's view of every window is read over AT-SPI, and the
# keyboard does what the mouse does. A screenshot of each window goes to
# SCREENSHOT_DIR. With a tray host (an XEmbed tray or a StatusNotifierItem
# host) it checks the tray icon instead: there at start, and a double-click
# on it brings main back and removes it. The short run, for an installed
# program, is start, 六十秒关机 and close. The openbox run closes the program
# twelve times under a real window manager.
#   with_private_buses.sh LOG e2e_test.sh PROGRAM SCREENSHOT_DIR [full|short|xembed|sni|openbox] [x11|wayland]
# Under weston (Wayland, headless) input goes through AT-SPI actions and
# pictures through weston's screenshooter; the keyboard steps need X11, and
# its tray is the sni one.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../harness.sh"
program="$1"
shots="$2"
run="${3:-full}"
server="${4:-x11}"
tray=none
case "$run" in xembed | sni) tray="$run" ;; esac
python="${TAVIMO_PYTHON:-/usr/bin/python3}"
: "${TAVIMO_BUS_LOG:?run me through with_private_buses.sh}"
mkdir -p "$shots"

work="$(mktemp -d)"
pids=()
# The display server still there, else the harness failed.
server_alive() {
  [ -n "$server_pid" ] || return 0
  harness_alive "$server_pid" "$server_name" "$server_log"
  [ "$server" != x11 ] || xdpyinfo >/dev/null 2>&1 || harness_fail "$server_name stopped accepting connections" "$server_log"
}
server_pid="" told=""
# A step that failed on its own (set -e) is the harness's too when the
# server went away.
on_exit() {
  local status=$?
  [ "$status" -eq 0 ] || [ "$status" -eq 3 ] || [ -n "$told" ] || (server_alive) || status=3
  harness_cleanup
  exit "$status"
}
trap on_exit EXIT

# The program's failure, unless the display server went away under it.
fail() {
  server_alive
  told=yes
  echo "FAIL: $*" >&2
  [ "$server" = x11 ] && { xwininfo -root -tree 2>/dev/null | grep -v "has no name" >&2 || true; }
  exit 1
}
export XDG_RUNTIME_DIR="$work"
# A silent helper program, ended at exit.
keep() { "$@" >/dev/null 2>&1 & pids+=("$!"); }
atspi() { "$python" "$here/atspi_check.py" "$@" || fail "a screen reader is told otherwise"; }

if [ "$server" = x11 ]; then
  start_xvfb "$work"
  server_pid="$xvfb_pid" server_name="Xvfb $DISPLAY" server_log="$work/xvfb.log"
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb

  # A visible window whose title matches; prints its id.
  visible() { local ids; ids="$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" && echo "${ids%%$'\n'*}"; }
  window() { poll "${2:-60}" visible "$1"; }
  gone() { poll 60 not visible "$1" >/dev/null; }
  geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
  shot() {
    geometry "$1"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/$2.png"
  }
  # Clicks at a point of a window's client area (WINDOW LEFT TOP [BELOW]),
  # given in twips as stored, BELOW pixels further down.
  click() { geometry "$1"; xdotool mousemove "$((X + $2 / 15 + 4))" "$((Y + ${4:-0} + $3 / 15 + 4))" click 1; }
  confirm() { xdotool windowfocus --sync "$1" key Return; }
  ask_close() { "$python" "$here/send_close.py" "$1"; }
  type_text() { xdotool key ctrl+a type "$2"; }
  title_bar() { :; }  # the window manager's, if any
else
  # weston on no hardware, drawing with pixman (its default draws nothing
  # and the screenshooter then waits for ever), over a magenta desktop: a
  # colour found nowhere in the program. XWayland is there as on a
  # desktop, for a program without Qt's Wayland plugin to fall back to.
  printf '[shell]\nbackground-color=0xffff00ff\npanel-position=none\nlocking=false\nanimation=none\nclose-animation=none\nstartup-animation=none\n' >"$work/weston.ini"
  weston --config="$work/weston.ini" --backend=headless-backend.so --use-pixman --debug --xwayland \
    --socket=tavimo-e2e --width=1024 --height=768 >"$work/weston.log" 2>&1 &
  server_pid=$! server_name=weston server_log="$work/weston.log"
  pids+=("$server_pid")
  poll 100 test -S "$work/tavimo-e2e" || harness_fail "weston did not open its socket tavimo-e2e" "$work/weston.log"
  export WAYLAND_DISPLAY=tavimo-e2e
  poll 100 grep -q 'xserver listening on display' "$work/weston.log" || true
  DISPLAY="$(grep -o 'xserver listening on display :[0-9]*' "$work/weston.log" | grep -o ':[0-9]*$')" ||
    harness_fail "weston started no XWayland" "$work/weston.log"
  export DISPLAY
  unset QT_QPA_PLATFORM  # the program chooses, as on a desktop

  # A window is known by its title; prints the title.
  window() { "$python" "$here/atspi_check.py" window "$1" "$((${2:-60} * 5))e-2"; }
  gone() { "$python" "$here/atspi_check.py" gone "$1" 3; }
  bar=0  # the forms' title bar, as high as the first one shot
  geometry() { eval "$(atspi size "$1")"; [ -z "$1" ] || HEIGHT=$((HEIGHT - bar)); }
  screen() {
    rm -f "$work"/wayland-screenshot*.png
    (cd "$work" && timeout 10 weston-screenshooter) || fail "weston-screenshooter failed"
    mv "$work"/wayland-screenshot*.png "$work/screen.png"
  }
  bar_colour="#308cc6"  # the style's highlight
  # The compositor places windows: a form is found by its own title bar,
  # the bar's colour spanning its width; the splash as what is not desktop;
  # anything else is shot with the whole screen.
  shot() {
    local size box
    if [ -n "$1" ]; then  # the splash is gone within a second: no time to ask
      size="$("$python" "$here/atspi_check.py" size "$1")" || return 1
      eval "$size"
      screen
      box="$(convert "$work/screen.png" -fill black +opaque "$bar_colour" -fill white -opaque "$bar_colour" \
        -define connected-components:verbose=true -connected-components 4 null: |
        awk -v w="$((WIDTH - 2))" '$2 ~ "^" w "x" && $NF == "srgb(255,255,255)" { print $2 }' | tail -n1)"
      if [ -n "$box" ]; then  # inside the bar's outline
        bar="${box#*x}" bar="$((${bar%%+*} + 2))" box="${box#*+}"
        box="${WIDTH}x${HEIGHT}+$((${box%+*} - 1))+$((${box#*+} - 1))"
      else
        box=1024x768+0+0  # a message box, in Qt's own frame
      fi
    else  # what the trim took of a see-through edge was desktop
      convert "$taken" -trim +repage -background magenta -extent 503x200 "$shots/$2.png" 2>/dev/null
      rm "$taken"
      return
    fi
    convert "$work/screen.png" -crop "$box" +repage "$shots/$2.png"
  }
  click() { atspi click "$1" "$(($2 / 15 + 4))" "$((bar + ${4:-0} + $3 / 15 + 4))"; }
  confirm() { atspi click "$1" 确定; }
  ask_close() { atspi click "$1" 关闭; }
  type_text() { atspi type "$1" "$2"; }
  # The bar shows the whole caption and a close button only: its inked
  # columns, in runs more than 12 apart, are exactly these. A window alone
  # on the desktop has no frame of Qt's own around it either.
  title_bar() {
    local runs drawn
    if [ "${3:-}" = alone ] && [ "$tray" = none ]; then  # a tray host shares the desktop
      drawn="$(convert "$work/screen.png" -trim -format %wx%h info:)"
      [ "$drawn" = "${WIDTH}x$((HEIGHT + bar))" ] || fail "$1 is drawn ${drawn}, not ${WIDTH}x$((HEIGHT + bar))"
    fi
    runs="$(convert "$shots/$1.png" -crop "$((WIDTH - 2))x$((bar - 2))+1+1" +repage -fill white +opaque "$bar_colour" \
      -fill black -opaque "$bar_colour" -scale "$((WIDTH - 2))x1!" -threshold 0 txt:- |
      awk -F'[,:]' '/#FFFFFF/ { if (n && $1 > last + 12) { printf "%d-%d ", from, last; n = 0 }
        if (!n) { from = $1; n = 1 } last = $1 } END { if (n) printf "%d-%d", from, last }')"
    [ "$runs" = "$2" ] || fail "the title bar of $1 is inked at $runs, not at $2"
  }
fi

# An accessibility bus, as a desktop with a screen reader has; Qt speaks
# on it whether or not a screen reader asked.
keep /usr/libexec/at-spi-bus-launcher --launch-immediately
a11y_bus() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress; }
poll 100 a11y_bus >/dev/null 2>&1 || harness_fail "the accessibility bus did not start"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# Opening an address must never start a browser: xdg-open only records.
mkdir "$work/bin"
printf '#!/bin/sh\necho "$@" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

# Shoots the box titled TITLE, checks its SCENE if given, and answers it.
answer_box() {  # TITLE SHOT [SCENE]
  local id
  id="$(window "$1")" || fail "no message box titled $1"
  [ -z "${3:-}" ] || atspi "$3"
  shot "$id" "$2"
  confirm "$id"
  gone "^$1\$" || fail "the box $1 did not close"
}
# What logind and the notification daemon were asked: see bus_log.py.
bus_log() { "$python" "$here/bus_log.py" "$@"; }

# The desktop's tray, when the run has one.
sni_items() {
  dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1"
}
case "$tray" in
  xembed)
    keep trayer --edge top --align right --widthtype request --height 24
    tray_host="$(window '^panel$')" || harness_fail "trayer did not start"
    icon_shown() { xwininfo -tree -id "$tray_host" | grep -q '"tavimo-shutdown"'; }
    ;;
  sni)
    keep status-notifier-watcher
    GDK_BACKEND=x11 keep gtk-sni-tray-standalone --bottom
    host_up() { sni_items IsStatusNotifierHostRegistered 2>/dev/null | grep -q 'boolean true'; }
    poll 100 host_up || true
    icon_shown() { sni_items RegisteredStatusNotifierItems | grep -q string; }
    if [ "$server" = x11 ]; then
      tray_host="$(window '^gtk-sni-tray-standalone$')" || harness_fail "no status notifier host"
    else
      # The host runs under XWayland, out of the program's reach: two
      # activations within the double-click time are what its click sends.
      double_click_icon() {
        local item path=/StatusNotifierItem
        item="$(sni_items RegisteredStatusNotifierItems | grep -o 'string "[^"]*"' | head -n1 | cut -d'"' -f2)"
        [[ $item != */* ]] || path="/${item#*/}"
        for _ in 1 2; do
          dbus-send --session --type=method_call --dest="${item%%/*}" "$path" \
            org.kde.StatusNotifierItem.Activate int32:0 int32:0
        done
      }
    fi
    ;;
esac

# A window manager carries a resize out later than the program asks for
# it; every close still shrinks main to 1000 twips (67 pixels) and ends the
# program cleanly.
if [ "$run" = openbox ]; then
  keep openbox --sm-disable
  wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q '#'; }
  poll 100 wm_up || true
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

# Under the splash, a window of a colour found nowhere in the program
# (under weston its desktop).
backdrop=""
if [ "$server" = x11 ]; then
  display -geometry 1024x768+0+0 -size 1024x768 xc:magenta </dev/null 2>"$work/display.log" &
  backdrop=$!
  pids+=("$backdrop")
  window '^ImageMagick: magenta$' >/dev/null || harness_fail "ImageMagick's display showed no backdrop" "$work/display.log"
fi

atspi HY 10 &                               # waits for the splash to be up
splash_heard=$!
"$program" 2>"$work/stderr" &
program_pid=$!
pids+=("$program_pid")
# Whatever Qt or the program says on stderr is a fault: a warning means it
# asked the display server for something it does not do.
quiet() { [ ! -s "$work/stderr" ] || fail "the program said on stderr: $(head -n5 "$work/stderr")"; }

# The splash: 503 x 200, no title, on top, then main after a second.
if [ "$server" = x11 ]; then
  splash_found() {
    for splash in $(xdotool search --onlyvisible --class tavimo-shutdown 2>/dev/null); do
      geometry "$splash"
      [ "$WIDTH" = 503 ] && [ "$HEIGHT" = 200 ] && return 0
    done
    return 1
  }
  poll 100 splash_found || fail "no splash"
  states="$(xprop -id "$splash" _NET_WM_STATE)"
  [[ $states == *_NET_WM_STATE_ABOVE* ]] || fail "the splash is not on top: $states"
  [[ $states == *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "the splash is on the taskbar: $states"
  splash_shown() { xdotool search --onlyvisible --class tavimo-shutdown | grep -qx "$splash"; }
  shooting() { splash_shown; }
else
  # The splash is up for a second: the screen is shot as fast as it comes
  # and looked at afterwards, the splash as what is not desktop.
  # With a tray its host's panel shares the desktop: no strip to see then.
  [ "$tray" != none ] || for n in $(seq -w 12); do screen && mv "$work/screen.png" "$work/splash-$n.png"; done
  splash="" WIDTH=503 HEIGHT=200
  splash_shown() { window '^$' 1 >/dev/null; }
  shooting() { taken="$(ls "$work"/splash-*.png 2>/dev/null | head -n1)" && [ -n "$taken" ]; }
fi
# Which platform Qt chose, as its plugin loaded shows.
# (Qt may map other plugins, such as vkkhrdisplay, while it chooses)
plugin() { platform="$(grep -m1 -o 'platforms/libq\(wayland\|xcb\)[a-z-]*' "/proc/$program_pid/maps" 2>/dev/null)"; }
poll 100 plugin || true
platform="${platform#platforms/libq}"
echo "the program runs on $platform"
case "$server:$platform" in
  x11:*xcb | wayland:*wayland*) ;;
  wayland:*xcb) fail "under wayland the program fell back to XWayland: is qt6-wayland installed?" ;;
  *) fail "under $server the program runs on ${platform:-no platform}, not natively" ;;
esac
# The desktop shows through the 3-pixel strip at the right edge only: no
# pixel of the banner or of a label is see-through. Shot until the splash
# has drawn itself (before that the backdrop shows through it all).
convert -size 503x200 xc:black -fill white -draw 'rectangle 500,0 502,199' "$work/strip.png"
differ="not shot"
while shooting; do
  shot "$splash" splash || continue
  differ="$(convert "$shots/splash.png" -fill black +opaque magenta -fill white -opaque magenta \
    miff:- | compare -metric AE - "$work/strip.png" null: 2>&1 || true)"
  [ "$differ" = 0 ] && break
done
[ "$differ" = 0 ] || [ "$server:$tray" = wayland:sni ] ||
  fail "the splash is see-through elsewhere than its strip: $differ pixels"
[ -z "$backdrop" ] || kill "$backdrop"

wait "$splash_heard" || fail "the splash was not heard as a window with its labels"
main="$(window '^<Tavimo> 关机工具 $' 60)" || fail "main did not follow the splash"
splash_shown && fail "the splash stayed"
shot "$main" main
geometry "$main"
menu=$((HEIGHT - 274))
[ "$WIDTH" = 238 ] && [ "$menu" -gt 10 ] || fail "main is ${WIDTH}x${HEIGHT}"
title_bar main "6-118 220-230" alone
atspi main
quiet

# Closing: refused, the window shrinks, and the program ends.
# Watched, not timed: on a loaded machine the first tick may come late.
shrunk() { geometry "$main" && [ "$WIDTH" -lt 238 ]; }
close_main() {
  ask_close "$main"
  poll 40 shrunk || fail "main did not start shrinking"
  poll 100 not kill -0 "$program_pid" 2>/dev/null || fail "the program did not end"
  wait "$program_pid" || fail "the program ended with status $?"
  quiet
}

minimise() {
  click "$main" 2400 2880 "$menu"           # 最小化到任务栏
  answer_box 最小化！ box_minimised box-minimised
}

# 六十秒关机: poweroff one minute from now, announced once logind took it.
sixty_seconds() {
  bus_log clear
  click "$main" 120 1080 "$menu"
  poll 40 bus_log scheduled poweroff 60 >/dev/null || fail "六十秒关机 scheduled nothing"
  poll 40 bus_log notified "将在 60 秒后关机" || fail "六十秒关机 was not announced"
}

if [ "$run" = short ]; then
  sixty_seconds
  close_main
  echo "end-to-end (short run of $program): all steps passed"
  exit 0
fi

if [ "$tray" != none ]; then
  poll 60 icon_shown || fail "no icon in the $tray tray at start"
  minimise
  gone '^<Tavimo> 关机工具 $' || fail "main was not hidden behind its icon"
  if [ "$server" = x11 ]; then
    geometry "$tray_host"                   # the one icon sits at the host's left
    [ "$tray" = xembed ] && x=$((X + WIDTH / 2)) || x=$((X + 15))
    xdotool mousemove "$x" "$((Y + HEIGHT / 2))" click --repeat 2 --delay 80 1
  else
    double_click_icon
  fi
  window '^<Tavimo> 关机工具 $' >/dev/null || fail "a double-click on the icon did not bring main back"
  poll 60 not icon_shown || fail "the icon stayed after the restore"
  close_main
  echo "end-to-end with a $tray tray: all steps passed"
  exit 0
fi

# The keyboard (X11 only: nothing reaches a Wayland client's keyboard from
# outside, and AT-SPI cannot type into one): Tab and Shift+Tab follow the
# stored tab order with one stop per option group, its checked option or
# else its first; an arrow moves to the next option, round at the ends, and
# chooses it; Space and Enter press buttons, Alt opens the menu bar. Each
# step: the keys, where the focus is then, the scene that holds then, and
# the shutdown it scheduled.
keyboard=("$(printf 'shift+Tab %.0s' {1..9})|radio button:关机" "shift+Tab shift+Tab|text:时间设定（秒）"
  "Tab|push button:开始计时" "Tab|radio button:关机" "Tab|push button:六十秒关机"
  "Tab|push button:1小时关机" "Tab|push button:3小时关机" "Tab|push button:最小化到任务栏"
  "Tab|push button:取消快捷按钮关机" "Tab|push button:30分钟关机" "Tab|push button:2小时关机"
  "Tab|push button:5小时关机" "Tab|text:时间设定（秒）"
  "Tab Tab Tab shift+Tab|radio button:关机"
  "Down|radio button:重启|main-restart-by-keys"
  "Tab|push button:六十秒关机" "shift+Tab|radio button:重启|main-restart-by-keys"
  "Up|radio button:关机|main-shutdown-by-keys" "Right|radio button:重启|main-restart-by-keys"
  "Left|radio button:关机|main-shutdown-by-keys" "Down|radio button:重启|main-restart-by-keys"
  "Down|radio button:关机|main-shutdown-by-keys" "Up|radio button:重启|main-restart-by-keys"
  "Tab space|push button:六十秒关机||poweroff 60" "Tab Return|push button:1小时关机||poweroff 3600")
walk() {
  local step keys focus scene request
  [ "$server" = x11 ] || return 0
  for step in "$@"; do
    IFS='|' read -r keys focus scene request <<<"$step"
    [ -z "$request" ] || bus_log clear
    # shellcheck disable=SC2086  # one argument a key, two a request
    xdotool key $keys
    "$python" "$here/atspi_check.py" focus "$focus" 2 || fail "keys $keys: the focus went elsewhere"
    [ -z "$scene" ] || atspi "$scene"
    # shellcheck disable=SC2086
    [ -z "$request" ] || poll 40 bus_log scheduled $request >/dev/null || fail "keys $keys scheduled no $request"
  done
}
walk "${keyboard[@]}"
if [ "$server" = x11 ]; then
  xdotool key alt
  sleep 0.2
  xdotool key Return                          # the first item, 说明
  answer_box 说明 box_notes_by_keys box-notes
fi

sixty_seconds

# A countdown from 3 with 关机 chosen ends in a poweroff 3 s out.
click "$main" 2280 360 "$menu"             # Option1, inside Frame2
click "$main" 240 480 "$menu"              # Text1, inside Frame1
type_text "$main" 3
bus_log clear
click "$main" 120 2880 "$menu"             # 开始计时
sleep 2.5
bus_log scheduled poweroff 3 >/dev/null && fail "the countdown fired early"
poll 60 bus_log scheduled poweroff 3 >/dev/null || fail "the countdown did not fire"

# The menu bar: find its four commands from left to right.
seen=""
note() { [[ $seen == *"$1"* ]] || seen+=" $1"; }
for x in $(seq 4 8 236); do
  click "$main" $(((x - 4) * 15)) $(((menu / 2 - 4) * 15))
  sleep 0.15
  if window '^说明$' 4 >/dev/null; then
    answer_box 说明 box_notes
    title_bar box_notes "5-27 418-428"     # a message box's too
    note 说明
  elif id="$(window '^关于$' 4)"; then
    shot "$id" about
    title_bar about "5-28"
    atspi GY
    click "$id" 6720 2400                  # 确定 closes it
    gone '^关于$' || fail "the about box did not close"
    note 关于
  elif window '^Tavimo关机工具$' 4 >/dev/null; then
    answer_box Tavimo关机工具 box_forum
    poll 40 test -s "$work/opened" || true
    grep -q '^http://.*/f?ie=utf-8&kw=%' "$work/opened" || fail "the forum page was not opened"
    note 留言
  elif id="$(window '^换肤（测试中）$' 4)"; then
    shot "$id" skins
    title_bar skins "5-84 193-203"
    atspi Form1
    atspi main-disabled
    # Its option group, none chosen, is one stop at its first option.
    walk "Tab|push button:确定" "Tab|radio button:星空主题" "Down|radio button:大海主题"
    click "$id" 360 480                    # Option1 星空主题, inside Frame1
    click "$id" 120 2040                   # 确定
    answer_box 提示 box_skin_notice box-skin-notice
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
shot "$main" main_minimised
title_bar main_minimised "6-118 220-230"   # still on the screen, as weston has no taskbar
close_main
echo "end-to-end: all steps passed; screenshots in $shots"
