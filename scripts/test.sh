#!/usr/bin/env bash
# Installs what is needed, builds and runs every test: the unit, GUI and end-to-end tests;
# the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer; each fuzzer for a
# short bounded time. The builds go on from what is already built (scripts/run.sh builds into
# build/ the same way).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test

# Tests never touch the user's own files or display.
sandbox=$(mktemp -d)
trap 'rm -rf "$sandbox"' EXIT
export HOME="$sandbox/home" XDG_RUNTIME_DIR="$sandbox/run" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"

echo "== build and test"
BUILD_DIR=build bash scripts/build.sh -DCAMDESK_WERROR=ON
ctest --test-dir build --output-on-failure --no-tests=error -j2 --timeout 300

echo "== unit tests with AddressSanitizer and UndefinedBehaviorSanitizer"
BUILD_DIR=build-asan BUILD_TYPE=Debug bash scripts/build.sh -DCAMDESK_GUI=OFF -DCAMDESK_BENCH=OFF -DCAMDESK_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure --no-tests=error -j2

echo "== fuzzers (bounded runs)"
BUILD_DIR=build-fuzz BUILD_TYPE=Debug bash scripts/build.sh -DCMAKE_CXX_COMPILER=clang++ -DCAMDESK_GUI=OFF \
  -DCAMDESK_TESTS=OFF -DCAMDESK_BENCH=OFF -DCAMDESK_FUZZ=ON
for f in build-fuzz/tests/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus="$sandbox/corpus-$name"; mkdir -p "$corpus"
  seeds="tests/fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "-- $name"
  "$f" -max_total_time=20 -rss_limit_mb=2048 -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
done
echo "all tests passed"
