# bash completion for lumeris

# The lines a command prints that start with the word being completed, quoted for the shell
# (preset and size names hold spaces).
_lumeris_lines() {
    local line
    COMPREPLY=()
    while IFS= read -r line; do
        [[ $line == "$cur"* ]] && COMPREPLY+=("$(printf '%q' "$line")")
    done < <("$@" 2>/dev/null)
}

_lumeris_setting_keys() {
    # The keys come from the program, so they are always the ones it accepts.
    local keys
    keys=$("${words[0]}" render --list-settings 2>/dev/null | awk '{ print $1 "=" }')
    COMPREPLY=($(compgen -W "$keys" -- "$cur"))
    compopt -o nospace
}

_lumeris() {
    local cur prev words cword
    _init_completion || return

    local images='@(png|PNG|jpg|JPG|jpeg|JPEG|gif|GIF|bmp|BMP|tif|TIF|tiff|TIFF|tga|TGA|pnm|pbm|pgm|ppm|ico|icns|xpm|xbm)'

    if [[ ${words[1]} == preset ]]; then
        if ((cword == 2)); then
            COMPREPLY=($(compgen -W 'list save delete --help' -- "$cur"))
        elif ((cword == 3)) && [[ ${words[2]} == @(save|delete) ]]; then
            _lumeris_lines "${words[0]}" preset list
        elif [[ ${words[2]} == save && $prev == --set ]]; then
            _lumeris_setting_keys
        elif [[ ${words[2]} == save ]]; then
            COMPREPLY=($(compgen -W '--set' -- "$cur"))
        fi
        return
    fi

    if [[ ${words[1]} != render ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--capture --capture-window --capture-copy --from-clipboard --reopen --hidden --help --version' -- "$cur"))
        elif ((cword == 1)); then
            COMPREPLY=($(compgen -W 'render preset' -- "$cur"))
            _filedir "$images"
        else
            _filedir "$images"
        fi
        return
    fi

    case $prev in
        -o | --output)
            _filedir '@(png|PNG|jpg|JPG|jpeg|JPEG)'
            return
            ;;
        -d | --output-dir)
            _filedir -d
            return
            ;;
        --scale)
            COMPREPLY=($(compgen -W '1 2 3 4' -- "$cur"))
            return
            ;;
        --set)
            _lumeris_setting_keys
            return
            ;;
        --preset)
            _lumeris_lines "${words[0]}" preset list
            return
            ;;
        --size)
            _lumeris_lines sh -c '"$1" render --list-sizes | cut -f1' sh "${words[0]}"
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--output --output-dir --jpeg --scale --wrap --preset --size
            --set --list-settings --list-sizes --quiet --help' -- "$cur"))
        return
    fi
    _filedir "$images"
}
complete -F _lumeris lumeris
