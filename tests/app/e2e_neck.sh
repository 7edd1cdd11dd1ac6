#!/bin/bash
# The real program under Xvfb: the splash lies over the window for two seconds, a neck press writes the single-note render, a chord with an up
# stroke played writes the strum render of the same sound, the window drags by its background
# only, and Power ends the program.
source "$(dirname "$0")/e2e_lib.sh"

e2e_init
e2e_private_copy
e2e_start_xvfb
e2e_start_app
e2e_find_window
start=$(date +%s%N)
e2e_wait_splash
shown_ms=$((($(date +%s%N) - start) / 1000000))
[ -n "$E2E_SPLASH_SEEN" ] || e2e_fail "no splash screen over the main window"
[ "$shown_ms" -ge 1000 ] || e2e_fail "the splash closed after $shown_ms ms"
xdotool search --all --onlyvisible --pid "$E2E_APP_PID" --name '^Kavendra$' >/dev/null ||
    e2e_fail "the main window went with the splash"
[ "$E2E_WW" = 924 ] && [ "$E2E_WH" = 636 ] || e2e_fail "window is ${E2E_WW}x$E2E_WH"

render="$KAVENDRA_BIN/e2e_render"
muted_rest=$(printf -- ',-1%.0s' $(seq 18))

# 1. String 1 (the second string) at fret 3 plays that note into "tmp_sound.wav".
note_file=$E2E_WORKDIR/tmp_sound.wav
rm -f "$note_file"
e2e_press_neck 1 4
e2e_wait_file "$note_file" || e2e_fail "no tmp_sound.wav after a neck press"
"$render" "$E2E_TMP/note.wav" 0 100 "-1,3,-1,-1,-1,-1$muted_rest" 0,0,0,0 1,1,1,1 0,0,0 ||
    e2e_fail "reference note render failed"
cmp -s "$note_file" "$E2E_TMP/note.wav" || e2e_fail "tmp_sound.wav differs from the note render"

# 2. A chord on the neck, stroke 0 turned up, speed 30 and hold 60 typed, then Play.
strum_file=$(e2e_env "$render" strum-path)
[ -n "$strum_file" ] || e2e_fail "no strum file path"
case $strum_file in "$E2E_HOME"/*) ;; *) e2e_fail "strum file $strum_file outside HOME" ;; esac
rm -f "$strum_file"
e2e_press_neck 0 1
e2e_press_neck 1 2
e2e_press_neck 2 1
e2e_press_neck 3 3
e2e_press_neck 4 4
e2e_press_neck 5 0
e2e_click $((752 + 13)) $((418 + 14)) # arrow of stroke 0
e2e_click $((715 + 17)) $((418 + 15)) # speed field of stroke 0
e2e_type 30
e2e_click $((611 + 17)) $((332 + 15)) # hold field
e2e_type 60
e2e_click $((230 + 19)) $((350 + 19)) # Play
e2e_wait_file "$strum_file" || e2e_fail "no strum file after Play"
"$render" "$E2E_TMP/strum.wav" 0 60 "0,1,0,2,3,-1$muted_rest" 30,0,0,0 -1,1,1,1 0,0,0 ||
    e2e_fail "reference strum render failed"
cmp -s "$strum_file" "$E2E_TMP/strum.wav" || e2e_fail "the strum file differs from the render"

if [ -n "${E2E_SHOT:-}" ]; then
    e2e_shot "$E2E_SHOT"
fi

# 3. Dragging the background moves the window; dragging from a button does not.
x0=$E2E_WX y0=$E2E_WY
e2e_drag 400 40 450 80
e2e_window_geometry
[ "$E2E_WX" = $((x0 + 50)) ] && [ "$E2E_WY" = $((y0 + 40)) ] ||
    e2e_fail "background drag moved the window from $x0,$y0 to $E2E_WX,$E2E_WY"
# The stroke marker is a plain picture over lamp 0: a press there reaches the window.
x0=$E2E_WX y0=$E2E_WY
e2e_drag $((387 + 7)) $((426 + 7)) $((387 + 7 - 30)) $((426 + 7 - 20))
e2e_window_geometry
[ "$E2E_WX" = $((x0 - 30)) ] && [ "$E2E_WY" = $((y0 - 20)) ] ||
    e2e_fail "a drag from the stroke marker did not move the window"
x0=$E2E_WX y0=$E2E_WY
e2e_drag $((120 + 50)) $((307 + 15)) $((120 + 110)) $((307 + 60)) # timbre button
e2e_window_geometry
[ "$E2E_WX" = "$x0" ] && [ "$E2E_WY" = "$y0" ] || e2e_fail "a drag from a button moved the window"

# 4. Power ends the program.
e2e_click $((863 + 23)) $((16 + 23))
for _ in $(seq 50); do
    kill -0 "$E2E_APP_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$E2E_APP_PID" 2>/dev/null && e2e_fail "Power did not end the program"
code=0
wait "$E2E_APP_PID" || code=$?
[ "$code" = 0 ] || e2e_fail "the program ended with code $code after Power"
echo "PASS"
