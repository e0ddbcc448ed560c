#!/usr/bin/env bash
# Installs what is missing, builds the release flavour and runs the
# headless tool on an example document.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release
./build-release/cli/qvl show examples/prices.qvl
