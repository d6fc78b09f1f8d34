# Sourced by the tests that run the real program: starts a virtual X display.
#
#   require_tools TOOL...   exits 77 (skipped) when one is not installed
#   start_xvfb LOG_FOLDER   sets $display (":N") and $xvfb_pid, or prints why and returns 1
# At exit the program started as $app_pid is killed and the server ended.

xvfb_pid=""
display=""
app_pid=""

require_tools() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed"
      exit 77
    fi
  done
}

start_xvfb() {
  local out="$1"
  local log="$out/xvfb-$$.log"
  # Xvfb picks a display number nobody uses and writes it when it is ready, so a server started
  # by someone else at the same moment cannot take ours.
  local display_file="$out/xvfb-$$.display"
  : >"$display_file"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$log" 2>&1 &
  xvfb_pid=$!
  local number=""
  for _ in $(seq 1 300); do
    number=$(head -n 1 "$display_file" 2>/dev/null)
    [ -n "$number" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$number" ]; then
    echo "FAIL: Xvfb did not start"
    cat "$log"
    return 1
  fi
  display=":$number"
  for _ in $(seq 1 100); do
    DISPLAY="$display" xwininfo -root >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "FAIL: Xvfb did not start on $display"
  cat "$log"
  return 1
}

end_session() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap end_session EXIT

# In a sanitizer build the leak checker runs at exit; the system's D-Bus library keeps one
# buffer to the end on purpose, which is not ours to report.
use_leak_suppressions() {  # FOLDER
  local suppressions="$1/mirasketch-lsan.supp"
  echo "leak:libdbus-1.so" >"$suppressions"
  export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$suppressions"
}

# Whether a window with exactly this title exists.
has_window() {  # TITLE
  DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -qF "\"$1\""
}
