#!/usr/bin/env bash
# A new user's first run: the README's run command on a clean checkout, under a virtual display.
# The main window titled "med" must appear; a screenshot of the screen is kept in the work
# folder (never in the repository); then the window is closed as a user would, and the program
# must end cleanly.   readme_run.sh <source folder> <work folder>
set -euo pipefail

source_dir=$1
work=$2
rm -rf "$work"
mkdir -p "$work"

command=$(grep -m1 -E '^bash scripts/run\.sh' "$source_dir/README.md" || true)
if [ -z "$command" ]; then
  echo "the README has no run command" >&2
  exit 1
fi
echo "README run command: $command"
git clone --quiet "$source_dir" "$work/checkout"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
app=""
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

(cd "$work/checkout" && exec bash -c "$command") >"$work/run.log" 2>&1 &
app=$!

window=""
for _ in $(seq 1 1200); do
  window=$(xdotool search --onlyvisible --name '^med$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  if ! kill -0 "$app" 2>/dev/null; then
    echo "the program ended before its main window appeared:" >&2
    tail -n 40 "$work/run.log" >&2
    exit 1
  fi
  sleep 0.5
done
if [ -z "$window" ]; then
  echo "no window titled med appeared" >&2
  tail -n 40 "$work/run.log" >&2
  exit 1
fi

sleep 2  # let it paint
import -window root "$work/main-window.png"
spread=$(convert "$work/main-window.png" -format '%[fx:standard_deviation]' info:)
echo "screenshot: $work/main-window.png (spread $spread)"
if ! awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'; then
  echo "the screenshot is blank" >&2
  exit 1
fi

/usr/bin/python3 "$(dirname "$0")/close_window.py" "$window"
status=0
for _ in $(seq 1 40); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.25
done
if kill -0 "$app" 2>/dev/null; then
  echo "the program did not end after its main window was closed" >&2
  exit 1
fi
wait "$app" || status=$?
app=""
echo "the program ended with exit code $status"
exit "$status"
