#!/bin/bash
# Songs on the real program under Xvfb: two buttons and the song information are saved through
# the file dialog (the ".kds" suffix is added), the panel is changed, the song is loaded back
# (after the unsaved-changes question) and a loaded button plays its own sound; saving the
# loaded song again, as another file, gives the same file; a pipe, a device and an oversized
# file are refused at once without touching the song. Power with unsaved changes asks, and
# "Cancel" keeps the program.
source "$(dirname "$0")/../app/e2e_lib.sh"

e2e_init
e2e_private_copy
e2e_start_xvfb
e2e_start_app
e2e_find_window
e2e_wait_splash
MAIN_WID=$E2E_WID

render="$KAVENDRA_BIN/e2e_render"
muted_rest=$(printf -- ',-1%.0s' $(seq 18))

press() { e2e_click $(($1 + $3 / 2)) $(($2 + $3 / 2)); } # x y size

# Waits for a visible window of the program other than the given ones; prints its id.
wait_new_window()
{
    local id known
    for _ in $(seq 60); do
        for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
            known=0
            for k in "$@"; do [ "$id" = "$k" ] && known=1; done
            [ $known = 0 ] && echo "$id" && return 0
        done
        sleep 0.1
    done
    return 1
}
window_gone() { ! xdotool getwindowname "$1" >/dev/null 2>&1 || ! xdotool search --onlyvisible --pid "$E2E_APP_PID" | grep -qx "$1"; }
type_into() # window text
{
    xdotool windowfocus --sync "$1"
    xdotool type --delay 20 "$2"
    sleep 0.1
}
key_into() { xdotool windowfocus --sync "$1"; shift; xdotool key --delay 50 "$@"; sleep 0.2; }
# Clicks at x, y of a window of the program (not the main window).
click_in() # window x y
{
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
    sleep 0.1
}
# Types a path into a file dialog and accepts it.
answer_file_dialog() # window path
{
    key_into "$1" ctrl+a
    type_into "$1" "$2"
    key_into "$1" Return
}

# 1. Two buttons: an open E chord shape on stroke 0, then a second one with two strings.
e2e_press_neck 0 1
e2e_press_neck 1 1
e2e_press_neck 2 2
e2e_press_neck 3 3
e2e_press_neck 4 3
e2e_press_neck 5 1
e2e_add_button
e2e_press_neck 0 4
e2e_press_neck 5 4
e2e_add_button

# 2. Song information, brackets included.
press 207 19 39
info=$(wait_new_window "$MAIN_WID") || e2e_fail "the song info dialog did not open"
click_in "$info" 180 54
type_into "$info" "[Live] Evening"
click_in "$info" 180 132
type_into "$info" "player"
click_in "$info" 150 400
type_into "$info" "[Chorus]"
key_into "$info" Return
type_into "$info" "la, la"
click_in "$info" 214 512 # close

# 3. Save, typing a name without suffix.
song=$E2E_TMP/evening
press 97 19 39
dialog=$(wait_new_window "$MAIN_WID" "$info") || e2e_fail "no save dialog"
answer_file_dialog "$dialog" "$song"
e2e_wait_file "$song.kds" || e2e_fail "Save wrote no $song.kds"
grep -qx '\[title,&#91;Live&#93; Evening\]' "$song.kds" || e2e_fail "title record: $(grep title "$song.kds")"
[ "$(grep -c '^\[multi$' "$song.kds")" = 2 ] || e2e_fail "expected two buttons in the file"
grep -qx 'la, la\]' "$song.kds" || e2e_fail "lyrics not on two lines"

# 4. A third button is an unsaved change: Load asks; Escape cancels, "Leave Anyway" goes on.
e2e_add_button
press 42 19 39
question=$(wait_new_window "$MAIN_WID" "$info") || e2e_fail "Load asked nothing"
key_into "$question" Escape
sleep 0.3
extra=$(wait_new_window "$MAIN_WID" "$info" 2>/dev/null) && [ -n "$extra" ] &&
    e2e_fail "Cancel did not end the load"
