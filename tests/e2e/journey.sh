#!/usr/bin/env bash
# The desktop editor's first minutes as a user lives them, on a virtual X display of 1600 x 1000
# without a window manager, driven with real key presses and pointer moves (xdotool). The main
# window keeps the size it picks itself. Steps, each checked by what it produced:
#   start on a presentation made by `zovedit import`; measure the idle processor time; open the
#   palette; turn the concept colour red in the configuration dialog; add a graph; draw
#   concepts, a relation, an actor and a coreferent concept at the pointer; link them, and one
#   link that is refused with its message (one option chosen from the keyboard); read and
#   change a label with Edit; jump from the coreferent concept to the graph defining its label
#   and put a comment there; show a graph by name (and an unknown name); clear a graph; import a
#   CGIF file and export through the palette; undo and redo the import; undo everything and
#   redo it; quit, keeping the colour in the settings file; reopen the saved file, and read the
#   slides back through `zovedit export`.
# What the program tells the user in message boxes is read from the log the desktop writes when
# ZOVEDIT_MESSAGE_LOG is set (one "title<TAB>text" line per box).
#
# Usage: journey.sh ZOVEDIT
# Exit: 0 passed, 1 failed, 77 skipped (Xvfb or xdotool missing).
set -uo pipefail

zovedit=${1:?usage: journey.sh ZOVEDIT}
# shellcheck source=common.sh
. "$(dirname "$0")/common.sh"

step_name="setting up"
step() {
  step_name=$1
  echo "-- $step_name ($SECONDS s)"
}

fail() {
  echo "FAIL in \"$step_name\": $*"
  if [ -n "${DISPLAY:-}" ]; then
    echo "windows on the display:"
    for w in $(timeout 5 xdotool search --onlyvisible --name '.' 2>/dev/null); do
      echo "  $w: $(timeout 5 xdotool getwindowname "$w" 2>/dev/null)"
    done
  fi
  [ -s "$work/messages.log" ] && { echo "message boxes:"; sed 's/^/  /' "$work/messages.log"; }
  [ -s "$work/zovedit.log" ] && { echo "zovedit said:"; sed 's/^/  /' "$work/zovedit.log"; }
  exit 1
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
    [ "$(timeout 5 xdotool getwindowfocus 2>/dev/null)" = "$1" ] && { sleep 0.2; return 0; }
    sleep 0.3
  done
  return 1
}

key() { xdotool key --clearmodifiers --delay 80 "$@"; sleep 0.3; }
# A palette menu command: Alt+$1 opens the menu, the key $2 runs the item.
palette_menu() {
  focus "$palette" || fail "the palette did not take the focus"
  key "alt+$1"
  sleep 0.5
  key "$2"
  sleep 0.3
}
type_text() { xdotool type --delay 30 "$1"; sleep 0.2; }

# Message boxes: how many were shown so far, and the last one's "title<TAB>text".
messages_shown() { [ -f "$work/messages.log" ] && wc -l <"$work/messages.log" || echo 0; }
last_message() { tail -n 1 "$work/messages.log" 2>/dev/null; }
# Waits for box number $1 to open, checks it reads $2 ("title<TAB>text") and closes it with
# Return.
expect_message() {
  local number=$1 expected=$2
  wait_for 15 test "$(messages_shown)" -ge "$number" || fail "no message box \"$expected\""
  [ "$(sed -n "${number}p" "$work/messages.log")" = "$expected" ] ||
    fail "message box $number reads \"$(sed -n "${number}p" "$work/messages.log")\", expected \"$expected\""
  local box
  box=$(find_window "^${expected%%$'\t'*}\$" 10)
  [ -n "$box" ] || fail "the box \"$expected\" is not on the screen"
  focus "$box" || true
  key Return
  wait_for 10 sh -c "! timeout 5 xdotool search --onlyvisible --name '^${expected%%$'\t'*}\$' >/dev/null 2>&1" ||
    fail "the box \"$expected\" did not close"
}
no_new_message() { [ "$(messages_shown)" -eq "$1" ] || fail "unexpected message box: $(last_message)"; }

# The pointer at fractions ($1, $2) of the slide canvas' part of the main window.
point() {
  xdotool mousemove $((MX + MW * $1 / 1000)) $((MY + MH * $2 / 1000))
  sleep 0.15
}

