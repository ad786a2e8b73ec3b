#!/usr/bin/env bash
# usage: setup.sh [run] [test] [package] [bench]
# Installs with apt-get (Debian 12, as root) what each purpose needs, and only what is missing:
#   run      build camdesk, camctl and camsim and run them (the default)
#   test     besides, every test: GoogleTest, the sanitizers and libFuzzer (clang), the tools the
#            tests check the output with (poppler, qpdf, python, mandoc, the desktop's validators)
#   package  besides, the Debian package and its checks (file for CPack, dpkg-dev, lintian)
#   bench    besides, the benchmarks of the README's figures and GNU time
set -euo pipefail
# libxkbcommon-dev: Qt's CMake files look for it and say so when it is missing.
run=(build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev qt6-svg-dev libxkbcommon-dev xvfb xauth
     fonts-liberation)
test=(libgtest-dev libgmock-dev clang libclang-rt-14-dev poppler-utils qpdf python3 mandoc desktop-file-utils
      appstream shared-mime-info ser2net)
package=(file dpkg-dev lintian desktop-file-utils appstream mandoc)
bench=(libbenchmark-dev time)

wanted=("${run[@]}")
for purpose in "${@:-run}"; do
  case $purpose in
    run) ;;
    test) wanted+=("${test[@]}") ;;
    package) wanted+=("${package[@]}") ;;
    bench) wanted+=("${bench[@]}") ;;
    *) echo "setup: unknown purpose '$purpose' (run, test, package, bench)" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${wanted[@]}"; do
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
