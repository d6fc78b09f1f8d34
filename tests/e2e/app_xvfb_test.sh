#!/usr/bin/env bash
# Starts the real program on a virtual X display, waits for its main window and canvas window,
# takes a screenshot of the screen, asks the program to close and checks that it ends cleanly.
# Exits 77 (reported by ctest as skipped) when Xvfb or xwininfo is not installed.
#
#   app_xvfb_test.sh PROGRAM OUTPUT_FOLDER
set -u

program="$1"
out="${2:-.}"
screenshot="$out/mirasketch-screenshot.png"
log="$out/mirasketch-xvfb.log"

source "$(dirname "${BASH_SOURCE[0]}")/xvfb_display.sh"
require_tools Xvfb xwininfo

start_xvfb "$out" || exit 1
use_leak_suppressions "$out"
# Recovery locks and copies go to a folder of the test's own, not the user's cache.
export XDG_CACHE_HOME="$out/mirasketch-xvfb-cache"

DISPLAY="$display" QT_QPA_PLATFORM=xcb "$program" >>"$log" 2>&1 &
app_pid=$!

found=no
for _ in $(seq 1 200); do
  if has_window "Mirasketch" && has_window "(New Layer Project)" && has_window "Tool"; then
    found=yes
    break
  fi
  if ! kill -0 "$app_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ "$found" != yes ]; then
  echo "FAIL: the program's windows did not appear"
  DISPLAY="$display" xwininfo -root -tree
  cat "$log"
  exit 1
fi

# Give the windows a moment to paint, then take the picture.
sleep 1
if command -v import >/dev/null; then
  DISPLAY="$display" import -window root "$screenshot" && echo "screenshot: $screenshot"
fi

# Asked to terminate, the program closes like the user closing its main window.
kill -TERM "$app_pid"
status=""
for _ in $(seq 1 100); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    wait "$app_pid"
    status=$?
    break
  fi
  sleep 0.1
done
if [ -z "$status" ]; then
  echo "FAIL: the program did not end after SIGTERM"
  exit 1
fi
app_pid=""
if [ "$status" -ne 0 ]; then
  echo "FAIL: the program ended with status $status"
  cat "$log"
  exit 1
fi
echo "PASS: windows shown, screenshot taken, program closed with status 0"
