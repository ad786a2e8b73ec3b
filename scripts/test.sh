#!/usr/bin/env bash
# Installs what is needed, builds and runs every test: the GUI, end-to-end and command-line
# tests; the unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, in the same build
# as the fuzzers; each fuzzer for a short bounded time. The builds go on from what is already
# built (scripts/run.sh builds into build/ the same way).
set -euo pipefail
cd "$(dirname "$0")/.."
# Each phase says how long it took, so that a slow one is seen where it is.
start=$SECONDS
took() { echo "-- $1: $((SECONDS - start)) s"; start=$SECONDS; }
bash scripts/setup.sh test
took packages

# Tests never touch the user's own files or display.
sandbox=$(mktemp -d)
trap 'rm -rf "$sandbox"' EXIT
export HOME="$sandbox/home" XDG_RUNTIME_DIR="$sandbox/run" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"

echo "== build and test"
# The unit tests run once, in the sanitized build below, which catches all this build would.
BUILD_DIR=build bash scripts/build.sh -DCAMDESK_WERROR=ON -DCAMDESK_UNIT_TESTS=OFF
took build
ctest --test-dir build --output-on-failure --no-tests=error -j2 --timeout 300
took tests

echo "== unit tests and fuzzers, with AddressSanitizer and UndefinedBehaviorSanitizer"
# One clang build serves both: camcore is built once with the sanitizers and the fuzzers'
# coverage, and the unit tests run over that same library.
BUILD_DIR=build-sanitize BUILD_TYPE=Debug bash scripts/build.sh -DCMAKE_CXX_COMPILER=clang++ -DCAMDESK_GUI=OFF \
  -DCAMDESK_BENCH=OFF -DCAMDESK_SANITIZE=ON -DCAMDESK_FUZZ=ON
took "sanitized build"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure --no-tests=error -j2
took "sanitized unit tests"

# Each fuzzer from its seeds, long enough to find a shallow fault, two at a time.
fuzz() {
  local name corpus seeds
  name=$(basename "$1")
  corpus="$sandbox/corpus-$name"; mkdir -p "$corpus"
  seeds="tests/fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  if "$1" -max_total_time="${FUZZ_SECONDS:-15}" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" >"$corpus.log" 2>&1
  then echo "-- $name: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$corpus.log")"
  else echo "-- $name FAILED"; tail -n 40 "$corpus.log"; return 1
  fi
}
export -f fuzz; export sandbox
ls build-sanitize/tests/fuzz/fuzz_* | xargs -P 2 -I{} bash -c 'fuzz {}'
took fuzzers
echo "all tests passed"
