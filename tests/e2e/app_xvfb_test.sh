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

for tool in Xvfb xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

# Xvfb picks a display number nobody uses and writes it when it is ready, so a server started by
# someone else at the same moment cannot take ours.
display_file="$out/mirasketch-xvfb.display"
: >"$display_file"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$log" 2>&1 &
xvfb_pid=$!
number=""
for _ in $(seq 1 300); do
  number=$(head -n 1 "$display_file" 2>/dev/null)
  [ -n "$number" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$number" ]; then
  echo "FAIL: Xvfb did not start"
  cat "$log"
  exit 1
fi
display=":$number"
for _ in $(seq 1 100); do
  DISPLAY="$display" xwininfo -root >/dev/null 2>&1 && break
  sleep 0.1
done
if ! DISPLAY="$display" xwininfo -root >/dev/null 2>&1; then
  echo "FAIL: Xvfb did not start on $display"
  cat "$log"
  exit 1
fi

# In a sanitizer build the leak checker runs at exit; the system's D-Bus library keeps one
# buffer to the end on purpose, which is not ours to report.
suppressions="$out/mirasketch-lsan.supp"
echo "leak:libdbus-1.so" >"$suppressions"
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$suppressions"

DISPLAY="$display" QT_QPA_PLATFORM=xcb "$program" >>"$log" 2>&1 &
app_pid=$!

has_window() {  # title
  DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -qF "\"$1\""
}
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
