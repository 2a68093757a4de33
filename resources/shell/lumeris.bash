# bash completion for lumeris

_lumeris() {
    local cur prev words cword
    _init_completion || return

    local images='@(png|PNG|jpg|JPG|jpeg|JPEG|gif|GIF|bmp|BMP|tif|TIF|tiff|TIFF|tga|TGA|pnm|pbm|pgm|ppm|ico|icns|xpm|xbm)'

    if [[ ${words[1]} != render ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--capture --capture-window --capture-copy --from-clipboard --reopen --hidden --help --version' -- "$cur"))
        elif ((cword == 1)); then
            COMPREPLY=($(compgen -W 'render' -- "$cur"))
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
            # The keys come from the program, so they are always the ones it accepts.
            local keys
            keys=$("${words[0]}" render --list-settings 2>/dev/null | awk '{ print $1 "=" }')
            COMPREPLY=($(compgen -W "$keys" -- "$cur"))
            compopt -o nospace
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--output --output-dir --jpeg --scale --wrap --set
            --list-settings --quiet --help' -- "$cur"))
        return
    fi
    _filedir "$images"
}
complete -F _lumeris lumeris
