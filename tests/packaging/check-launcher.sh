#!/usr/bin/env bash
# The launcher's starts, as a staged install runs it: where the program starts, with what,
# and what happens to the user's bullet list. scripts/check-package.sh runs it against its
# staged install; any folder laid out as one works:
#
#     tests/packaging/check-launcher.sh <prefix>    (holding bin/vexorel-launcher and
#                                                    share/vexorel/Bullets.vx!)
#
# The prefix's bin/vexorel is replaced by a stand-in that notes its folder and arguments.
set -euo pipefail

prefix=$1
starter=$prefix/share/vexorel/Bullets.vx!
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "check-launcher: $*" >&2; exit 1; }

log=$work/started
printf '#!/bin/sh\n{ pwd; printf "%%s\\n" "$@"; } > "%s"\n' "$log" > "$prefix/bin/vexorel"
chmod 755 "$prefix/bin/vexorel"
home=$work/home
folder=$home/Vexorel
mkdir -p "$home" "$work/caller" "$work/tmp"
# TMPDIR: the private folder of an unusable HOME is made where this check can see it.
# A launcher that fails is found out by the missing note of a start.
launch() { (cd "$work/caller" && rm -f "$log" && HOME=$home TMPDIR=$work/tmp "$prefix/bin/vexorel-launcher" "$@") || :; }
expect_started() {
    local want
    want=$(printf '%s\n' "$@")
    [ -f "$log" ] || fail "the program did not start"
    [ "$(cat "$log")" = "$want" ] || fail "the program started as
$(cat "$log")
instead of
$want"
}
fresh_home() { chmod -R u+w "$home"; rm -rf "$home"; mkdir "$home"; }

echo "== launcher: first and later starts"
launch shots.vxm
cmp "$folder/Bullets.vx!" "$starter" || fail "the first start gave no starter list"
expect_started "$folder" -- "$work/caller/shots.vxm"

printf 'Mine\r\n1,000\r\n' | tee "$work/mine" > "$folder/Bullets.vx!"
launch /data/a.vxm
cmp "$folder/Bullets.vx!" "$work/mine" || fail "a later start replaced the user's list"
expect_started "$folder" -- /data/a.vxm

# The list editor writes the name in lower case; the program reads it in any.
mv "$folder/Bullets.vx!" "$folder/bullets.vx!"
launch
[ "$(ls "$folder")" = "bullets.vx!" ] || fail "a list in lower case was given a second one: $(ls "$folder")"
expect_started "$folder" --

echo "== launcher: ~/Vexorel a link to a folder elsewhere"
fresh_home
mkdir "$work/synced"
printf 'Mine\r\n1,000\r\n' > "$work/synced/bullets.vx!"
ln -s "$work/synced" "$folder"
launch
[ "$(ls "$work/synced")" = "bullets.vx!" ] || fail "the linked folder got a second list: $(ls "$work/synced")"
cmp "$work/synced/bullets.vx!" "$work/mine" || fail "the list in the linked folder was replaced"
expect_started "$folder" --
rm "$work/synced/bullets.vx!"
launch
cmp "$work/synced/Bullets.vx!" "$starter" || fail "the linked folder without a list got no starter list"

echo "== launcher: a list that is a link leading nowhere"
fresh_home
mkdir "$folder" "$work/elsewhere"
ln -s "$work/elsewhere/list" "$folder/BULLETS.VX!"
launch
[ -z "$(ls "$work/elsewhere")" ] || fail "the starter list was written through the link"
[ "$(ls "$folder")" = "BULLETS.VX!" ] || fail "a second list beside the link: $(ls "$folder")"
expect_started "$folder" --

echo "== launcher: ~/Vexorel cannot be made"
fresh_home
touch "$folder"
launch x.vxm
expect_started "$home" --start-note "$folder cannot be made: File exists; started in $home" \
    -- "$work/caller/x.vxm"
[ -f "$folder" ] && [ ! -s "$folder" ] || fail "the file named Vexorel was changed"

# HOME that may not be written: root may write anywhere but where nothing can be made.
fresh_home
if [ "$(id -u)" -eq 0 ]; then
    readonly_home=/proc
    reason="No such file or directory"
else
    readonly_home=$home
    chmod 555 "$home"
    reason="Permission denied"
fi
(cd "$work/caller" && rm -f "$log" && HOME=$readonly_home "$prefix/bin/vexorel-launcher") || :
expect_started "$readonly_home" --start-note \
    "$readonly_home/Vexorel cannot be made: $reason; started in $readonly_home" --
chmod 755 "$home"

echo "== launcher: no usable HOME"
for unusable in unset "$work/missing"; do
    rm -f "$log"
    if [ "$unusable" = unset ]; then
        (cd "$work/caller" && env -u HOME TMPDIR="$work/tmp" "$prefix/bin/vexorel-launcher" a.vxm) || :
        why="HOME is not set"
    else
        (cd "$work/caller" && HOME=$unusable TMPDIR="$work/tmp" "$prefix/bin/vexorel-launcher" a.vxm) || :
        why="$unusable/Vexorel cannot be made: No such file or directory"
        [ ! -e "$unusable" ] || fail "the missing HOME was made"
    fi
    [ -f "$log" ] || fail "the program did not start without a usable HOME ($unusable)"
    private=$(head -n 1 "$log")
    [ "$(dirname "$private")" = "$work/tmp" ] || fail "started in $private, not a folder of its own under TMPDIR"
    [ "$(stat -c %a "$private")" = 700 ] || fail "the private folder $private has mode $(stat -c %a "$private")"
    [ -z "$(ls -A "$private")" ] || fail "something was put in the private folder: $(ls -A "$private")"
    expect_started "$private" --start-note "$why; started in $private" -- "$work/caller/a.vxm"
    rmdir "$private"
done
echo "check-launcher: every start reached the program"