press 42 19 39
question=$(wait_new_window "$MAIN_WID" "$info") || e2e_fail "Load asked nothing"
key_into "$question" Tab Tab space
dialog=$(wait_new_window "$MAIN_WID" "$info" "$question") || e2e_fail "no load dialog"
answer_file_dialog "$dialog" "$song.kds"
sleep 0.5

# 5. The loaded button 1 plays the first sound.
strum_file=$(e2e_env "$render" strum-path)
rm -f "$strum_file"
e2e_click $((51 + 15)) $((420 + 15))
e2e_wait_file "$strum_file" || e2e_fail "no strum file after pressing a loaded button"
"$render" "$E2E_TMP/first.wav" 0 100 "0,0,1,2,2,0$muted_rest" 0,0,0,0 1,1,1,1 0,0,0 ||
    e2e_fail "reference render failed"
cmp -s "$strum_file" "$E2E_TMP/first.wav" || e2e_fail "the loaded button sounds different"

# 6. Saving the loaded song under another name (Save As) gives the same file: every button and
# text came back.
key_into "$MAIN_WID" ctrl+shift+s
dialog=$(wait_new_window "$MAIN_WID" "$info") || e2e_fail "no save dialog"
answer_file_dialog "$dialog" "$E2E_TMP/again.kds"
e2e_wait_file "$E2E_TMP/again.kds" || e2e_fail "second save wrote nothing"
cmp -s "$song.kds" "$E2E_TMP/again.kds" || e2e_fail "$(diff "$song.kds" "$E2E_TMP/again.kds")"

# 6b. A pipe, /dev/zero and an oversized file are refused at once with a message; the window
# still answers and the song stays as it was (saved again, it is the same file).
mkfifo "$E2E_TMP/pipe.kds"
truncate -s 5M "$E2E_TMP/huge.kds"
for hostile in "$E2E_TMP/pipe.kds" /dev/zero "$E2E_TMP/huge.kds"; do
    press 42 19 39
    dialog=$(wait_new_window "$MAIN_WID" "$info") || e2e_fail "no load dialog for $hostile"
    answer_file_dialog "$dialog" "$hostile"
    start=$(date +%s%N)
    message=$(wait_new_window "$MAIN_WID" "$info" "$dialog") || e2e_fail "$hostile: no message"
    ms=$((($(date +%s%N) - start) / 1000000))
    [ "$ms" -lt 1000 ] || e2e_fail "$hostile refused only after $ms ms"
    echo "$hostile refused within $ms ms"
    key_into "$message" Return
    window_gone "$message" || e2e_fail "the message for $hostile stayed"
done
key_into "$MAIN_WID" ctrl+shift+s
dialog=$(wait_new_window "$MAIN_WID" "$info") || e2e_fail "no save dialog after the refusals"
answer_file_dialog "$dialog" "$E2E_TMP/kept.kds"
e2e_wait_file "$E2E_TMP/kept.kds" || e2e_fail "the save after the refusals wrote nothing"
cmp -s "$song.kds" "$E2E_TMP/kept.kds" || e2e_fail "a refused file changed the song"

# 7. Power with unsaved changes asks; Cancel keeps the window, "Leave Anyway" ends it.
e2e_add_button
press 863 16 46
question=$(wait_new_window "$MAIN_WID" "$info") || e2e_fail "Power asked nothing"
key_into "$question" Escape
sleep 0.5
kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "Cancel did not keep the program"
xdotool search --onlyvisible --pid "$E2E_APP_PID" | grep -qx "$MAIN_WID" ||
    e2e_fail "the main window went away"
[ -n "${E2E_SHOT:-}" ] && e2e_shot "$E2E_SHOT"
press 863 16 46
question=$(wait_new_window "$MAIN_WID" "$info") || e2e_fail "Power asked nothing"
key_into "$question" Tab Tab space
for _ in $(seq 50); do
    kill -0 "$E2E_APP_PID" 2>/dev/null || exit 0
    sleep 0.1
done
e2e_fail "Leave Anyway did not end the program"
