#!/usr/bin/env bash
# Fails when a source file includes a folder that its floor may not use: every folder of
# src/ includes only itself and folders on lower floors, and floors 1 to 4 include no Qt.
# A new folder must be given its floor here before anything builds.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder floor; the longest matching folder wins, so serial/ui is not serial (serial/os is).
floors="
runtime 1
serial 2
table 3
stats 3
chart 4
imports 4
session 4
exports 4
ui 5
serial/ui 6
chart/ui 6
help 6
bullets 6
imports/ui 6
session/ui 6
charts 7
exports/ui 7
loaddev 8
app 9
"
toolkit_free_below=5

folder_of() { # path relative to src/ -> its folder in the table, or nothing
    local path=$1 best=""
    while read -r folder _; do
        [ -n "$folder" ] || continue
        case "$path" in
        "$folder"/*) [ ${#folder} -gt ${#best} ] && best=$folder ;;
        esac
    done <<<"$floors"
    echo "$best"
}
floor_of() { awk -v f="$1" '$1 == f { print $2 }' <<<"$floors"; }

status=0
while IFS= read -r file; do
    rel=${file#src/}
    own=$(folder_of "$rel")
    if [ -z "$own" ]; then
        echo "$file: its folder has no floor in scripts/check-layers.sh"
        status=1
        continue
    fi
    own_floor=$(floor_of "$own")
    while IFS=: read -r line text; do
        if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
            target=$(folder_of "${BASH_REMATCH[1]}")
            [ -n "$target" ] || continue # a file beside this one
            target_floor=$(floor_of "$target")
            if [ "$target" != "$own" ] && [ "$target_floor" -ge "$own_floor" ]; then
                echo "$file:$line: $own (floor $own_floor) may not include $target (floor $target_floor)"
                status=1
            fi
        elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Q[A-Za-z]*|qt)[^\>]*\> ]]; then
            if [ "$own_floor" -lt "$toolkit_free_below" ]; then
                echo "$file:$line: $own (floor $own_floor) is toolkit-free but includes Qt"
                status=1
            fi
        fi
    done < <(grep -n '#[[:space:]]*include' "$file" || true)
done < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ $status -eq 0 ]; then
    echo "layers: every include goes to the same folder or a lower floor"
fi
exit $status
