# Completion of tagwerk-cli in bash: the commands, the options of each, the
# genre names after --genre, files and folders elsewhere. Commands, options
# and genres are read from the program itself (its help and `genres`), so
# they are always those of the installed version.

# The long options of a help text, those that take a value with "=" behind.
_tagwerk_cli_options() {
    awk '/^  -/ {
        usage = substr($0, 3, 26); sub(/ +$/, "", usage); split(usage, parts, " ")
        count = split(parts[1], names, ",")
        for (i = 1; i <= count; i++)
            if (names[i] ~ /^--/) print names[i] (parts[2] != "" ? "=" : "")
    }'
}

_tagwerk_cli() {
    local program=${COMP_WORDS[0]/#\~/$HOME} cur=${COMP_WORDS[COMP_CWORD]} prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    # "=" breaks words: "--genre=Ro" comes as "--genre", "=", "Ro".
    local option=$prev
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]]; then
        option=${COMP_WORDS[COMP_CWORD - 2]}
    fi
    local command= word
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        if [[ $word != -* && $word != = ]]; then
            command=$word
            break
        fi
    done
    COMPREPLY=()

    case $option in
    --genre)
        local number name typed=${cur//\\/}
        while IFS=$'\t' read -r number name; do
            [[ ${name,,} == "${typed,,}"* ]] && COMPREPLY+=("$(printf '%q' "$name")")
        done < <("$program" genres 2>/dev/null)
        return
        ;;
    --files-from)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    --title | --artist | --album | --year | --comment | --track | --pattern)
        return
        ;;
    esac

    if [[ -z $command ]]; then
        local words
        if [[ $cur == -* ]]; then
            words=$("$program" --help 2>/dev/null | _tagwerk_cli_options)
        else
            words=$("$program" --help 2>/dev/null |
                awk '/^Befehle:/ { on = 1; next } on && /^  [a-z]/ { print $1 } /^$/ { on = 0 }')
        fi
        mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
    elif [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$("$program" "$command" --help 2>/dev/null |
            _tagwerk_cli_options)" -- "$cur")
        [[ " ${COMPREPLY[*]} " == *"= "* ]] && compopt -o nospace 2>/dev/null
    else
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}
complete -F _tagwerk_cli tagwerk-cli
