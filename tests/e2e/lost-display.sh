#!/usr/bin/env bash
# The display goes away under the desktop editor (the X server ends at a logout before any
# signal reaches the program): the change made a moment before, well within the minute between
# two copies, is in the recovery folder for the next start to offer back.
#
# Usage: lost-display.sh ZOVEDIT
# Exit: 0 passed, 1 failed, 77 skipped (Xvfb or xdotool missing).
set -uo pipefail

zovedit=${1:?usage: lost-display.sh ZOVEDIT}
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"

fail() {
  echo "FAIL: $*"
  [ -s "$work/zovedit.log" ] && { echo "zovedit said:"; sed 's/^/  /' "$work/zovedit.log"; }
  exit 1
}

mkdir -p "$work/home" "$work/config" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY SESSION_MANAGER
printf '(On [Cat: *x] [Mat])\r\n' >"$work/cat.cgf"
QT_QPA_PLATFORM=offscreen timeout 60 "$zovedit" import "$work/cat.cgf" -o "$work/cat.pptx" >"$work/import.log" 2>&1 ||
  fail "zovedit import: $(cat "$work/import.log")"

Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 15 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"
wait_for 15 timeout 5 xdotool getmouselocation >/dev/null 2>&1 || fail "the display $DISPLAY does not answer"

QT_QPA_PLATFORM=xcb "$zovedit" "$work/cat.pptx" >"$work/zovedit.log" 2>&1 &
app_pid=$!
main=$(timeout 60 xdotool search --sync --onlyvisible --name '^cat.pptx - ZOVEdit$' 2>/dev/null | head -n 1)
[ -n "$main" ] || fail "the main window did not appear"
timeout 5 xdotool windowfocus --sync "$main" 2>/dev/null
# A new slide (Ctrl+M), saved (Ctrl+S: a save leaves behind what a later copy must not
# depend on), then another one, unsaved: the title marks the document changed.
xdotool key --clearmodifiers ctrl+m
wait_for 15 sh -c "timeout 5 xdotool getwindowname $main | grep -q '^cat.pptx\* - ZOVEdit$'" ||
  fail "the new slide did not mark the document changed"
xdotool key --clearmodifiers ctrl+s
wait_for 15 sh -c "timeout 5 xdotool getwindowname $main | grep -q '^cat.pptx - ZOVEdit$'" || fail "the save did not end"
xdotool key --clearmodifiers ctrl+m
wait_for 15 sh -c "timeout 5 xdotool getwindowname $main | grep -q '^cat.pptx\* - ZOVEdit$'" ||
  fail "the second new slide did not mark the document changed"

kill -TERM "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null
xvfb_pid=""
wait_for 30 sh -c "! kill -0 $app_pid 2>/dev/null" || fail "the editor did not end with its display"
app_pid=""
copies=("$work"/data/ZOVEdit/recovery/*.pptx)
[ -f "${copies[0]}" ] || fail "no copy of the unsaved work in the recovery folder"
slides=$(unzip -l "${copies[0]}" | grep -c 'ppt/slides/slide[0-9]*\.xml$')
[ "$slides" = 3 ] || fail "the copy holds $slides slides, not the 3 of the unsaved work"
echo "PASS: the unsaved new slide was copied for recovery when the display went away"
