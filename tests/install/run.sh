#!/usr/bin/env bash
# Installs the built library into a scratch prefix, builds a consumer
# against it with find_package(fwcommon) and runs it on the example policy.
set -euo pipefail
build_dir=$1 source_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
cmake -S "$source_dir/tests/install" -B "$scratch/build" -G Ninja \
      -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/build" >/dev/null
"$scratch/build/consumer" "$source_dir/examples/policy.xml"