# The palette's text box: a click on it (it spans the bottom of the palette).
text_box() {
  focus "$palette" || fail "the palette did not take the focus"
  xdotool mousemove $((PX + PWIDTH / 2)) $((PY + PHEIGHT - 17)) click 1
  sleep 0.2
}
# Palette options, clicked: C R A Link across the first row of the option frame, Comment (two
# columns wide), Edit and Jump across the second; the rows lie 105 and 65 pixels above the
# palette's bottom edge. A click hands the focus to the text box (Comment keeps it).
option() {
  local x y
  case $1 in
    C) x=15 y=105 ;; R) x=38 y=105 ;; A) x=61 y=105 ;; Link) x=84 y=105 ;;
    Comment) x=27 y=65 ;; Edit) x=61 y=65 ;; Jump) x=84 y=65 ;;
    *) fail "no option $1" ;;
  esac
  focus "$palette" || fail "the palette did not take the focus"
  xdotool mousemove $((PX + PWIDTH * x / 100)) $((PY + PHEIGHT - y)) click 1
  sleep 0.3
}
# Types $1 into the palette's text box (replacing what it holds).
palette_text() {
  text_box
  key ctrl+a BackSpace
  [ -n "$1" ] && type_text "$1"
}
# Runs the chosen command at the slide point ($1, $2): Insert released in the palette.
insert_at() {
  point "$1" "$2"
  focus "$palette" || fail "the palette did not take the focus"
  key Insert
  sleep 0.3
}

# Saves with Ctrl+S (in the main window, or with "palette" in the palette) and prints the
# presentation's graphs as `zovedit export` writes them.
snapshot() {
  if [ "${1:-}" = palette ]; then
    focus "$palette" || fail "the palette did not take the focus"
  else
    focus "$main" || fail "the main window did not take the focus"
  fi
  key ctrl+s
  wait_for 20 sh -c "timeout 5 xdotool getwindowname $main | grep -q '^journey.pptx - ZOVEdit\$'" ||
    fail "saving did not finish: the title is \"$(timeout 5 xdotool getwindowname "$main")\""
  QT_QPA_PLATFORM=offscreen timeout 60 "$zovedit" export "$work/journey.pptx" -o - 2>"$work/export.log" ||
    fail "zovedit export failed: $(cat "$work/export.log")"
}
expect_in() { grep -qF -- "$2" <<<"$1" || { echo "$1"; fail "the graphs lack \"$2\""; }; }
expect_not_in() { ! grep -qF -- "$2" <<<"$1" || { echo "$1"; fail "the graphs still hold \"$2\""; }; }

# --- a display, settings of the test's own, and a presentation made by the importer ---------
mkdir -p "$work/home" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 15 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"
wait_for 15 timeout 5 xdotool getmouselocation >/dev/null 2>&1 || fail "the display $DISPLAY does not answer"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export LANG=C.UTF-8 LC_ALL=C.UTF-8 ZOVEDIT_MESSAGE_LOG="$work/messages.log"
unset WAYLAND_DISPLAY SESSION_MANAGER
QT_QPA_PLATFORM=offscreen timeout 60 "$zovedit" --register >"$work/register.log" 2>&1 ||
  fail "zovedit --register: $(cat "$work/register.log")"
printf ';%%Graph*Home%%;\r\n(On [Cat: *x] [Mat])\r\n' >"$work/home.cgf"
printf ';%%Graph*Park%%;\r\n(In [Dog] [Park])\r\n' >"$work/park.cgf"
QT_QPA_PLATFORM=offscreen timeout 60 "$zovedit" import "$work/home.cgf" -o "$work/journey.pptx" --arrange \
  >"$work/import.log" 2>&1 || fail "zovedit import: $(cat "$work/import.log")"
start_graphs=$(QT_QPA_PLATFORM=offscreen timeout 60 "$zovedit" export "$work/journey.pptx" -o - 2>/dev/null)
expect_in "$start_graphs" "[Cat*x"

step "the editor opens the imported presentation at its own size"
QT_QPA_PLATFORM=xcb "$zovedit" "$work/journey.pptx" >"$work/zovedit.log" 2>&1 &
app_pid=$!
main=$(find_window '^journey.pptx - ZOVEdit$' 60)
[ -n "$main" ] || fail "the main window did not appear"
eval "$(timeout 5 xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" = 1200 ] && [ "$HEIGHT" = 800 ] || fail "the main window is ${WIDTH} x ${HEIGHT}, not 1200 x 800"
# The canvas: right of the slide list, below the menus and the toolbar, above the status bar.
MX=$((X + 300)) MY=$((Y + 80)) MW=$((WIDTH - 320)) MH=$((HEIGHT - 120))
app_pid=$(pgrep -n -P "$app_pid" 2>/dev/null || echo "$app_pid") # the launcher runs the editor

step "at rest the editor uses (almost) no processor"
sleep 2
ticks() { awk '{print $14 + $15}' "/proc/$app_pid/stat"; }
before=$(ticks)
sleep 5
used=$(( ($(ticks) - before) * 100 / $(getconf CLK_TCK) / 5 ))
echo "   idle: ${used} % of a core over 5 s"
[ "$used" -lt 10 ] || fail "the idle editor uses ${used} % of a core"

