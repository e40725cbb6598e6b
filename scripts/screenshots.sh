#!/usr/bin/env bash
# Makes the README's pictures of the programs from the real programs: builds both and the demo
# folder, starts each in the demo folder under a virtual display, and works it as a user would
# (with xdotool): answers No to the update question, chooses the make, model and year of the demo
# catalogue's fullest system, selects that system in the list so that the preview draws it, then
# opens its details and points at one of its parts so that the part lights up. The main window and
# the details window are written as docs/screenshots/<language>-main.png and
# <language>-details.png.                      screenshots.sh [german|polish ...]
#
# Every wait has a deadline; a step that does not have its effect ends the script with a message
# saying which, and the program's output.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

languages=("$@")
[ ${#languages[@]} -gt 0 ] || languages=(german polish)
for language in "${languages[@]}"; do
  case "$language" in
    german|polish) ;;
    *) echo "usage: screenshots.sh [german|polish ...]" >&2; exit 2 ;;
  esac
done

bash scripts/setup.sh
bash scripts/build.sh release "${languages[@]/#/catalog_}" demo
demo=$root/build/release/demo
out=$root/docs/screenshots
mkdir -p "$out"

work=$(mktemp -d)
xvfb=""
app=""
log=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "screenshots: $1" >&2
  if [ -n "$log" ] && [ -s "$log" ]; then
    echo "--- the program's output:" >&2
    tail -n 20 "$log" >&2
  fi
  exit 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 1 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "the virtual display did not start"
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM

# --- What to show: the system of the demo catalogue with the most items ------------------------

# Prints: make, model, first production year, system number, and the centre of its second drawn
# part (the first one past the front pipe) in the details window, one a line.
read_fullest_system() {
  python3 - "$demo/veldo28.bgp" <<'EOF'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.text_factory = lambda b: b.decode("cp1252")
system = db.execute(
    "SELECT ID_UKLAD FROM T_U GROUP BY ID_UKLAD ORDER BY SUM(VISIBLE = '1') + "
    "(SELECT COUNT(*) FROM T_U_ELEMENT JOIN T_U AS P ON ID_T_U = P.ID_KEY "
    "WHERE P.ID_UKLAD = T_U.ID_UKLAD) DESC, ID_UKLAD LIMIT 1").fetchone()[0]
make, model, year, number = db.execute(
    "SELECT MKNM, TYSP, CYPR_START, VELDO FROM AUTA WHERE ID_UKLAD = ? ORDER BY ITER LIMIT 1",
    (system,)).fetchone()
parts = db.execute("SELECT X, Y, W, H FROM T_U WHERE ID_UKLAD = ? AND VISIBLE = '1' ORDER BY rowid",
                   (system,)).fetchall()
x, y, w, h = (int(v) for v in parts[min(1, len(parts) - 1)])
# The drawing stands at 10, 10 in the details window.
print(make, model, year, number, 10 + x + w // 2, 10 + y + h // 2, sep="\n")
EOF
}
[ -f "$demo/veldo28.bgp" ] || fail "no demo catalogue in $demo"
mapfile -t chosen < <(read_fullest_system)
[ ${#chosen[@]} -eq 6 ] || fail "cannot read the fullest system from $demo/veldo28.bgp"
make=${chosen[0]} model=${chosen[1]} year=${chosen[2]} number=${chosen[3]}
part_x=${chosen[4]} part_y=${chosen[5]}
echo "showing system $number: $make $model from $year"

# --- Working the program ------------------------------------------------------------------------

# The first visible window whose title matches, or nothing.
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true; }

# Waits up to `seconds` for a window whose title matches and prints its id.
wait_for_window() {
  local pattern=$1 seconds=$2 what=$3 window=""
  for _ in $(seq 1 $((seconds * 10))); do
    window=$(window_named "$pattern")
    [ -n "$window" ] && break
    kill -0 "$app" 2>/dev/null || fail "the program ended while waiting for $what"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no $what (a window titled $pattern) within ${seconds}s"
  echo "$window"
}

wait_until_gone() {
  local pattern=$1 seconds=$2 what=$3
  for _ in $(seq 1 $((seconds * 10))); do
    [ -z "$(window_named "$pattern")" ] && return 0
    sleep 0.1
  done
  fail "$what (a window titled $pattern) is still open after ${seconds}s"
}

# Events take a moment to be handled and painted.
settle() { sleep "${1:-0.5}"; }

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Opens a drop-down list at its designed place in the main window and picks the entry that starts
# with `text`, as a user typing the first letters and pressing Enter.
choose() {
  local window=$1 x=$2 y=$3 text=$4
  click "$window" "$x" "$y"
  settle
  xdotool type --delay 60 "$text"
  xdotool key Return
  settle
}

# A picture that is nearly one colour shows nothing.
spread_of() { convert "$1" -format '%[fx:standard_deviation]' info:; }
is_above() { awk -v v="$1" -v limit="$2" 'BEGIN { exit !(v > limit) }'; }

# The share of strongly red pixels in a region of a picture (WxH+X+Y).
red_share() {
  convert "$1" -crop "$2" +repage -fx 'r > 0.7 && g < 0.3 && b < 0.3 ? 1 : 0' -format '%[fx:mean]' info:
}

# Small palette PNG files for the repository; the interface has few colours.
save() { convert "$1" -strip +dither -colors 256 "PNG8:$2"; }

shoot() {
  local language=$1 title=$2 question=$3 year_x=$4
  log="$work/$language.log"
  echo "== $language"
  (cd "$demo" && exec "$root/build/release/app/catalog_$language") >"$log" 2>&1 &
  app=$!

  local main
  main=$(wait_for_window "$title" 60 "main window")
  # The question comes six seconds after the start; No leaves the network alone. Escape answers
  # a Yes/No box with No.
  wait_for_window "^$question\$" 20 "update question" >/dev/null
  xdotool key --clearmodifiers Escape
  wait_until_gone "^$question\$" 5 "the update question"

  # The designed places of the drop-down lists and the list; the year list stands further right
  # in the Polish window.
  choose "$main" 128 18 "$make"
  choose "$main" 331 18 "$model"
  choose "$main" "$year_x" 18 "$year"
  # The first row, then the system's number typed: the list selects the row it starts.
  click "$main" 60 134
  xdotool type --delay 60 "$number"
  settle 1
  import -window "$main" "$work/main.png"
  # The preview's frame at 10, 308, 770 x 214: blank unless a row was selected.
  local preview
  preview=$(convert "$work/main.png" -crop 760x204+15+313 +repage -format '%[fx:standard_deviation]' info:)
  is_above "$preview" 0.05 || fail "$language: the preview stayed empty after choosing $make $model $year and $number"
  save "$work/main.png" "$out/$language-main.png"

  # Details, then the pointer on a part.
  click "$main" 707 543
  local details
  details=$(wait_for_window '^VELDO$' 10 "details window")
  settle
  xdotool mousemove --window "$details" "$part_x" "$part_y"
  settle 1
  import -window "$details" "$work/details.png"
  local lit
  lit=$(red_share "$work/details.png" 700x204+10+10)
  is_above "$lit" 0.002 || fail "$language: no part of the drawing lit up under the pointer at $part_x, $part_y"
  save "$work/details.png" "$out/$language-details.png"
  echo "wrote $out/$language-main.png and $out/$language-details.png"

  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=""
}

for language in "${languages[@]}"; do
  case "$language" in
    german) shoot german '^med$' Aktualisierung 542 ;;
    polish) shoot polish '^VELDO - Katalog Produkt.+w$' Aktualizacje 564 ;;
  esac
done
