#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those
# that are missing, so running it again changes nothing.
set -euo pipefail

packages=(
  g++ clang libclang-rt-14-dev cmake ninja-build ccache clang-format
  # The include check of the test command.
  python3
  libgtest-dev libgmock-dev libbenchmark-dev
  # The desktop program: Qt 6 Widgets and Test with the platform plugins
  # (the offscreen one runs the GUI tests and screenshots without a display).
  # (qt6-base-dev holds Qt PrintSupport's headers too: printing and PDF.)
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6test6 libgl-dev
  # The PDF tests read the pages back (pdfinfo, pdftotext).
  poppler-utils
  # "arial" falls back to a metric-compatible sans; DejaVu covers the rest.
  fonts-liberation2 fonts-dejavu-core
  # The installation: the icon's pictures drawn from its SVG at build time,
  # and the desktop's tools that bring the installed type and launcher into
  # use and that its test validates them with.
  librsvg2-bin desktop-file-utils appstream shared-mime-info libxml2-utils
  # The screen-reader test: the program on a virtual X display, the
  # accessibility bus and a reader's view of it from Python.
  xvfb xauth dbus at-spi2-core python3-gi gir1.2-atspi-2.0
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
