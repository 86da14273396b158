#!/usr/bin/env bash
# korvane-cli's bash completion as bash-completion loads it, and its fish completion where fish
# is installed: words completed for a line typed so far.
# Usage: completion.sh BASH_COMPLETION FISH_COMPLETION BIN_DIR WORK_DIR. Skipped (77) without
# bash-completion.
set -u
export LC_ALL=C
[ -f /usr/share/bash-completion/bash_completion ] || exit 77
source /usr/share/bash-completion/bash_completion
source "$1"
fish=$2
PATH=$3:$PATH
mkdir -p "$4" && cd "$4" && rm -rf -- * && mkdir sub && touch a.plt B.PLT c.png d.pdf e.cfg f.txt

failed=0
expect() {  # LINE EXPECTED: the line ends where Tab is pressed
    COMP_LINE=$1 COMP_POINT=${#1} COMPREPLY=()
    read -ra COMP_WORDS <<< "$1"
    [[ $1 == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _korvane_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    [[ ${got% } == "$2" ]] || { echo "bash '$1': got '$got', expected '$2'"; failed=1; }
    command -v fish > /dev/null || return
    got=$(fish -c "source $fish; complete -C'$1'" | cut -f1 | sed 's:/$::' | sort | tr '\n' ' ')
    [[ ${got% } == "$2" ]] || { echo "fish '$1': got '$got', expected '$2'"; failed=1; }
}
expect 'korvane-cli con' 'convert'
expect 'korvane-cli --v' '--version'
expect 'korvane-cli convert --a' '--antialias'
expect 'korvane-cli print a.plt --' '--fit --help --landscape --paper --printer'
expect 'korvane-cli print a.plt --paper L' 'Ledger Legal Letter'
expect 'korvane-cli convert --face Vel' 'Velmaro'
expect 'korvane-cli dump ' 'B.PLT a.plt sub'
expect 'korvane-cli convert --size 10x10 a.plt ' 'B.PLT a.plt c.png d.pdf sub'
expect 'korvane-cli thumbnail a.plt ' 'c.png sub'
expect 'korvane-cli thumbnail a.plt c.png ' ''
expect 'korvane-cli print a.plt ' 'd.pdf sub'
expect 'korvane-cli convert a.plt x.dxf --config ' 'e.cfg sub'
expect 'korvane-cli measure 1 2 ' ''
expect 'korvane-cli measure 1 2 3 4 --config ' 'e.cfg sub'
exit $failed
