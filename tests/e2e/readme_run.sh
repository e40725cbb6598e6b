#!/usr/bin/env bash
# A new user's first run of both programs: the README's two run commands on a clean checkout,
# under a virtual display. For each program its borderless splash window must show first, at its
# designed place and size, then the main window alone, titled for the language; a screenshot of
# each is kept in the work folder (never in the repository). The main window is then closed as a
# user would, answering No to the update question should it come first, and the program must end
# with exit code 0.   readme_run.sh <source folder> <work folder>
set -euo pipefail

source_dir=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"

german=$(grep -m1 -E '^bash scripts/run\.sh$' "$source_dir/README.md" || true)
polish=$(grep -m1 -o -E 'bash scripts/run\.sh polish' "$source_dir/README.md" || true)
if [ -z "$german" ] || [ -z "$polish" ]; then
  echo "the README lacks a run command (German: '$german', Polish: '$polish')" >&2
  exit 1
fi
git clone --quiet "$source_dir" "$work/checkout"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
app=""
log=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 1 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM

fail() {
  echo "$1" >&2
  [ -n "$log" ] && [ -f "$log" ] && tail -n 40 "$log" >&2
  exit 1
}

# The first visible window whose title matches, or nothing.
window_named() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true
}

geometry_of() {
  xdotool getwindowgeometry "$1" | awk '/Position/ { p = $2 } /Geometry/ { g = $2 } END { print p " " g }'
}

now() { date +%s.%N; }

# Asks a window to close, as the window manager's close button does. A question box closed so
# answers No.
close_window() { /usr/bin/python3 "$here/close_window.py" "$1"; }

# Runs one README command and walks through the program's first run.
#   first_run <label> <command> <main window title pattern> <update box title>
first_run() {
  local label=$1 command=$2 title=$3 question=$4
  log="$work/run-$label.log"
  echo "== $label: $command"
  (cd "$work/checkout" && exec bash -c "$command") >"$log" 2>&1 &
  app=$!

  # The command builds the program first; the splash window must come before the main window.
  local splash="" main="" shown=""
  for _ in $(seq 1 6000); do
    splash=$(window_named '^Form3$')
    [ -n "$splash" ] && break
    main=$(window_named "$title")
    [ -n "$main" ] && fail "$label: the main window appeared without a splash window before it"
    kill -0 "$app" 2>/dev/null || fail "$label: the program ended before its splash window appeared"
    sleep 0.1
  done
  [ -n "$splash" ] || fail "$label: no splash window appeared"
  shown=$(now)
  import -window root "$work/$label-splash.png"
  local place hints
  place=$(geometry_of "$splash")
  [ "$place" = "382,238 517x333" ] || fail "$label: the splash window stands at $place, not 382,238 517x333"
  # Motif hints: flags, functions, decorations, ...; no decorations at all means no border.
  hints=$(xprop -id "$splash" _MOTIF_WM_HINTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
  local flags functions decorations
  IFS=, read -r flags functions decorations _ <<<"$hints"
  if [ -z "$decorations" ] || (((flags & 2) == 0 || decorations != 0)); then
    fail "$label: the splash window asks for decorations (Motif hints '$hints')"
  fi
  local blue
  blue=$(convert "$work/$label-splash.png" -crop 517x333+382+238 -format '%[fx:mean.b - mean.r]' info:)
  awk -v d="$blue" 'BEGIN { exit !(d > 0.1) }' || fail "$label: the splash window does not show its dark blue picture"
  echo "splash screenshot: $work/$label-splash.png"

  for _ in $(seq 1 300); do
    main=$(window_named "$title")
    [ -n "$main" ] && break
    kill -0 "$app" 2>/dev/null || fail "$label: the program ended before its main window appeared"
    sleep 0.1
  done
  [ -n "$main" ] || fail "$label: no main window matching $title appeared"
  [ -z "$(window_named '^Form3$')" ] || fail "$label: the splash window is still up beside the main window"
  local waited
  waited=$(awk -v a="$shown" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }')
  awk -v w="$waited" 'BEGIN { exit !(w >= 1.0) }' || fail "$label: the splash window stood only ${waited}s"
  echo "splash window stood ${waited}s before the main window"
  place=$(geometry_of "$main")
  [ "${place#* }" = "790x560" ] || fail "$label: the main window is $place, not 790x560"

  sleep 1  # let it paint
  import -window root "$work/$label-main-window.png"
  local spread
  spread=$(convert "$work/$label-main-window.png" -format '%[fx:standard_deviation]' info:)
  awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }' || fail "$label: the main window screenshot is blank"
  echo "main window screenshot: $work/$label-main-window.png (spread $spread)"

  # A modal box keeps the main window from closing: the update question, asked some seconds after
  # the start, is answered No and the main window is asked again.
  close_window "$main"
  local box answered=0
  for _ in $(seq 1 100); do
    kill -0 "$app" 2>/dev/null || break
    box=$(window_named "^$question\$")
    if [ -n "$box" ]; then
      close_window "$box"
      answered=1
      sleep 0.3
      main=$(window_named "$title")
      [ -n "$main" ] && close_window "$main"
    fi
    sleep 0.1
  done
  kill -0 "$app" 2>/dev/null && fail "$label: the program did not end after its main window was closed"
  local status=0
  wait "$app" || status=$?
  app=""
  [ "$answered" = 1 ] && echo "answered No to the update question"
  echo "$label ended with exit code $status"
  [ "$status" = 0 ] || fail "$label: exit code $status"
}

first_run german "$german" '^med$' Aktualisierung
first_run polish "$polish" '^VELDO - Katalog Produkt.+w$' Aktualizacje