step "the palette opens from the Tools menu"
palette=""
started=$SECONDS
for attempt in 1 2 3; do
  focus "$main" || continue
  key alt+t
  xdotool key z
  palette=$(find_window '^ZOV Edit$' 10)
  [ -n "$palette" ] && break
  key Escape Escape
done
[ -n "$palette" ] || fail "the palette did not appear"
echo "   palette up after $((SECONDS - started)) s"
eval "$(timeout 5 xdotool getwindowgeometry --shell --prefix P "$palette")"
[ "$((PX + PWIDTH))" -le "$MX" ] || [ "$PX" -ge "$((MX + MW))" ] ||
  [ "$((PY + PHEIGHT))" -le "$MY" ] || [ "$PY" -ge "$((MY + MH))" ] ||
  fail "the palette (${PX},${PY} ${PWIDTH}x${PHEIGHT}) covers the slide"

step "the configuration dialog changes the concept colour"
palette_menu g c # "Clear" is marked as the menu opens; the second "c" marks "Configure"
key Return
config=$(find_window '^Configure$' 10)
[ -n "$config" ] || fail "the configuration dialog did not open"
focus "$config" || fail "the configuration dialog did not take the focus"
key space # the concept colour's Choose button has the focus
colour=$(find_window '^Select Color$' 10)
[ -n "$colour" ] || fail "the colour chooser did not open"
focus "$colour" || fail "the colour chooser did not take the focus"
key alt+h ctrl+a # its HTML box
type_text '#ff0000'
key Return
focus "$config" || fail "the configuration dialog did not take the focus back"
key shift+Tab shift+Tab space # back from the first Choose button round to Cancel, then OK
wait_for 10 sh -c "! timeout 5 xdotool search --onlyvisible --name '^Configure\$' >/dev/null 2>&1" ||
  fail "the configuration dialog did not close with OK"

step "Add Graph makes and shows a named slide"
palette_text Story
palette_menu g a

step "a concept, a relation and an actor at the pointer, linked; one link refused"
option C; palette_text Cat; insert_at 200 250
# R from the keyboard: Shift+Tab from the text box reaches the chosen option, Right chooses the
# next one and hands the focus back to the text box, where the label is typed at once.
text_box
key shift+Tab Right ctrl+a BackSpace
type_text On; insert_at 450 250
option C; palette_text Mat; insert_at 700 250
option A; palette_text Sit; insert_at 450 550
option C; palette_text 'Pet: ?x'; insert_at 200 800
option Link
# Each shape's top-left corner is where the pointer was; its middle is a little right and down.
insert_at 230 275; insert_at 480 275 # Cat -> On
insert_at 480 275; insert_at 730 275 # On -> Mat
insert_at 230 275; insert_at 480 575 # Cat -> Sit
insert_at 480 575; insert_at 730 275 # Sit -> Mat (an actor needs an out arc)
no_new_message 0
insert_at 480 275; insert_at 480 575 # On -> Sit
expect_message 1 $'Error\tCannot link an actor to a relation'
# Without a window manager nobody but the program gives the keyboard back after a box.
wait_for 5 sh -c "[ \"\$(timeout 5 xdotool getwindowfocus 2>/dev/null)\" = $palette ]" ||
  fail "the keyboard did not come back to the palette after the box closed"

step "Edit reads a label into the text box and writes a new one"
option Edit
palette_text ''
insert_at 730 275 # the box now holds "Mat"
palette_text Rug
insert_at 730 275
graphs=$(snapshot)
story=$(sed -n '/Graph\*Story/,$p' <<<"$graphs")
# Cat -> On -> Rug (was Mat), Cat -> Sit -> Rug; arcs show as the concepts' coreference labels.
for part in "[Cat*c2;" "[Rug*x1;" "(On?c2?x1;" "<Sit?c2|?x1;"; do expect_in "$story" "$part"; done
expect_not_in "$story" "[Mat;"
unzip -p "$work/journey.pptx" ppt/slides/slide2.xml | grep -q 'prst="homePlate"' ||
  fail "the concept [Pet: ?x] is not drawn as a coreferent concept (a pentagon)"
unzip -p "$work/journey.pptx" ppt/slides/slide2.xml | grep -q 'srgbClr val="FF0000"' ||
  fail "the concepts drawn after the configuration are not red"

step "Jump goes from the coreferent concept to the graph that defines its label; a comment there"
option Jump
insert_at 230 825 # [Pet: ?x] -> [Cat: *x] on Home
no_new_message 1
option Comment
insert_at 850 850

step "Show goes to a graph by name, and tells when no graph has the name"
palette_text Nowhere
palette_menu g h
expect_message 2 $'ZOVEdit\tNo graph with that name'
palette_text Story
palette_menu g h
no_new_message 2
option C; palette_text Dog; insert_at 850 850
snapshot palette >/dev/null # Ctrl+S saves from the palette too
unzip -p "$work/journey.pptx" ppt/slides/slide2.xml | grep -q '<a:t>Dog</a:t>' ||
  fail "Show did not lead to the Story slide: no [Dog] there"
