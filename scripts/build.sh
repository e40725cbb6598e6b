#!/usr/bin/env bash
# Configures and builds one configuration: build.sh release|sanitize [target...]
# Without targets everything is built: the programs, the demo folder, the tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

config=${1:-release}
shift || true
case "$config" in
  release) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) flags=(-DCMAKE_BUILD_TYPE=Debug -DCATALOG_SANITIZE=ON -DCATALOG_BENCHMARKS=OFF) ;;
  *) echo "unknown configuration: $config" >&2; exit 2 ;;
esac

cmake -S . -B "build/$config" -G Ninja "${flags[@]}" >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "build/$config" --parallel "$(nproc)" "${targets[@]}"
