#!/usr/bin/env bash
# Installs what camdesk needs to build and test on Debian 12 (run as root).
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev python3
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth poppler-utils
          fonts-liberation clang libclang-rt-14-dev ser2net)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
# The folder where serial programs leave their lock files, as a booted Debian has it (a bare
# chroot lacks it): the port tests put other programs' lock files there.
[ -d /run/lock ] || install -d -m 1777 /run/lock
