# shellcheck shell=bash
# xvfb.sh: sourced by run.sh and wine-session.sh. A private X server on a free display.

# Starts Xvfb on the first free display number and exports DISPLAY; any
# arguments go on to Xvfb. Sets XVFB_PID; stop it with stop_xvfb.
start_xvfb() {
  local number_file
  number_file=$(mktemp)
  # -displayfd: Xvfb picks a free display and writes its number once it accepts clients.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$number_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  local tries=0
  while [ ! -s "$number_file" ]; do
    if ! kill -0 "$XVFB_PID" 2>/dev/null || [ $tries -ge 100 ]; then
      rm -f "$number_file"
      echo "Xvfb did not start" >&2
      return 1
    fi
    sleep 0.1
    tries=$((tries + 1))
  done
  DISPLAY=":$(head -n 1 "$number_file")"
  export DISPLAY
  rm -f "$number_file"
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}
