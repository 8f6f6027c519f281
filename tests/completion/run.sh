#!/usr/bin/env bash
# Drives the bash completion of fwpolicy as bash does, word by word, and
# checks what it offers. Usage: run.sh COMPLETION_SCRIPT FWPOLICY SOURCE_DIR
set -uo pipefail
# shellcheck source=/dev/null
source "$1"
tool=$2 source_dir=$3
# The words offered are those of a UTF-8 terminal: in the C locale (as in a
# bare root or under env -i) printf %q quotes every non-ASCII byte ($'\303').
export LC_ALL=C.UTF-8
failures=0

# expect "OFFERED" WORDS...: completing the last of WORDS offers OFFERED.
expect() {
    local wanted=$1
    shift
    COMP_WORDS=("$tool" "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _fwpolicy
    local offered="${COMPREPLY[*]}"
    if [ "$offered" != "$wanted" ]; then
        echo "completing [$*]: offered [$offered], wanted [$wanted]" >&2
        failures=$((failures + 1))
    fi
}

expect "rule" ru
expect "apply" ap
expect "--drop-comments --dry-run" apply --dr
expect "show" -v sh
expect "add remove enable disable move set show" rule ''
expect "--section" rule add --sec
expect "local vpn transit tunnel nat" rule add --section ''
expect "vpn" rule add --section v
expect "--dry-run" rule remove --dry
expect "remove add set rename show" object ''
expect "--to --type" object rename --t
expect "ip interface vpn service schedule" object add --type ''
expect "get set unset list" option ''
expect "$source_dir/examples/policy.xml" check "$source_dir/examples/pol"
# After the file, a verb's words are arguments, never verbs again.
expect "$source_dir/examples/policy.xml" show "$source_dir/examples/policy.xml" "$source_dir/examples/pol"
# Object names come from the file on the command line, each as one word.
policy="$source_dir/examples/policy.xml"
expect "Office\\ LAN Office\\ hours" object show "$policy" --name Off
expect "Web" rule add "$policy" --section transit --service-object W
expect "Nightly\\ backup\\ window" rule set "$policy" --schedule-object N
expect "Büro\\ München" where-used "$policy" --object B
# A rule's own --name is no object name; without a file nothing is offered.
expect "" rule add "$policy" --name Off
expect "" object show --name Off

[ "$failures" -eq 0 ] || exit 1
echo "bash completion offers verbs, options, option values, object names and files"
