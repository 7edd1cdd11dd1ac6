#!/usr/bin/env bash
# Refreshes the desktop's caches under a prefix after an install or uninstall there, so the song
# file type, the menu entry and the icon show at once. A Debian package needs none of this: the
# system's triggers do it.
#   tools/desktop-caches.sh PREFIX
set -euo pipefail
share="${1:?usage: desktop-caches.sh PREFIX}/share"
if command -v update-mime-database >/dev/null && [ -d "$share/mime/packages" ]; then
    update-mime-database "$share/mime"
fi
if command -v update-desktop-database >/dev/null && [ -d "$share/applications" ]; then
    update-desktop-database -q "$share/applications"
fi
if command -v gtk-update-icon-cache >/dev/null && [ -f "$share/icons/hicolor/index.theme" ]; then
    gtk-update-icon-cache -q -t "$share/icons/hicolor"
fi
exit 0
