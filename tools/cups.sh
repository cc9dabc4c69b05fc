#!/usr/bin/env bash
# Starts or stops the print service the printing tests print through: cupsd with one
# printer "PDF" (cups-pdf) as the default, whose jobs land as PDF files in the output
# directory that `cups.sh outdir` prints. `stop` ends cupsd only when `start` started it.
set -euo pipefail
# Where `start` notes the cupsd it started; a test run gives its own, so that it stops only
# its own.
state="${DICT_CUPS_STATE:-${TMPDIR:-/tmp}/dictionary-cupsd.pid}"

running() { [[ $(lpstat -r 2>/dev/null) == *"is running"* ]]; }
pdf_is_default() { [[ $(lpstat -d 2>/dev/null) == *": PDF" ]]; }

# cupsd answers a moment after it starts; poll it rather than guess how long.
wait_until() {
  for _ in $(seq 1 300); do "$@" && return 0; sleep 0.1; done
  return 1
}

# lpadmin warns on every run that printer drivers are deprecated; show only its failures.
admin() {
  local out
  out=$(lpadmin "$@" 2>&1) || { echo "$out" >&2; return 1; }
}

start() {
  command -v cupsd >/dev/null && command -v lpadmin >/dev/null || {
    echo "cups.sh: cupsd or lpadmin missing (Debian packages cups, printer-driver-cups-pdf)" >&2
    exit 1
  }
  if ! running; then
    mkdir -p /run/cups
    # Its own session, so it neither holds the caller's terminal nor its output pipes.
    setsid cupsd -f </dev/null >/dev/null 2>&1 &
    echo $! >"$state"
    wait_until running || { echo "cups.sh: cupsd did not start" >&2; exit 1; }
  fi
  admin -p PDF -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E
  admin -d PDF
  wait_until pdf_is_default || { echo "cups.sh: PDF is not the default" >&2; exit 1; }
  mkdir -p "$(outdir)"
}

stop() {
  [ -f "$state" ] || return 0
  local pid
  pid=$(cat "$state")
  rm -f "$state"
  kill "$pid" 2>/dev/null || return 0
  wait_until sh -c "! kill -0 $pid 2>/dev/null" || kill -9 "$pid" 2>/dev/null || true
}

# Where cups-pdf puts the jobs of the user running this: its Out setting, ${HOME} being
# that user's home directory.
outdir() {
  local out home
  out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n1)
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  out=${out:-/var/spool/cups-pdf/\$\{USER\}}
  out=${out//\$\{HOME\}/$home}
  echo "${out//\$\{USER\}/$(id -un)}"
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  outdir) outdir ;;
  *) echo "usage: $0 start|stop|outdir" >&2; exit 2 ;;
esac
