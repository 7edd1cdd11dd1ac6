#!/bin/bash
# The real program under Xvfb never loses an unsaved song: SIGTERM ends it with code 0 and
# leaves the recovery copy; started again it asks, and Restore brings the song back unsaved and
# with its file name, so that Ctrl+S writes the song as it was. A copy written after a change
# and left by SIGHUP is removed by Discard, and the program starts empty.
source "$(dirname "$0")/e2e_lib.sh"

e2e_init
e2e_private_copy
e2e_start_xvfb
COPY=$E2E_HOME/state/kavendra/recovery.kds
SONG=$E2E_TMP/song.kds
sound1="3,-1,-1,-1,-1,-1"
sound2="3,2,-1,-1,-1,-1"
sound3="3,2,0,-1,-1,-1"

start()
{
    e2e_start_app "$@"
    e2e_find_window
    MAIN_WID=$E2E_WID
}

# Sends the signal and expects the program to end on its own with code 0.
end_with()
{
    kill -s "$1" "$E2E_APP_PID"
    e2e_wait_app_end 10 || e2e_fail "$1 did not end the program"
    [ "$E2E_APP_STATUS" = 0 ] || e2e_fail "$1: exit code $E2E_APP_STATUS"
}

# The start-up question about the copy left behind, answered with the given keys.
answer_restore_question()
{
    local box=
    for _ in $(seq 100); do
        box=$(e2e_xdo search --all --onlyvisible --pid "$E2E_APP_PID" --name '^Confirm$' | head -n 1)
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || e2e_fail "no question about the recovery copy"
    [ -n "${E2E_SHOT:-}" ] && e2e_shot "$E2E_SHOT"
    e2e_xdo windowfocus --sync "$box"
    e2e_xdo key --delay 50 "$@"
    e2e_wait_window_gone "$box" || e2e_fail "the question stayed open after $*"
}

# 1. Two buttons saved, a third added: unsaved. SIGTERM leaves the copy of the three.
start
e2e_wait_splash
e2e_press_neck 0 4
e2e_add_button
e2e_press_neck 1 3
e2e_add_button
e2e_key ctrl+s
dialog=$(e2e_wait_new_window "$MAIN_WID") || e2e_fail "Ctrl+S opened no dialog"
e2e_answer_file_dialog "$dialog" "$SONG"
e2e_wait_file "$SONG" || e2e_fail "Ctrl+S saved nothing"
[ -e "$COPY" ] && e2e_fail "a copy of a saved song"
e2e_press_neck 2 1
e2e_add_button
end_with TERM
[ -s "$COPY" ] || e2e_fail "SIGTERM left no recovery copy"
cp "$COPY" "$E2E_TMP/expected.kds"
cmp -s "$SONG" "$E2E_TMP/expected.kds" && e2e_fail "the copy lacks the unsaved button"
rm "$SONG"

# 2. Restore: the three buttons, unsaved (Ctrl+Q asks), and Ctrl+S writes the song's own file
# without a dialog, byte for byte the song before SIGTERM. The copy goes with the save.
start
answer_restore_question Return
e2e_wait_splash
e2e_expect_strum "$sound3" "key 3 of the restored song" e2e_key 3
e2e_expect_strum "$sound1" "key 1 of the restored song" e2e_key 1
e2e_key ctrl+q
question=$(e2e_wait_new_window "$MAIN_WID") || e2e_fail "a restored song counts as saved"
e2e_xdo windowfocus --sync "$question"
e2e_xdo key Escape
e2e_wait_window_gone "$question" || e2e_fail "the quit question stayed open"
e2e_key ctrl+s
e2e_wait_file "$SONG" || e2e_fail "Ctrl+S did not write the song's own file"
cmp -s "$SONG" "$E2E_TMP/expected.kds" || e2e_fail "$(diff "$E2E_TMP/expected.kds" "$SONG")"
[ -e "$COPY" ] && e2e_fail "the copy outlived the save"

# 3. A change is copied within seconds, without a signal; SIGHUP keeps it; Discard removes it.
e2e_add_button
e2e_wait_file "$COPY" 6 || e2e_fail "no recovery copy after a change"
end_with HUP
[ -s "$COPY" ] || e2e_fail "SIGHUP lost the recovery copy"
start
answer_restore_question Tab space
[ -e "$COPY" ] || [ -e "$COPY.name" ] && e2e_fail "Discard left the copy"
e2e_wait_splash
e2e_expect_no_strum "key 1 after Discard" e2e_key 1
echo "PASS"
