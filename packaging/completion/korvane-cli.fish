# fish completion for korvane-cli: the commands and each command's options as its own --help
# lists them, files by the types each takes, paper names and font families.
function __korvane_cli_commands
    korvane-cli --help 2>/dev/null | string replace -rf '^  ([a-z][a-z-]*).*' '$1'
end

function __korvane_cli_options
    korvane-cli (commandline -opc)[2] --help 2>/dev/null | string match -ar -- '--[a-z][a-z-]*' | sort -u
    echo --help
end

set -g __korvane_cli_valued --size --face --line-width --antialias --config --crs --format --paper --printer

# The value an option before the cursor asks for, if any.
function __korvane_cli_value
    set -l words (commandline -opc)
    switch $words[-1]
        case --paper
            printf '%s\n' A0 A1 A2 A3 A4 A5 A6 B4 B5 Letter Legal Executive Tabloid Ledger
        case --antialias
            printf '%s\n' on off
        case --face
            echo Velmaro
            korvane-cli fonts 2>/dev/null
        case --printer
            lpstat -e 2>/dev/null
        case --config
            __korvane_cli_typed cfg
        case --size --line-width --crs --format
        case '*'
            return 1
    end
end

# Files of the types the command's next argument takes; any file for a command not known here.
function __korvane_cli_files
    set -l words (commandline -opc)
    set -l taken 0
    for i in (seq 3 (count $words))
        # an option's value is no file
        if string match -q -- '-*' $words[$i]; or contains -- $words[(math $i - 1)] $__korvane_cli_valued
            continue
        end
        set taken (math $taken + 1)
    end
    set -l types plt
    switch "$words[2]:$taken"
        case 'convert:1'
            set types plt png svg pdf dxf gpkg geojson
        case 'thumbnail:1'
            set types png
        case 'print:1'
            set types pdf
        case 'dump:0' 'info:0' 'trace:0' 'find:0' 'convert:0' 'thumbnail:0' 'print:0'
        case 'dump:*' 'info:*' 'trace:*' 'find:*' 'convert:*' 'thumbnail:*' 'print:*' 'fonts:*' 'measure:*'
            return
        case '*'
            __fish_complete_path (commandline -ct)
            return
    end
    __korvane_cli_typed $types
end

# Folders and the files whose extension is one of the arguments, case aside.
function __korvane_cli_typed
    set -l pattern '(/|\.('(string join '|' $argv)'))$'
    for path in (__fish_complete_path (commandline -ct))
        string match -qir -- $pattern (string split -f1 \t -- $path); and echo $path
    end
end

function __korvane_cli_next
    __fish_use_subcommand; and return 1
    set -l value (__korvane_cli_value); and printf '%s\n' $value; and return
    if string match -q -- '-*' (commandline -ct)
        __korvane_cli_options
    else
        __korvane_cli_files
    end
end

complete -c korvane-cli -f
complete -c korvane-cli -n __fish_use_subcommand -a '(__korvane_cli_commands) --help --version'
complete -c korvane-cli -a '(__korvane_cli_next)'
