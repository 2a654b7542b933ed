#!/usr/bin/env bash
# End-to-end smoke test of the desktop editor: the real zovedit on a virtual X display, driven
# with real key presses and pointer moves (xdotool). It opens the editor through the Tools menu,
# chooses the concept option, types "Cat", puts the pointer on the slide, presses Insert, saves
# with Ctrl+S into a typed path, and checks that the saved presentation exports the concept.
#
# Usage: smoke.sh ZOVEDIT
# Exit: 0 passed, 1 failed, 77 skipped (Xvfb or xdotool missing).
set -uo pipefail

zovedit=${1:?usage: smoke.sh ZOVEDIT}
for tool in Xvfb xdotool timeout; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (scripts/install-deps installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  if [ -n "${DISPLAY:-}" ]; then
    echo "windows on the display:"
    for w in $(timeout 5 xdotool search --onlyvisible --name '.' 2>/dev/null); do
      echo "  $w: $(timeout 5 xdotool getwindowname "$w" 2>/dev/null)"
    done
  fi
  if [ -s "$work/zovedit.log" ]; then
    echo "zovedit said:"
    sed 's/^/  /' "$work/zovedit.log"
  fi
  exit 1
}

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.2
  done
}

# The id of the first visible window whose name matches $1, waiting up to $2 seconds.
find_window() {
  timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Gives the keyboard focus to window $1 and waits until it has it.
focus() {
  local i
  for i in 1 2 3 4 5; do
    timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null
    [ "$(timeout 5 xdotool getwindowfocus 2>/dev/null)" = "$1" ] && { sleep 0.3; return 0; }
    sleep 0.3
  done
  return 1
}

# A display of its own: Xvfb picks a free number and writes it to the pipe.
mkdir -p "$work/home" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 15 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"
wait_for 15 timeout 5 xdotool getmouselocation >/dev/null 2>&1 || fail "the display $DISPLAY does not answer"

# Settings, the add-in registration and recent files stay in the test's own folders.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY SESSION_MANAGER
QT_QPA_PLATFORM=offscreen timeout 60 "$zovedit" --register >"$work/register.log" 2>&1 ||
  fail "zovedit --register: $(cat "$work/register.log")"

QT_QPA_PLATFORM=xcb "$zovedit" >"$work/zovedit.log" 2>&1 &
app_pid=$!
main=$(find_window ' - ZOVEdit$' 60)
[ -n "$main" ] || fail "the main window did not appear"
# A known size and place, so that the middle of the slide is known too.
timeout 5 xdotool windowmove --sync "$main" 0 0 2>/dev/null
timeout 5 xdotool windowsize --sync "$main" 1200 900 2>/dev/null
sleep 1

# "ZOV Edit" from the Tools menu: Alt+T, then Z. Tried again if the palette does not show.
palette=""
for attempt in 1 2 3; do
  focus "$main" || continue
  xdotool key --clearmodifiers alt+t
  sleep 0.5
  xdotool key z
  palette=$(find_window '^ZOV Edit$' 10)
  [ -n "$palette" ] && break
  xdotool key Escape Escape
done
[ -n "$palette" ] || fail "the palette did not appear"

# The concept option ("C"): the seven options come just before the text box in the focus
# order, "C" first, so seven Shift+Tabs from the text box reach it; Space chooses it and hands
# the focus back to the text box. Then the concept's label.
focus "$palette" || fail "the palette did not take the focus"
xdotool key --delay 80 shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
sleep 0.2
xdotool key space
sleep 0.3
xdotool type --delay 50 Cat

# The pointer on the slide, right of the middle of the canvas, then Insert.
eval "$(timeout 5 xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --sync $((X + WIDTH * 65 / 100)) $((Y + HEIGHT * 55 / 100))
sleep 0.3
focus "$palette" || fail "the palette lost the focus"
xdotool key Insert
sleep 1

# Ctrl+S on an unsaved presentation asks for a name: the path is typed into the dialog.
out="$work/smoke.pptx"
saved=0
for attempt in 1 2 3; do
  focus "$main" || continue
  xdotool key --clearmodifiers ctrl+s
  dialog=$(find_window '^Save As$' 10)
  [ -n "$dialog" ] || continue
  focus "$dialog" || continue
  xdotool key ctrl+a
  xdotool type --delay 20 "$out"
  xdotool key Return
  if wait_for 20 test -s "$out"; then
    saved=1
    break
  fi
done
[ "$saved" = 1 ] || fail "the presentation was not saved to $out"
# The save is complete once the window title no longer shows the unsaved mark.
wait_for 10 sh -c "timeout 5 xdotool getwindowname $main | grep -q '^smoke.pptx - ZOVEdit$'" ||
  fail "the window title does not name the saved file: $(timeout 5 xdotool getwindowname "$main")"

cgif=$(QT_QPA_PLATFORM=offscreen timeout 60 "$zovedit" export "$out" -o - 2>"$work/export.log") ||
  fail "zovedit export of the saved file failed: $(cat "$work/export.log")"
if ! grep -q '\[Cat' <<<"$cgif"; then
  echo "exported text:"
  echo "$cgif"
  fail "the saved presentation holds no concept Cat"
fi
echo "PASS: the editor drew [Cat] at the pointer and saved it ($(wc -c <"$out") bytes)"
exit 0
