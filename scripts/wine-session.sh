# shellcheck shell=bash
# wine-session.sh: sourced by the scripts that run Wine programs out of the
# user's sight. start_wine_session <prefix> [Xvfb options] gives them a Wine
# prefix of their own on a private Xvfb; the prefix's server and the Xvfb stop
# when the script exits.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

start_wine_session() {
  export WINEPREFIX=$1
  shift
  export WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"
  trap stop_wine_session EXIT
  start_xvfb "$@"
  # Wine's first process starts its background services, which keep its
  # output open: started here with output to /dev/null, they hold no pipe of
  # ours. The server stays up until the end, so they never start again
  # midway. The overrides skip the offer to download Mono and Gecko.
  wineserver -p >/dev/null 2>&1 </dev/null || true  # one may be up already, from an earlier run
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot >/dev/null 2>&1 </dev/null
}

# shellcheck disable=SC2317  # called by the trap
stop_wine_session() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true  # gone, with its registry written, before a next run starts one
  stop_xvfb
}
