#!/usr/bin/env bash
# An install into a temporary DESTDIR: the program and its renderer, its plug-in, the menu entry,
# the AppStream data, the song file type, the icons and the manual pages land where a desktop
# looks for them and pass their validators; the installed program starts under Xvfb and finds its
# plug-in, the renderer runs without a display; the uninstall removes every file again.
set -euo pipefail
build="${1:?usage: install_files.sh BUILD_DIR}"
source "$KAVENDRA_SOURCE/tests/app/e2e_lib.sh"
e2e_init
root=$E2E_TMP/root
id=org.kavendra.Kavendra

# The install writes its manifest into the build; the user's own manifest is put back at once.
manifest=$build/install_manifest.txt
saved=$E2E_TMP/user-manifest
[ -f "$manifest" ] && cp "$manifest" "$saved"
DESTDIR=$root cmake --install "$build" --prefix /usr >"$E2E_TMP/install.log" ||
    e2e_fail "the install failed: $(tail -n 5 "$E2E_TMP/install.log")"
mv "$manifest" "$E2E_TMP/manifest"
[ -f "$saved" ] && mv "$saved" "$manifest"

# Every file where it belongs, and nothing the manifest does not name.
plugin=$(find "$root/usr/lib" -path '*/kavendra/plugins/libformpost.so')
[ -n "$plugin" ] || e2e_fail "no form poster plug-in under usr/lib/*/kavendra/plugins"
expected=(
    usr/bin/kavendra usr/bin/kavendra-render "${plugin#"$root"/}"
    usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
    usr/share/mime/packages/$id.xml usr/share/icons/hicolor/scalable/apps/$id.svg
    usr/share/man/man1/kavendra.1.gz usr/share/man/man1/kavendra-render.1.gz
    usr/share/doc/kavendra/copyright usr/share/doc/kavendra/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
    png=usr/share/icons/hicolor/${size}x$size/apps/$id.png
    expected+=("$png")
    [[ "$(file -b "$root/$png")" == "PNG image data, $size x $size,"* ]] || e2e_fail "$png is not $size px"
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f | cut -c3- | sort) ||
    e2e_fail "the installed files differ from the expected ones"
diff <(sort "$E2E_TMP/manifest") <(printf '/%s\n' "${expected[@]}" | sort) ||
    e2e_fail "the manifest does not list exactly the installed files"
[ -x "$root/usr/bin/kavendra" ] || e2e_fail "the program is not executable"
gzip -t "$root/usr/share/man/man1/kavendra.1.gz" "$root/usr/share/man/man1/kavendra-render.1.gz" \
    "$root/usr/share/doc/kavendra/changelog.gz"
# The renderer runs from its place without a display.
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/kavendra-render" --version | grep -qx 'kavendra-render 1.0' ||
    e2e_fail "the installed kavendra-render does not run"

# The validators of the desktop, AppStream and shared-mime-info.
# Some of its errors do not yet change its exit status.
verdict=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1) &&
    ! grep -Eq 'error|warning' <<<"$verdict" || e2e_fail "desktop-file-validate: $verdict"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" ||
    e2e_fail "appstreamcli rejects the metainfo"
mime=$root/usr/share/mime/packages/$id.xml
schema=/usr/share/xml/shared-mime-info/shared-mime-info.xsd
if [ -f "$schema" ]; then
    xmllint --noout --schema "$schema" "$mime" || e2e_fail "the MIME file fails its schema"
else
    echo "note: no shared-mime-info schema on this machine; the MIME file is checked for form only"
    xmllint --noout "$mime" || e2e_fail "the MIME file is not well-formed XML"
fi
# A database built from it alone knows the name and the first bytes of every saved song.
db=$E2E_TMP/mime
mkdir -p "$db/packages" && cp "$mime" "$db/packages/"
XDG_DATA_DIRS=$E2E_TMP update-mime-database "$db" 2>"$E2E_TMP/mime.err"
[ ! -s "$E2E_TMP/mime.err" ] || e2e_fail "update-mime-database: $(cat "$E2E_TMP/mime.err")"
grep -q ':application/x-kavendra-song:\*\.kds$' "$db/globs2" || e2e_fail "no *.kds glob"
for end in '\n' '\r\n'; do
    grep -qazP "\[etc$end\[bt_img_size," "$db/magic" || e2e_fail "no magic rule for [etc$end"
done

# The installed program starts and finds its plug-in beside it.
export QT_LOGGING_RULES="kavendra.app.debug=true"
e2e_start_xvfb
E2E_PROGRAM=$root/usr/bin/kavendra
e2e_start_app
e2e_find_window
grep -qF "form poster \"$plugin\"" "$E2E_TMP/app.log" || e2e_fail "the program did not find $plugin"

# Uninstalling removes every file and the program's own folders, nothing else.
kill "$E2E_APP_PID" && wait "$E2E_APP_PID" 2>/dev/null || true
DESTDIR=$root cmake -DMANIFEST="$E2E_TMP/manifest" -P "$KAVENDRA_SOURCE/cmake/Uninstall.cmake" >/dev/null
left=$(cd "$root" && find . \( -type f -o -name kavendra \) -print)
[ -z "$left" ] || e2e_fail "left after the uninstall: $left"
[ -d "$root/usr/share/applications" ] || e2e_fail "the uninstall removed a shared folder"
echo "PASS: install, validators, installed program with its plug-in, uninstall"
