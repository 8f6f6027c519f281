#!/usr/bin/env bash
# Installs the built library and tool into a scratch prefix, builds a
# consumer against it with find_package(fwcommon) and runs it, then runs the
# installed fwpolicy from the prefix and from a moved copy of it. Nothing may
# come from LD_LIBRARY_PATH, the build tree or the source tree's data.
set -euo pipefail
build_dir=$1 source_dir=$2 sanitizers=${3:-}
unset LD_LIBRARY_PATH FWPOLICY_DATA_DIR
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
example=$source_dir/examples/policy.xml

fail() {
    echo "install test: $*" >&2
    exit 1
}

cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
# Installed headers name neither the build nor the source tree, not even in
# the form of an include guard.
for tree in "$(realpath "$build_dir")" "$(realpath "$source_dir")"; do
    guard_form=$(tr 'a-z/.-' 'A-Z___' <<<"$tree")
    if grep -rlF -e "$tree" -e "$guard_form" "$scratch/prefix/include"; then
        fail "installed headers name $tree"
    fi
done

flags=()
if [ -n "$sanitizers" ]; then
    # A library built with sanitizers needs their runtime in the program too.
    flags=(-DCMAKE_CXX_FLAGS="-fsanitize=$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$sanitizers")
fi
cmake -S "$source_dir/tests/install" -B "$scratch/build" -G Ninja \
      -DCMAKE_PREFIX_PATH="$scratch/prefix" "${flags[@]}" >/dev/null
cmake --build "$scratch/build" >/dev/null
consumer_output=$("$scratch/build/consumer" "$example")
echo "consumer: $consumer_output"
version_pattern='[0-9]+\.[0-9]+\.[0-9]+'
[[ $consumer_output =~ ^fwcommon\ ($version_pattern)\ \(headers\ ($version_pattern)\):\ 11\ rules,\ [0-9]+\ bytes$ ]] ||
    fail "consumer printed: $consumer_output"
[ "${BASH_REMATCH[1]}" = "${BASH_REMATCH[2]}" ] || fail "run-time version differs from the headers': $consumer_output"

# The README's example program builds and runs against the same prefix.
cmake -S "$source_dir/examples/count-rules" -B "$scratch/count-rules" -G Ninja \
      -DCMAKE_PREFIX_PATH="$scratch/prefix" "${flags[@]}" >/dev/null
cmake --build "$scratch/count-rules" >/dev/null
counted=$("$scratch/count-rules/count-rules" "$example")
[ "$counted" = "11 rules" ] || fail "count-rules printed: $counted"
echo "count-rules: $counted"

# Where the XSD runtime headers cannot be found, find_package says so and
# names the package, rather than leaving it to the first compile error.
xsd_dir=$(sed -n 's/^FWCOMMON_XSD_INCLUDE_DIR:PATH=//p' "$scratch/build/CMakeCache.txt")
xercesc_dir=$(sed -n 's/^XercesC_INCLUDE_DIR:PATH=//p' "$scratch/build/CMakeCache.txt")
[ -n "$xsd_dir" ] || fail "the consumer's cache names no XSD runtime header directory"
if cmake -S "$source_dir/tests/install" -B "$scratch/no-xsd" -G Ninja \
         -DCMAKE_PREFIX_PATH="$scratch/prefix" -DCMAKE_IGNORE_PATH="$xsd_dir" \
         -DXercesC_INCLUDE_DIR="$xercesc_dir" >"$scratch/no-xsd.log" 2>&1; then
    fail "find_package(fwcommon) succeeded without the XSD runtime headers"
fi
tr -s " \n" " " <"$scratch/no-xsd.log" | grep -q "XSD runtime headers.*install the package xsdcxx" ||
    fail "find_package(fwcommon) without the XSD runtime headers said: $(cat "$scratch/no-xsd.log")"
echo "find_package(fwcommon) names the missing XSD runtime headers"
# The tool finds its library and its dictionaries from wherever the prefix is.
run_installed_tool() {
    local prefix=$1
    "$prefix/bin/fwpolicy" check "$example" || fail "$prefix/bin/fwpolicy check failed"
    local shown
    shown=$("$prefix/bin/fwpolicy" show "$example" 2>"$scratch/stderr") || fail "$prefix/bin/fwpolicy show failed"
    [ ! -s "$scratch/stderr" ] || fail "$prefix/bin/fwpolicy show wrote to stderr: $(cat "$scratch/stderr")"
    grep -qE "(^| )gre( |$)" <<<"$shown" || fail "$prefix/bin/fwpolicy show printed no protocol names"
    echo "$prefix/bin/fwpolicy shows protocol names"
}
run_installed_tool "$scratch/prefix"
mv "$scratch/prefix" "$scratch/moved"
run_installed_tool "$scratch/moved"
