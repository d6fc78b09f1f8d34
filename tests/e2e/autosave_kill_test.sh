#!/usr/bin/env bash
# Kills the real program with SIGKILL while it writes recovery copies, 20 times, and checks that
# each time the copy it leaves is readable (the one written before, or the one being written),
# never missing or half-written; then that the next start offers the last one and opens it.
# Draws with xdotool on a virtual X display; exits 77 (skipped) when those tools are missing.
#
#   autosave_kill_test.sh PROGRAM CLI OUTPUT_FOLDER
set -u

program="$1"
cli="$2"
out="$3/autosave-kill"
runs=20

source "$(dirname "${BASH_SOURCE[0]}")/xvfb_display.sh"
require_tools Xvfb xwininfo xdotool

rm -rf "$out"
mkdir -p "$out"
start_xvfb "$out" || exit 1
use_leak_suppressions "$out"
log="$out/program.log"
# A copy after every change, so the kills land while copies are being written.
export MIRASKETCH_AUTOSAVE_SECONDS=0
project="$out/big.kvl"
"$cli" mkkvl "$project" 3200 3200 1 >/dev/null || { echo "FAIL: mkkvl"; exit 1; }
"$cli" flatten "$project" "$out/white.bmp" >/dev/null || { echo "FAIL: flatten"; exit 1; }

window_of() {  # TITLE-PATTERN → the first window id, or nothing
  DISPLAY="$display" xdotool search --name "$1" 2>/dev/null | head -n 1
}

# Draws one stroke across the canvas window, at a row that changes with $1.
stroke() {  # N
  local x y
  x=$((canvas_x + 20 + ($1 * 7) % 150))
  y=$((canvas_y + 40 + ($1 * 13) % 150))
  DISPLAY="$display" xdotool mousemove "$x" "$y" mousedown 1 mousemove $((x + 60)) $((y + 25)) \
    mouseup 1 2>/dev/null
}

copies() {  # CACHE → the recovery copies in it
  ls "$1"/mirasketch/recovery-*.kvl 2>/dev/null
}

# Starts the program and waits for its canvas window, named after the project.
start_program() {  # CACHE [FILE]
  XDG_CACHE_HOME="$1" DISPLAY="$display" QT_QPA_PLATFORM=xcb "$program" ${2:+"$2"} >>"$log" 2>&1 &
  app_pid=$!
}

wait_canvas() {
  local id=""
  for _ in $(seq 1 300); do
    id=$(window_of 'big\.kvl')
    [ -n "$id" ] && break
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$id" ] || return 1
  eval "$(DISPLAY="$display" xdotool getwindowgeometry --shell "$id")"
  canvas_x=$X
  canvas_y=$Y
}

for run in $(seq 1 "$runs"); do
  cache="$out/cache-$run"
  start_program "$cache" "$project"
  if ! wait_canvas; then
    # A display lost to something outside the test (another session's server taking its number)
    # is started again once: the kills under test are the program's, not the server's.
    kill -KILL "$app_pid" 2>/dev/null
    echo "note: run $run: the program found no display at $display; starting another"
    kill -TERM "$xvfb_pid" 2>/dev/null
    start_xvfb "$out" || exit 1
    start_program "$cache" "$project"
    if ! wait_canvas; then
      echo "FAIL: run $run: the canvas window did not appear"
      cat "$log"
      exit 1
    fi
  fi
  # Draw until the first copy is there, then go on drawing for a random moment and kill.
  n=0
  until [ -n "$(copies "$cache")" ]; do
    stroke $n
    n=$((n + 1))
    if [ $n -gt 400 ]; then
      echo "FAIL: run $run: no recovery copy after $n strokes"
      exit 1
    fi
  done
  end=$(($(date +%s%N) / 1000000 + 200 + RANDOM % 1800))
  while [ $(($(date +%s%N) / 1000000)) -lt "$end" ]; do
    stroke $n
    n=$((n + 1))
  done
  writing=$(ls "$cache"/mirasketch/recovery-*.kvl.tmp-* 2>/dev/null)
  kill -KILL "$app_pid"
  wait "$app_pid" 2>/dev/null
  app_pid=""
  found=$(copies "$cache")
  if [ "$(echo "$found" | grep -c .)" -ne 1 ]; then
    echo "FAIL: run $run: expected one recovery copy, found: ${found:-none}"
    ls -la "$cache/mirasketch"
    exit 1
  fi
  if ! "$cli" info "$found" >"$out/info-$run.txt" 2>&1; then
    echo "FAIL: run $run: the recovery copy cannot be read"
    cat "$out/info-$run.txt"
    exit 1
  fi
  # The copy holds what was drawn: the flattened picture is not all white.
  "$cli" flatten "$found" "$out/flat-$run.bmp" >/dev/null 2>&1
  if ! "$cli" bmpinfo "$out/flat-$run.bmp" >/dev/null 2>&1 ||
    cmp -s "$out/flat-$run.bmp" "$out/white.bmp"; then
    echo "FAIL: run $run: the recovery copy does not hold the strokes"
    exit 1
  fi
  rm -f "$out/flat-$run.bmp"
  echo "run $run: killed after $n strokes${writing:+ during a write}, copy readable"
done

# The next start asks about the copy the last run left; Yes (the default button) opens it under
# the project's name.
sleep 1
start_program "$out/cache-$runs"
opened=no
for _ in $(seq 1 100); do
  if [ -n "$(window_of 'big\.kvl')" ]; then
    opened=yes
    break
  fi
  for id in $(DISPLAY="$display" xdotool search --name '^Mirasketch$' 2>/dev/null); do
    DISPLAY="$display" xdotool windowfocus "$id" key Return 2>/dev/null
  done
  sleep 0.2
done
if [ "$opened" != yes ]; then
  echo "FAIL: the next start did not open the recovery copy"
  cat "$log"
  exit 1
fi
if command -v import >/dev/null; then
  DISPLAY="$display" import -window root "$out/restored.png"
fi
echo "PASS: $runs kills, each left a readable copy; the next start restored the last"
