#!/usr/bin/env bash
# Configures and builds one configuration: build.sh release|sanitize
set -euo pipefail
cd "$(dirname "$0")/.."

config=${1:-release}
case "$config" in
  release) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) flags=(-DCMAKE_BUILD_TYPE=Debug -DCATALOG_SANITIZE=ON -DCATALOG_BENCHMARKS=OFF) ;;
  *) echo "unknown configuration: $config" >&2; exit 2 ;;
esac

cmake -S . -B "build/$config" -G Ninja "${flags[@]}" >/dev/null
cmake --build "build/$config" --parallel "$(nproc)"
