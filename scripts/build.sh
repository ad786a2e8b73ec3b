#!/usr/bin/env bash
# Configures and builds camdesk, camctl, camsim, the tests and the benchmarks into build/
# (BUILD_TARGETS: only these targets).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@"
cmake --build "$build" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
