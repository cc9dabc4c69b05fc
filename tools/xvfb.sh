# Sourced by the scripts that need an X server of their own:
#   start_xvfb [SCREEN]   (default 1280x1024x24)
# starts a private Xvfb, which names its own free display, exports DISPLAY for it and sets
# XVFB_PID; the caller ends it. Fails when no server came up within ten seconds.
# Its clients get the resource database a desktop session loads: a display without one has
# Xlib read ~/.Xdefaults and ~/.Xdefaults-HOST again on every lookup, and Wine looks one up
# each time a device context is handed out, dozens of times a keystroke.
start_xvfb() {
  local screen=${1:-1280x1024x24} number
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do [ -s "$number" ] && break; sleep 0.1; done
  if [ ! -s "$number" ]; then
    rm -f "$number"
    return 1
  fi
  export DISPLAY=":$(cat "$number")"
  export XENVIRONMENT="${XENVIRONMENT:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/session.Xresources}"
  rm -f "$number"
}
