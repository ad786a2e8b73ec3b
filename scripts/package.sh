#!/usr/bin/env bash
# Builds the Debian package of camdesk into build-package/ (camdesk_VERSION_ARCH.deb): the three
# programs installed under /usr, built with Debian's own flags (hardening included), stripped,
# then checked with lintian, which fails the script on an error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh package
build=${BUILD_DIR:-build-package}
# Fortified functions, stack protector, read-only relocations bound at start (bindnow), PIE.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" -DCAMDESK_TESTS=OFF -DCAMDESK_BENCH=OFF
cmake --build "$build"
# Each program as hardened as asked: bound at start (bindnow), position independent, fortified.
for program in "$build"/bin/camdesk "$build"/bin/camctl "$build"/bin/camsim; do
  dynamic=$(readelf -d --dyn-syms -W "$program")
  grep -q 'Flags: NOW PIE' <<<"$dynamic" && grep -q '_chk@' <<<"$dynamic" ||
    { echo "package: $program is not built hardened" >&2; exit 1; }
done
rm -f "$build"/camdesk_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/camdesk_*.deb)
echo "package: checking $deb with lintian"
# lintian asks not to be run as root: as root, it runs as nobody, on a copy nobody can read.
if [ "$(id -u)" -eq 0 ]; then
  copy=$(mktemp -d)
  trap 'rm -rf "$copy"' EXIT
  cp "$deb" "$copy"/
  chmod 755 "$copy" && chmod 644 "$copy"/*.deb
  (cd "$copy" && runuser -u nobody -- lintian --fail-on error --display-info "$(basename "$deb")")
else
  lintian --fail-on error --display-info "$deb"
fi
echo "$deb"
