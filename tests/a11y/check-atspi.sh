#!/usr/bin/env bash
# What a screen reader on a Linux desktop finds in the program: starts it
# on an example on a virtual X display (Xvfb) with a private session bus and
# the accessibility bus (AT-SPI), then walks the program's AT-SPI tree from
# Python as a reader would, and checks the grids' cells by their names and
# values (tests/a11y/atspi_tree.py).
#
#   check-atspi.sh PROGRAM SOURCE_DIR
#
# Exits 77 (the test's skip code) only when a tool is missing: the Debian
# packages come with scripts/setup.sh. Everything it starts runs in one
# process group of its own, which is ended on every way out; the whole run
# is limited to a minute.
set -uo pipefail

program=$1 source=$2
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb:xvfb dbus-daemon:dbus /usr/libexec/at-spi-bus-launcher:at-spi2-core \
            /usr/bin/python3:python3; do
  if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
    echo "SKIP: ${tool%%:*} is missing: install the Debian package ${tool#*:}" \
         "(scripts/setup.sh does)"
    exit 77
  fi
done
if ! /usr/bin/python3 -c "import gi; gi.require_version('Atspi', '2.0')" 2>/dev/null; then
  echo "SKIP: Python's AT-SPI bindings are missing: install python3-gi and gir1.2-atspi-2.0" \
       "(scripts/setup.sh does)"
  exit 77
fi

work=$(mktemp -d)
session=""
cleanup() {
  if [ -n "$session" ]; then
    kill -TERM -- "-$session" 2>/dev/null
    for _ in 1 2 3 4 5 6 7 8 9 10; do
      kill -0 -- "-$session" 2>/dev/null || break
      sleep 0.2
    done
    kill -KILL -- "-$session" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

cp "$source/examples/prices.qvl" "$work/prices.qvl"
setsid bash "$here/atspi-session.sh" "$program" "$work/prices.qvl" "$work" "$here/atspi_tree.py" &
session=$!

limit=$((SECONDS + 60))
while kill -0 "$session" 2>/dev/null && [ $SECONDS -lt $limit ]; do sleep 0.2; done
if kill -0 "$session" 2>/dev/null; then
  echo "FAIL: the AT-SPI check did not finish within 60 s" >&2
  cat "$work"/*.log >&2 2>/dev/null
  exit 1
fi
wait "$session"
status=$?
if [ $status -ne 0 ]; then
  # The reader's own lines are out already.
  for log in "$work"/*.log; do
    [ "$(basename "$log")" = reader.log ] && continue
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
  done
fi
exit $status
