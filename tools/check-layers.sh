#!/bin/bash
# Checks the libraries' layers (README, "Layout"): a folder includes only itself and the folders
# it may use. Prints every include that runs against them; fails if there is one.
cd "${KAVENDRA_SOURCE:-$(dirname "$0")/..}" || exit 2

declare -A uses=(
    [resources]=""
    [sound]="resources"
    [script]="sound"
    [model]="sound script"
    [history]="sound script model"
    [widgets]="resources"
    [buttons]="sound script model history widgets"
    [chordbook]="widgets"
    [upload]="sound script model history widgets"
    [app]="sound script model history widgets buttons chordbook upload"
    [render]="sound script model"
)

wrong=0
for folder in "${!uses[@]}"; do
    while IFS=: read -r file line target; do
        [ "$target" = "$folder" ] && continue
        case " ${uses[$folder]} " in *" $target "*) continue ;; esac
        echo "$file:$line: $folder includes $target"
        wrong=$((wrong + 1))
    done < <(grep -rnoE '#include "[a-z]+/' "$folder" --include='*.cpp' --include='*.h' |
        sed -E 's|#include "([a-z]+)/$|\1|')
done
[ "$wrong" = 0 ] && echo "every include follows the layers"
[ "$wrong" = 0 ]
