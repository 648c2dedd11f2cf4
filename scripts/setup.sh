#!/usr/bin/env bash
# Installs what building, running and testing the monitor need on Debian 12,
# and raises the two kernel limits that stand between a user and a working
# monitor under Wine (README, "The host"). Asks apt only when something is
# missing and changes a limit only when it is short, so a second run takes a
# moment and changes nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++-mingw-w64-x86-64    # the cross build
  googletest                                # its sources, compiled by the cross compiler
  wine wine64 fonts-wine                    # running the Windows program
  xvfb xdotool imagemagick                  # a display, real input, screenshots
  python3 bsdutils util-linux procps        # the end-to-end tests, logger and sysctl
  iproute2                                  # a network of the tests' own (ip link, ip route)
  rsyslog                                   # a relay that forwards to the monitor, in a test
  clang                                     # a second compiler, syntax check only
)

# Under Wine the monitor's socket is a Linux socket: UDP 514 is a privileged
# port unless the unprivileged range starts at it, and the receive buffer the
# monitor asks for (8 MiB, which Linux doubles) is capped by rmem_max.
syslog_port=514
least_rmem_max=$((16 * 1024 * 1024))

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
# A normal user's PATH on Debian has no /usr/sbin, where sysctl lives.
sysctl=$(PATH="$PATH:/usr/sbin:/sbin" command -v sysctl || echo sysctl)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# limit <key>: the kernel setting's value now.
limit() {
  cat "/proc/sys/${1//.//}"
}

# set_limit <key> <value> <why>: sets the kernel setting until the next reboot and says so.
set_limit() {
  local key=$1 value=$2 why=$3 before
  before=$(limit "$key")
  if "${sudo[@]}" "$sysctl" -q -w "$key=$value" >/dev/null 2>&1; then
    echo "Changed $key from $before to $value: $why (until reboot; README, \"The host\", says how to keep or undo it)."
  else
    echo "Could not change $key from $before to $value: $why; see README, \"The host\"." >&2
  fi
}

if [ "$(limit net.ipv4.ip_unprivileged_port_start)" -gt "$syslog_port" ]; then
  set_limit net.ipv4.ip_unprivileged_port_start "$syslog_port" "the monitor may bind UDP $syslog_port without root"
fi
if [ "$(limit net.core.rmem_max)" -lt "$least_rmem_max" ]; then
  set_limit net.core.rmem_max "$least_rmem_max" "the monitor's socket may hold a burst of datagrams"
fi