unzip -p "$work/journey.pptx" ppt/slides/slide1.xml | grep -q '>Comment<' ||
  fail "the jump did not lead to the Home slide: no comment there"

step "Clear Graph empties the slide in view"
palette_menu g Return # "Clear" is marked first as the menu opens from the keyboard
graphs=$(snapshot)
expect_not_in "$graphs" ";%Graph*Story%;" # a slide with only its title holds no graph
expect_in "$graphs" "(On[Cat*x;"

step "Import reads a CGIF file through the palette and says \"File read\""
palette_menu f i
dialog=$(find_window '.' 1 >/dev/null; timeout 10 xdotool search --sync --onlyvisible --name '^Import CGIF' 2>/dev/null | head -n 1)
[ -n "$dialog" ] || fail "the Import dialog did not open"
focus "$dialog" || true
key ctrl+a
type_text "$work/park.cgf"
key Return
expect_message 3 $'ZOVEdit\tFile read'
# The box came up while the import still held the program, before the window system had told it
# that the palette was active again after the file dialog: the keyboard still goes back there.
wait_for 5 sh -c "[ \"\$(timeout 5 xdotool getwindowfocus 2>/dev/null)\" = $palette ]" ||
  fail "the keyboard did not come back to the palette after \"File read\""
before_export=$(snapshot)
expect_in "$before_export" ";%Graph*Park%;"

step "Export writes the graphs through the palette"
palette_menu f e
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Export CGIF' 2>/dev/null | head -n 1)
[ -n "$dialog" ] || fail "the Export dialog did not open"
focus "$dialog" || true
key ctrl+a
type_text "$work/out.cgf"
key Return
wait_for 15 test -s "$work/out.cgf" || fail "the export wrote no $work/out.cgf"
expect_message 4 $'ZOVEdit\tFile written'
grep -q "Graph\*Park" "$work/out.cgf" && grep -q "Graph\*Home" "$work/out.cgf" ||
  fail "the exported file lacks graphs: $(cat "$work/out.cgf")"

step "Undo takes the import back in one step, Redo brings it again"
focus "$main" || fail "the main window did not take the focus"
key ctrl+z
graphs=$(snapshot)
expect_not_in "$graphs" ";%Graph*Park%;"
expect_in "$graphs" "(On[Cat*x;"
focus "$main" || fail "the main window did not take the focus"
key ctrl+y
graphs=$(snapshot)
[ "$graphs" = "$before_export" ] || { echo "$graphs"; fail "after the redo the graphs differ"; }

step "Undo takes every change back, Redo brings them all again"
focus "$main" || fail "the main window did not take the focus"
xdotool key --clearmodifiers --delay 150 $(printf "ctrl+z %.0s" $(seq 24))
graphs=$(snapshot)
[ "$graphs" = "$start_graphs" ] || { echo "$graphs"; fail "after undoing everything the graphs differ from the imported ones"; }
focus "$main" || fail "the main window did not take the focus"
xdotool key --clearmodifiers --delay 150 $(printf "ctrl+y %.0s" $(seq 24))
graphs=$(snapshot)
[ "$graphs" = "$before_export" ] || { echo "$graphs"; fail "after redoing everything the graphs differ"; }

step "saved, closed, reopened: the slides hold the graphs"
focus "$main" || fail "the main window did not take the focus"
key ctrl+q
# Closing the palette offers to keep the changed colour; Return answers Yes.
expect_message 5 $'ZOVEdit\tDo you want to save your configuration changes as defaults for the next session?'
wait_for 20 sh -c "! kill -0 $app_pid 2>/dev/null" || fail "the editor did not close"
app_pid=""
grep -rqs '^ConceptColor=255$' "$XDG_CONFIG_HOME" "$HOME" ||
  fail "the settings files do not keep the red concept colour: $(grep -rs Color "$XDG_CONFIG_HOME" "$HOME")"
QT_QPA_PLATFORM=xcb "$zovedit" "$work/journey.pptx" >>"$work/zovedit.log" 2>&1 &
app_pid=$!
main=$(find_window '^journey.pptx - ZOVEdit$' 60)
[ -n "$main" ] || fail "the saved presentation did not open again"
kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
app_pid=""
graphs=$(QT_QPA_PLATFORM=offscreen timeout 60 "$zovedit" export "$work/journey.pptx" -o - 2>"$work/export.log") ||
  fail "zovedit export failed: $(cat "$work/export.log")"
[ "$graphs" = "$before_export" ] || { echo "$graphs"; fail "the reopened presentation holds other graphs"; }
echo "PASS: the journey took $SECONDS s"
exit 0
