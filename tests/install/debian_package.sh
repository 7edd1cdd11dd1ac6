#!/usr/bin/env bash
# The Debian package of the build: its control data (name, section, maintainer, description,
# dependencies found from the binaries), its files (all under /usr, owned by root), and lintian
# finds neither an error nor a warning.
set -euo pipefail
build="${1:?usage: debian_package.sh BUILD_DIR}"
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kavendra-deb.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
    fail "cpack: $(tail -n 5 "$tmp/cpack.log")"
debs=("$tmp"/kavendra_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single kavendra_*.deb"
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = kavendra ] || fail "package name $(field Package)"
[ "$(field Section)" = sound ] || fail "section $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
dpkg-deb --info "$deb" >"$tmp/info"
grep -q '^ Description: guitar strum simulator' "$tmp/info" || fail "no description"
# Found in the binaries, not written by hand.
depends=$(field Depends)
for lib in libc6 libqt6core6 libqt6widgets6 libqt6network6; do
    [[ "$depends" =~ (^|, )$lib\ \(\>= ]] || fail "Depends lacks $lib: $depends"
done

dpkg-deb --contents "$deb" >"$tmp/contents"
id=org.kavendra.Kavendra
for path in usr/bin/kavendra usr/bin/kavendra-render usr/share/applications/$id.desktop \
    usr/share/metainfo/$id.metainfo.xml usr/share/mime/packages/$id.xml \
    usr/share/icons/hicolor/256x256/apps/$id.png usr/share/icons/hicolor/scalable/apps/$id.svg \
    usr/share/man/man1/kavendra.1.gz usr/share/man/man1/kavendra-render.1.gz \
    usr/share/doc/kavendra/copyright usr/share/doc/kavendra/changelog.gz; do
    grep -q " \./$path$" "$tmp/contents" || fail "the package lacks /$path"
done
grep -Eq ' \./usr/lib/(.*/)?kavendra/plugins/libformpost\.so$' "$tmp/contents" ||
    fail "the package lacks the form poster plug-in"
awk '{ print $6 }' "$tmp/contents" | grep -v '^\./usr/' && fail "files outside /usr"
awk '{ print $2 }' "$tmp/contents" | grep -vx 'root/root' && fail "files not owned by root"

lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$tmp/lintian.log" 2>&1 ||
    fail "lintian found errors or warnings: $(cat "$tmp/lintian.log")"
echo "PASS: $(basename "$deb"): control data, files, lintian"
