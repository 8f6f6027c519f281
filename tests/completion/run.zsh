#!/usr/bin/env zsh
# Drives the zsh completion of fwpolicy with zsh's completion builtins
# replaced by recorders, and checks what it offers for the word being
# completed. Usage: run.zsh COMPLETION_FILE FWPOLICY SOURCE_DIR
completion=$1 tool=$2 source_dir=$3
integer failures=0
typeset -a offered

# compadd and _files as zsh's completion system would see them: what is
# added, filtered by the prefix typed, as zsh's matcher does.
compadd() {
    while [[ $1 != -- ]]; do shift; done
    shift
    local word
    for word in "$@"; do
        [[ $word == ${words[CURRENT]}* ]] && offered+=("$word")
    done
}
_files() { offered+=(FILES); }

# expect "OFFERED" WORDS...: completing the last of WORDS offers OFFERED.
expect() {
    local wanted=$1
    shift
    words=("$tool" "$@")
    CURRENT=$#words
    offered=()
    source "$completion"
    if [[ "${offered[*]}" != "$wanted" ]]; then
        print -u2 -r -- "completing [$*]: offered [${offered[*]}], wanted [$wanted]"
        failures+=1
    fi
}

policy="$source_dir/examples/policy.xml"
expect "rule" ru
expect "--drop-comments --dry-run" apply --dr
expect "show" -v sh
expect "add remove enable disable move set show" rule ''
expect "local vpn transit tunnel nat" rule add --section ''
expect "ip interface vpn service schedule" object add --type ''
expect "FILES" check "$source_dir/examples/pol"
expect "FILES" show "$policy" ''
expect "Office LAN Office hours" object show "$policy" --name Off
expect "Web" rule add "$policy" --section transit --service-object W
expect "Büro München" where-used "$policy" --object B
# A rule's own --name is no object name: only files are offered.
expect "FILES" rule add "$policy" --name Off

(( failures == 0 )) || exit 1
print "zsh completion offers verbs, options, option values, object names and files"
