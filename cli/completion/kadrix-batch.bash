# bash completion for kadrix-batch                         -*- shell-script -*-
# Completes every option, the fixed values of those that take a choice,
# folders after --out, and picture files and folders as sources.

_kadrix_batch_sources() {
    local cur=$1 path
    compopt -o filenames 2>/dev/null
    while IFS= read -r path; do
        if [[ -d $path ]]; then
            COMPREPLY+=("$path")
        else
            case ${path,,} in
                *.bmp | *.ico | *.jpg | *.jpeg | *.png | *.tif | *.tiff | *.webp | *.heic | *.heif | *.hif | *.avif)
                    COMPREPLY+=("$path") ;;
            esac
        fi
    done < <(compgen -f -- "$cur")
}

_kadrix_batch() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()

    # "--option=value": bash splits at "=" (COMP_WORDBREAKS), giving the
    # option, "=" and the value typed so far as three words.
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi

    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == -- ]]; then
            _kadrix_batch_sources "$cur"
            return
        fi
    done

    local choices=
    case $prev in
        -f | --format) choices="bmp jpeg png tiff webp" ;;
        --decode) choices="whole window seek" ;;
        --progress) choices="auto always never" ;;
        --gravity) choices="centre north north-east east south-east south south-west west north-west subject attention" ;;
        --fill) choices="colour edge mirror blur" ;;
        --ratio) choices="crop pad" ;;
        --tiff-compression) choices="lzw none" ;;
        --png-level) choices="0 1 2 3 4 5 6 7 8 9" ;;
        --shard) choices="auto" ;;
        -o | --out)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return ;;
        --files-from | --output | --placements)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            [[ -z $cur ]] && COMPREPLY+=(-)
            return ;;
        # Options whose value is free: nothing to offer.
        -s | --size | --wipe | --quality | --prefix | --suffix | --number | -j | --jobs | \
            --shard-count | --webp-quality | --memory)
            return ;;
    esac
    if [[ -n $choices ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$choices" -- "$cur")
        return
    fi

    if [[ $cur == -* ]]; then
        local options="-h --help -V --version -q --quiet -v --verbose --progress
            -s --size --ratio --wipe -o --out --output --force --memory -f --format --list-formats --strip
            --quality --progressive --grey --subsampling --no-auto-orient
            --tiff-compression --png-level --webp-quality
            --gravity --fill --keep-dates
            --prefix --no-name --suffix --number -j --jobs --dry-run --overwrite --decode
            --files-from --null --shard --shard-count --json --placements --recursive --"
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi
    _kadrix_batch_sources "$cur"
    [[ -z $cur ]] && COMPREPLY+=(-)
}

complete -F _kadrix_batch kadrix-batch
