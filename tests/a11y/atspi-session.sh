#!/usr/bin/env bash
# One session of the AT-SPI check (run by check-atspi.sh in a process group
# of its own, which it ends): a virtual display, a session bus, the
# accessibility bus, the program on the example, and the reader's walk.
#
#   atspi-session.sh PROGRAM DOCUMENT WORK_DIR READER_SCRIPT
set -u
program=$1 document=$2 work=$3 reader=$4

# Nothing of the user's: settings, recovery copies and runtime files stay here.
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data \
       XDG_CACHE_HOME=$work/home/cache XDG_STATE_HOME=$work/home/state \
       XDG_RUNTIME_DIR=$work/runtime

# Waits until a file has a line (a daemon's address), at most 10 s.
await_line() {
  for _ in $(seq 1 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  echo "FAIL: $2 did not start" >&2
  return 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
await_line "$work/display" Xvfb || exit 1
export DISPLAY=":$(head -n1 "$work/display")"

dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >"$work/dbus.log" 2>&1 &
await_line "$work/bus" "the session bus" || exit 1
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
  "$program" "$document" >"$work/program.log" 2>&1 &

/usr/bin/python3 "$reader" >"$work/reader.log" 2>&1
status=$?
cat "$work/reader.log"
exit $status
