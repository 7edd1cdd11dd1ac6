#!/usr/bin/env bash
# Screenshots of the real program under Xvfb, with a small song loaded through the Load dialog.
#   tools/screenshot.sh                   docs/screenshot.png: the main window, for the README
#   tools/screenshot.sh DIR [SCALE]       every window at QT_SCALE_FACTOR=SCALE (1 by default)
#                                         into DIR: main.png, song-info.png, toast.png,
#                                         chord-book.png, icon-chooser.png
# Needs a build (KAVENDRA_BIN, build/bin by default) and the test tools (make deps-test).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export KAVENDRA_BIN=${KAVENDRA_BIN:-$root/build/bin}
out=${1:-}
scale=${2:-1}
source "$root/tests/app/e2e_lib.sh"

# A song of nine chords, each on its own picture, labelled with its name.
write_song()
{
    local chords=(
        "C -1,3,2,0,1,0" "G 3,2,0,0,0,3" "Am -1,0,2,2,1,0" "F 1,3,3,2,1,1" "Dm -1,-1,0,2,3,1"
        "Em 0,2,2,0,0,0" "E7 0,2,0,1,0,0" "A -1,0,2,2,2,0" "D -1,-1,0,2,3,2")
    printf '[etc\n[bt_img_size,30]\n]\n[song\n[title,Autumn Road]\n[artist,The Lanterns]\n'
    printf '[user,mira]\n[instrument,0]\n[lyrics,Walking down the autumn road]\n'
    printf '[tap_order,0,1,2,3,0,1,5,3]\n]\n'
    local i=0 name frets
    for chord in "${chords[@]}"; do
        read -r name frets <<<"$chord"
        printf '[multi\n[n0,%s]\n[n1,%s]\n[n2,-1,-1,-1,-1,-1,-1]\n[n3,-1,-1,-1,-1,-1,-1]\n' \
            "$frets" "$frets"
        printf '[time_offset,180,0,0]\n[strum_speed,30,-25,0,0]\n[gt,%d]\n[text,,,%s]\n' \
            $((i % 3 == 2 ? 1 : 0)) "$name"
        printf '[scale,100]\n[bg,%d]\n[hold,80]\n[vol,90]\n[vol_play,1]\n[pos,0,0]\n[layout,1]\n]\n\n' \
            "$i"
        i=$((i + 1))
    done
}

# Clicks at layout pixel x, y of a window (the main window when none is given).
click() # x y [window]
{
    local X=$E2E_WX Y=$E2E_WY WIDTH HEIGHT WINDOW SCREEN
    [ -n "${3:-}" ] && eval "$(e2e_xdo getwindowgeometry --shell "$3")"
    e2e_xdo mousemove --sync $((X + $1 * scale)) $((Y + $2 * scale)) click 1
    sleep 0.3
}
shot() # window file
{
    /usr/bin/import -window "$1" "$2"
    echo "wrote $2"
}

e2e_init
[ "$scale" = 1 ] || E2E_SCREEN=2400x1600x24
e2e_start_xvfb
e2e_private_copy
export QT_SCALE_FACTOR=$scale
e2e_start_app
e2e_find_window
e2e_wait_splash
main=$E2E_WID
write_song >"$E2E_TMP/autumn-road.kds"

if [ -n "$out" ]; then
    mkdir -p "$out"
    # The song info dialog of a new song, and the toast its Submit shows.
    click 226 38
    info=$(e2e_wait_new_window "$main") || e2e_fail "the song info dialog did not open"
    click 84 512 "$info"
    toast=$(e2e_wait_new_window "$main" "$info") || e2e_fail "no toast"
    eval "$(e2e_xdo getwindowgeometry --shell "$info")"
    /usr/bin/import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$out/toast.png"
    echo "wrote $out/toast.png"
    e2e_wait_window_gone "$toast" 10 || e2e_fail "the toast stayed"
    click 214 512 "$info"
fi

# Load the song, then press its first button: the neck and the form show its sound.
click 61 38
dialog=$(e2e_wait_new_window "$main") || e2e_fail "no load dialog"
e2e_xdo windowfocus --sync "$dialog"
e2e_xdo key ctrl+a
e2e_xdo type --delay 10 "$E2E_TMP/autumn-road.kds"
e2e_xdo key Return
e2e_wait_window_gone "$dialog" 10 || e2e_fail "the load dialog stayed"
sleep 1
click 66 435
e2e_xdo mousemove 0 0

if [ -z "$out" ]; then
    shot "$main" "$root/docs/screenshot.png"
    exit 0
fi
shot "$main" "$out/main.png"
click 226 38
info=$(e2e_wait_new_window "$main") || e2e_fail "the song info dialog did not open"
click 224 172 "$info" # record: the button shows its lit state
shot "$info" "$out/song-info.png"
click 224 172 "$info"
click 214 512 "$info"
click 171 38
book=$(e2e_wait_new_window "$main") || e2e_fail "the chord book did not open"
click 54 185 "$book" # C#
click 245 117 "$book" # m: a barre, with its first fret's number
shot "$book" "$out/chord-book.png"
click 224 468 "$book" # close
# The icon chooser from the preview, the pointer over picture 9.
click 184 368
chooser=$(e2e_wait_new_window "$main") || e2e_fail "the icon chooser did not open"
eval "$(e2e_xdo getwindowgeometry --shell "$chooser")"
e2e_xdo mousemove --sync $((X + (19 + 80 + 15) * scale)) $((Y + (86 + 15) * scale))
sleep 0.3
shot "$chooser" "$out/icon-chooser.png"
e2e_xdo key Escape
