# bash completion for reelwarden-transfer                    -*- shell-script -*-
# SPDX-License-Identifier: GPL-3.0-or-later
# The program itself is asked: its --help gives the options (each command's from its usage
# lines), its --list-formats the format names and file endings, so a new format or option
# needs nothing here.

# The formats' lines of --list-formats taken by `command` (all for none), and by `format` alone
# when given: "name<TAB>commands<TAB>endings<TAB>description".
_reelwarden_transfer_formats()
{
    "$1" --list-formats 2>/dev/null |
        awk -F '\t' -v command="$2" -v format="$3" \
            '(command == "" || index(" " $2 " ", " " command " ")) && (format == "" || $1 == format)'
}

_reelwarden_transfer()
{
    local cur prev words cword split
    _init_completion -s || return
    local program=${words[0]/#\~/$HOME}

    # The command: the first word that is neither an option nor an option's value.
    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --catalog | --format | --map | --columns) ((i++)) ;;
            -*) ;;
            *)
                command=${words[i]}
                break
                ;;
        esac
    done

    case $prev in
        --catalog)
            _filedir mdb
            return
            ;;
        --format)
            COMPREPLY=($(compgen -W "$(_reelwarden_transfer_formats "$program" "$command" | cut -f1)" -- "$cur"))
            return
            ;;
        --map | --columns)
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        local options
        if [[ -n $command ]]; then
            options=$("$program" --help 2>/dev/null |
                awk -v command="$command" '/^  reelwarden-transfer /{on = ($2 == command)} /^$/{on = 0} on' |
                grep -o -- '--[a-z-]*')
        else
            options=$(_parse_help "$program")
        fi
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    case $command in
        "")
            COMPREPLY=($(compgen -W 'import export backup' -- "$cur"))
            ;;
        import | export)
            # A file of the formats the command takes, or of the one --format names.
            local format="" endings
            for ((i = 1; i < cword; i++)); do
                case ${words[i]} in
                    --format) ((i + 1 < cword)) && format=${words[i + 1]} ;;
                    --format=*) format=${words[i]#--format=} ;;
                esac
            done
            endings=$(_reelwarden_transfer_formats "$program" "$command" "$format" | cut -f3)
            endings=${endings//./}
            endings=$(printf '%s\n' $endings | paste -sd '|')
            if [[ -n $format && -z $endings ]]; then
                _filedir # a format of no known ending: any file
            else
                _filedir "@(${endings:-*})"
            fi
            ;;
        backup)
            _filedir mdb
            ;;
    esac
} &&
    complete -F _reelwarden_transfer reelwarden-transfer

# ex: filetype=sh
