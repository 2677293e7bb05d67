#!/usr/bin/env bash
# Checks what a machine gets: the files of an install and of the .deb, judged by the
# distribution's own tools (desktop-file-validate, appstreamcli, update-mime-database), the
# measurement file type as Qt looks it up, the program's answers without a display, the
# launcher's starts (tests/packaging/check-launcher.sh), and the package's dependencies.
# Builds the package with scripts/package.sh in build/package-check.
#
# The argument is the MIME type test from a tests build (scripts/test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

mimetests=${1:-build/asan/tests/packaging/vexorel_mimetype_tests}
[ -x "$mimetests" ] || { echo "$mimetests is missing: build the tests first" >&2; exit 1; }
ensure_packages $PACKAGE_CHECK_PACKAGES

build=build/package-check
VEXOREL_PACKAGE_BUILD=$build ./scripts/package.sh -DVEXOREL_WERROR=ON
version=$(sed -n 's/^project(Vexorel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$build/vexorel_${version}_$(dpkg --print-architecture).deb
id=org.vexorel.Vexorel

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

# Every file with its mode, under the prefix.
expected="755 bin/chronolite-sim
755 bin/vexorel
755 bin/vexorel-launcher
644 share/applications/$id.desktop
644 share/doc/vexorel/copyright
644 share/icons/hicolor/128x128/apps/$id.png
644 share/icons/hicolor/256x256/apps/$id.png
644 share/icons/hicolor/48x48/apps/$id.png
644 share/icons/hicolor/scalable/apps/$id.svg
644 share/metainfo/$id.metainfo.xml
644 share/mime/packages/$id.xml
644 share/vexorel/Bullets.vx!"

echo "== install into a staging folder"
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
share=$stage/usr/share
installed=$(cd "$stage/usr" && find . ! -type d -printf '%m %P\n' | LC_ALL=C sort -k2)
[ "$installed" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$installed"))"

echo "== desktop entry, metadata, icons"
out=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
release=$(xmllint --xpath 'string(/component/releases/release[1]/@version)' "$share/metainfo/$id.metainfo.xml")
[ "$release" = "$version" ] || fail "the metadata's latest release is $release, the project's $version"
xmllint --noout "$share/icons/hicolor/scalable/apps/$id.svg"
for size in 48 128 256; do
    file -b "$share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "^PNG image data, $size x $size," ||
        fail "the ${size}x$size icon is $(file -b "$share/icons/hicolor/${size}x$size/apps/$id.png")"
done

echo "== measurement file type"
xmllint --noout "$share/mime/packages/$id.xml"
# Only the staged share folder, so an installed copy of the package cannot answer instead.
mime_env=(env XDG_DATA_DIRS="$share" XDG_DATA_HOME="$work/nothing")
out=$("${mime_env[@]}" update-mime-database "$share/mime" 2>&1) || fail "update-mime-database: $out"
[ -z "$out" ] || fail "update-mime-database: $out"
"${mime_env[@]}" "$mimetests" --gtest_brief=1

echo "== the program without a display"
# Over ssh or in a console: --help and --version answer without a window, and --help lists
# the option the launcher hands its note to.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
out=$("${nodisplay[@]}" "$stage/usr/bin/vexorel" --version) || fail "--version without a display failed"
[ "$out" = "Vexorel! $version" ] || fail "--version said $out"
out=$("${nodisplay[@]}" "$stage/usr/bin/vexorel" --help) || fail "--help without a display failed"
[[ $out == *--start-note* ]] || fail "--help lists no --start-note: $out"

tests/packaging/check-launcher.sh "$stage/usr"

echo "== package"
[ -f "$deb" ] || fail "no $deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vexorel ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Maintainer)" = "Vexorel team <team@vexorel.invalid>" ] || fail "Maintainer: $(field Maintainer)"
depends=$(field Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins libstdc++6 libc6; do
    [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] ||
        fail "Depends names no $library: $depends"
done
packed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | LC_ALL=C sort -k3)
want=$(while read -r mode path; do
    if [ "$mode" = 755 ]; then echo "-rwxr-xr-x root/root ./usr/$path"; else echo "-rw-r--r-- root/root ./usr/$path"; fi
done <<<"$expected" | LC_ALL=C sort -k3)
[ "$packed" = "$want" ] || fail "packed files differ:
$(diff <(echo "$want") <(echo "$packed"))"
# No maintainer scripts: the distribution's triggers refresh the menus, icons and types.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | LC_ALL=C sort | tr '\n' ' ')
[ "$control" = "./control ./md5sums " ] || fail "control archive holds $control"
dpkg-deb -x "$deb" "$work/unpacked"
for program in vexorel chronolite-sim; do
    file -b "$work/unpacked/usr/bin/$program" | grep -q ", stripped" || fail "$program is not stripped"
done
echo "check-package: $deb and its install are as they should be"
