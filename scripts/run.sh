#!/usr/bin/env bash
# Installs what is missing, builds the release flavour and starts the
# desktop program on an example document. With no display to show a window
# on, it paints the window into a screenshot instead, prints the example's
# tables with the headless tool and says how to start the window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release

example=examples/prices.qvl
program=build-release/desktop/quorvatelle
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$example"
fi

screenshot=build-release/prices.png
log=$(mktemp)
# Qt's offscreen platform chatters on stderr; it is shown only on failure.
if ! "$program" --screenshot "$screenshot" "$example" 2>"$log"; then
  cat "$log" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"
echo "No display to show the window on (DISPLAY and WAYLAND_DISPLAY are not set)."
echo "The window on $example is painted into $screenshot."
echo "In a desktop session, start it with: $program $example"
echo
./build-release/cli/qvl show "$example"
