#!/usr/bin/env bash
# Sets up a fresh machine, builds one catalogue program with the demo catalogue, and starts it
# in the demo folder, which is its working folder: run.sh [german|polish]
set -euo pipefail
cd "$(dirname "$0")/.."

language=${1:-german}
case "$language" in
  german|polish) ;;
  *) echo "usage: run.sh [german|polish]" >&2; exit 2 ;;
esac

bash scripts/setup.sh
bash scripts/build.sh release "catalog_$language" demo
cd build/release/demo
exec ../app/catalog_$language
