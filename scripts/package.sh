#!/usr/bin/env bash
# Builds the Debian package of camdesk into build-package/ (camdesk_VERSION_ARCH.deb):
# a Release build of the three programs installed under /usr.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${BUILD_DIR:-build-package}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCAMDESK_TESTS=OFF -DCAMDESK_BENCH=OFF
cmake --build "$build"
(cd "$build" && cpack -G DEB)
ls "$build"/camdesk_*.deb
