#!/usr/bin/env bash
# Sets up a fresh machine and runs every test: once in the release build, once in the build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
status=0
for config in release sanitize; do
  echo "=== $config build ==="
  bash scripts/build.sh "$config"
  echo "=== $config tests ==="
  ctest --test-dir "build/$config" --output-on-failure --parallel "$(nproc)" || status=1
done
exit $status
