#!/bin/bash
# The real program under Xvfb, played from the keyboard: keys 1, 2 and 3 play buttons 1, 2 and
# 3, also on a French layout where the same keys type & é "; Space plays the form; a digit
# typed into a focused fret field only edits the field, and after Escape the keys play again;
# Ctrl+S and Ctrl+O open their dialogs; Delete then Ctrl+Z brings the button back, so that Save
# writes the same bytes as before; Ctrl+Q ends the program and "kavendra FILE" starts with the
# song loaded, or with the load's message and an empty panel when the file is not there.
source "$(dirname "$0")/e2e_lib.sh"

e2e_init
e2e_private_copy
e2e_start_xvfb
e2e_start_app
e2e_find_window
e2e_wait_splash
MAIN_WID=$E2E_WID

# 1. Three buttons with three sounds; their keys play them.
sound1="3,-1,-1,-1,-1,-1"
sound2="3,2,-1,-1,-1,-1"
sound3="3,2,0,-1,-1,-1"
e2e_press_neck 0 4
e2e_add_button
e2e_press_neck 1 3
e2e_add_button
e2e_press_neck 2 1
e2e_add_button
e2e_expect_strum "$sound2" "key 2" e2e_key 2
e2e_expect_strum "$sound1" "key 1" e2e_key 1
e2e_expect_strum "$sound3" "key 3" e2e_key 3
e2e_expect_no_strum "key 4 (no button)" e2e_key 4

# 2. The keyboard's places, not its letters: on a French layout the digit row types & é ".
setxkbmap -display "$DISPLAY" fr || e2e_fail "setxkbmap fr failed"
e2e_expect_strum "$sound1" "& on a French layout" e2e_key ampersand
e2e_expect_strum "$sound2" "é on a French layout" e2e_key eacute
setxkbmap -display "$DISPLAY" us

# 3. Space plays the form: button 3's sound, the fourth string now at fret 2.
e2e_expect_strum "$sound3" "key 3 on the US layout again" e2e_key 3
e2e_press_neck 3 3
e2e_expect_strum "3,2,0,2,-1,-1" "Space" e2e_key space

# 4. A digit typed into a fret field (stroke 0, sixth string) edits the field and plays nothing;
# after Escape the digit keys play again.
e2e_click $((405 + 44 * 5 + 17)) $((418 + 15))
e2e_expect_no_strum "a digit typed into a field" e2e_type 5
e2e_expect_no_strum "Space in a field" e2e_key space
e2e_key Escape
e2e_expect_strum "$sound1" "key 1 after Escape" e2e_key 1
# Button 3 took the fret typed while it was selected.
e2e_expect_strum "3,2,0,2,-1,5" "key 3 after Escape" e2e_key 3

# 5. Ctrl+S asks for a name for the new song; Ctrl+O opens the load dialog.
song=$E2E_TMP/keys.kds
e2e_key ctrl+s
dialog=$(e2e_wait_new_window "$MAIN_WID") || e2e_fail "Ctrl+S opened no dialog"
e2e_answer_file_dialog "$dialog" "$song"
e2e_wait_file "$song" || e2e_fail "Ctrl+S saved nothing"
cp "$song" "$E2E_TMP/first.kds"
e2e_key ctrl+o
dialog=$(e2e_wait_new_window "$MAIN_WID") || e2e_fail "Ctrl+O opened no dialog"
e2e_xdo windowfocus --sync "$dialog"
e2e_xdo key Escape
e2e_wait_window_gone "$dialog" || e2e_fail "the load dialog stayed open"

# 6. Delete takes the selected button away, Ctrl+Z brings it back; Ctrl+S writes the song's own
# file again without asking, byte for byte as before.
e2e_key 2
e2e_key Delete
e2e_expect_no_strum "key 2 after Delete" e2e_key 2
e2e_key ctrl+z
e2e_expect_strum "$sound2" "key 2 after Ctrl+Z" e2e_key 2
rm "$song"
e2e_key ctrl+s
e2e_wait_file "$song" || e2e_fail "Ctrl+S did not write the song's file"
cmp -s "$song" "$E2E_TMP/first.kds" || e2e_fail "$(diff "$E2E_TMP/first.kds" "$song")"
[ -n "${E2E_SHOT:-}" ] && e2e_shot "$E2E_SHOT"

# 7. Ctrl+Q ends the program (nothing unsaved); started with the file, it has the song.
e2e_key ctrl+q
e2e_wait_app_end || e2e_fail "Ctrl+Q did not end the program"
e2e_start_app "$song"
e2e_find_window
e2e_wait_splash
e2e_expect_strum "$sound1" "key 1 of the song named at start" e2e_key 1
e2e_expect_strum "3,2,0,2,-1,5" "key 3 of the song named at start" e2e_key 3

# 8. A file that is not there: the load's message, then an empty panel.
e2e_key ctrl+q
e2e_wait_window_gone "$E2E_WID" 5 || e2e_fail "Ctrl+Q did not end the program"
wait "$E2E_APP_PID" 2>/dev/null
e2e_start_app "$E2E_TMP/missing.kds"
message=
for _ in $(seq 100); do
    message=$(e2e_xdo search --onlyvisible --pid "$E2E_APP_PID" --name '^Application name$' |
        head -n 1) && [ -n "$message" ] && break
    e2e_restart_if_display_lost || e2e_fail "the program ended before its message"
    sleep 0.1
done
[ -n "$message" ] || e2e_fail "no message about the missing file"
e2e_xdo windowfocus --sync "$message"
e2e_xdo key Return
e2e_find_window
e2e_expect_no_strum "key 1 with an empty panel" e2e_key 1
echo "PASS"
