#!/usr/bin/env bash
# Installs the built library into a scratch prefix, builds a consumer
# against it with find_package(fwcommon) and runs it on the example policy.
set -euo pipefail
build_dir=$1 source_dir=$2 sanitizers=${3:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
flags=()
if [ -n "$sanitizers" ]; then
    # A library built with sanitizers needs their runtime in the program too.
    flags=(-DCMAKE_CXX_FLAGS="-fsanitize=$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$sanitizers")
fi
cmake -S "$source_dir/tests/install" -B "$scratch/build" -G Ninja \
      -DCMAKE_PREFIX_PATH="$scratch/prefix" "${flags[@]}" >/dev/null
cmake --build "$scratch/build" >/dev/null
"$scratch/build/consumer" "$source_dir/examples/policy.xml"
