#!/usr/bin/env bash
# Installs what building, running and testing the monitor need on Debian 12.
# Asks apt only when something is missing, so a second run takes a moment.
set -euo pipefail

packages=(
  cmake ninja-build g++-mingw-w64-x86-64    # the cross build
  googletest                                # its sources, compiled by the cross compiler
  wine wine64 fonts-wine                    # running the Windows program
  xvfb xdotool imagemagick                  # a display, real input, screenshots
  python3 bsdutils util-linux procps        # the end-to-end tests and logger
  iproute2                                  # a network of the tests' own (ip link, ip route)
  clang                                     # a second compiler, syntax check only
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
