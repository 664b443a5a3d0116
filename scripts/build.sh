#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR): the targets named as
# arguments, or everything.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
targets=()
[ $# -eq 0 ] || targets=(--target "$@")
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
