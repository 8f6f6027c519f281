# bash completion for fwpolicy. Verbs, options and option values are read
# from the tool's own --help, so completion follows the installed version;
# object names come from the policy file on the command line.

# _fwpolicy_help TOOL WORDS...: the help text of "TOOL WORDS... --help".
_fwpolicy_help() {
    "$1" "${@:2}" --help 2>/dev/null
}

# The subcommands a help text lists.
_fwpolicy_subcommands() {
    awk '/^Subcommands:/ { listing = 1; next }
         /^[A-Za-z]+:/   { listing = 0 }
         listing && /^  [a-z]/ { print $1 }'
}

# The long options a help text lists.
_fwpolicy_options() {
    grep -o -- '--[a-z][a-z-]*' | sort -u
}

# The values a help text allows for OPTION, from "--option TEXT:{a,b,c}".
_fwpolicy_option_values() {
    local option=$1
    grep -o -- "$option [A-Z]*:{[^}]*}" | sed 's/.*{\(.*\)}/\1/' | tr ',' '\n'
}

# The kinds of named object that OPTION of the verb PATH names, or nothing
# when the option takes no object name.
_fwpolicy_object_kinds() {
    local path=$1 option=$2
    case "$path:$option" in
    object\ *:--name | where-used:--object) echo "ip,interface,vpn,service,schedule" ;;
    rule\ *:--source-object | rule\ *:--destination-object) echo "ip,vpn" ;;
    rule\ *:--service-object) echo "service" ;;
    rule\ *:--schedule-object) echo "schedule" ;;
    esac
}

# The file whose objects a command line names: the value of --objects, or
# else the first argument that is a readable file.
_fwpolicy_policy_file() {
    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == --objects && -r ${COMP_WORDS[i + 1]} ]]; then
            echo "${COMP_WORDS[i + 1]}"
            return
        fi
    done
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} != -* && -f ${COMP_WORDS[i]} && -r ${COMP_WORDS[i]} ]]; then
            echo "${COMP_WORDS[i]}"
            return
        fi
    done
}

_fwpolicy() {
    local tool=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local path=() i help

    # The verb path is the leading words the tool knows as subcommands.
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -* ]] && continue
        if _fwpolicy_help "$tool" "${path[@]}" | _fwpolicy_subcommands |
            grep -qxF -- "${COMP_WORDS[i]}"; then
            path+=("${COMP_WORDS[i]}")
        else
            break
        fi
    done
    help=$(_fwpolicy_help "$tool" "${path[@]}")

    local values kinds file
    kinds=$(_fwpolicy_object_kinds "${path[*]}" "$prev")
    if [[ -n $kinds ]]; then
        file=$(_fwpolicy_policy_file)
        [[ -n $file ]] || return
        local IFS=$'\n'
        mapfile -t COMPREPLY < <(compgen -W "$("$tool" objects "$file" --names --type "$kinds" 2>/dev/null)" -- "$cur")
        # Names hold blanks: each is offered as one quoted word.
        for i in "${!COMPREPLY[@]}"; do
            COMPREPLY[i]=$(printf '%q' "${COMPREPLY[i]}")
        done
        return
    fi
    if [[ $prev == --* ]]; then
        values=$(_fwpolicy_option_values "$prev" <<<"$help")
        if [[ -n $values ]]; then
            mapfile -t COMPREPLY < <(compgen -W "$values" -- "$cur")
            return
        fi
    fi
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_fwpolicy_options <<<"$help")" -- "$cur")
        return
    fi
    local verbs
    verbs=$(_fwpolicy_subcommands <<<"$help")
    if [[ -n $verbs ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$verbs" -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}
complete -o filenames -o bashdefault -F _fwpolicy fwpolicy
