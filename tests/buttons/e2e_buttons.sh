#!/bin/bash
# The real program under Xvfb: three buttons made with Add play their own sounds, a drag with
# the lock open swaps two buttons, "Change Icon" repaints a button, and the chord book opens
# beside the neck and its D m7 goes into the current stroke.
# E2E_SHOT_DIR, if set, receives screenshots of the panel and of the open chord book.
source "$KAVENDRA_SOURCE/tests/app/e2e_lib.sh"

e2e_init
e2e_private_copy
e2e_start_xvfb
e2e_start_app
e2e_find_window
e2e_wait_splash

# Presses the button in cell (c, 0) and checks that it plays FRETS.
expect_cell_plays() # column frets label
{
    e2e_expect_strum "$2" "$3" e2e_click "$(e2e_cell_x "$1")" "$(e2e_cell_y 0)"
}

# 1. Three buttons with three sounds.
sound1="3,-1,-1,-1,-1,-1"
sound2="3,2,-1,-1,-1,-1"
sound3="3,2,0,-1,-1,-1"
e2e_press_neck 0 4
e2e_add_button
e2e_press_neck 1 3
e2e_add_button
e2e_press_neck 2 1
e2e_add_button
expect_cell_plays 1 "$sound2" "button 2"
expect_cell_plays 0 "$sound1" "button 1"
expect_cell_plays 2 "$sound3" "button 3"

# 2. The lock opened, button 1 dragged onto button 3: they swap places.
e2e_click $((88 + 19)) $((352 + 15))
e2e_drag "$(e2e_cell_x 0)" "$(e2e_cell_y 0)" "$(e2e_cell_x 2)" "$(e2e_cell_y 0)"
expect_cell_plays 0 "$sound3" "cell 1 after the swap"
expect_cell_plays 2 "$sound1" "cell 3 after the swap"
expect_cell_plays 1 "$sound2" "cell 2 after the swap"

# 3. A picture chosen for new buttons, two more buttons, one selected.
e2e_click $((174 + 10)) $((358 + 10))
sleep 0.3
chooser=$(xdotool search --all --onlyvisible --pid "$E2E_APP_PID" --name '^Dialog$' | head -n 1)
[ -n "$chooser" ] || e2e_fail "the icon chooser did not open"
[ -n "${E2E_SHOT_DIR:-}" ] && e2e_shot "$E2E_SHOT_DIR/chooser.png"
eval "$(xdotool getwindowgeometry --shell "$chooser")"
xdotool mousemove --sync $((X + 19 + 40 * 2 + 15)) $((Y + 46 + 40 + 15)) click 1 # picture 9
sleep 0.3
e2e_add_button
e2e_add_button
e2e_click "$(e2e_cell_x 3)" "$(e2e_cell_y 0)"
[ -n "${E2E_SHOT_DIR:-}" ] && e2e_shot "$E2E_SHOT_DIR/panel.png"

# A right click on the selected button offers "Change Icon"; picture 0 then replaces picture 9.
cell_picture()
{
    /usr/bin/import -window root -crop "30x30+$((E2E_WX + 51 + 31 * $1))+$((E2E_WY + 420))" \
        rgb:- | md5sum
}
before=$(cell_picture 3)
e2e_click "$(e2e_cell_x 3)" "$(e2e_cell_y 0)" 3
sleep 0.3
menu=$(xdotool search --all --onlyvisible --pid "$E2E_APP_PID" | grep -vx "$E2E_WID" | head -n 1)
[ -n "$menu" ] || e2e_fail "no menu on a right click"
eval "$(xdotool getwindowgeometry --shell "$menu")"
xdotool mousemove --sync $((X + 20)) $((Y + 10)) click 1
sleep 0.3
chooser=$(xdotool search --all --onlyvisible --pid "$E2E_APP_PID" --name '^Dialog$' | head -n 1)
[ -n "$chooser" ] || e2e_fail "Change Icon did not open the chooser"
eval "$(xdotool getwindowgeometry --shell "$chooser")"
xdotool mousemove --sync $((X + 19 + 15)) $((Y + 46 + 15)) click 1 # picture 0
sleep 0.3
[ "$(cell_picture 3)" != "$before" ] || e2e_fail "the button kept its picture"

# 4. The chord book: D, m7, set; Play then sounds 1 1 2 0 0 - from the fret fields.
e2e_click $((152 + 19)) $((19 + 19))
sleep 0.3
book=$(xdotool search --all --onlyvisible --pid "$E2E_APP_PID" --name '^Dialog$' | head -n 1)
[ -n "$book" ] || e2e_fail "the chord book did not open"
eval "$(xdotool getwindowgeometry --shell "$book")"
[ "$WIDTH" = 300 ] && [ "$HEIGHT" = 494 ] || e2e_fail "chord book is ${WIDTH}x$HEIGHT"
# It leaves the neck (51, 98, 827 x 191 in the window) free.
[ $((Y)) -ge $((E2E_WY + 98 + 191)) ] || [ $((Y + HEIGHT)) -le $((E2E_WY + 98)) ] ||
    [ $((X)) -ge $((E2E_WX + 51 + 827)) ] || [ $((X + WIDTH)) -le $((E2E_WX + 51)) ] ||
    e2e_fail "the chord book covers the neck"
book_click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; sleep 0.1; }
book_click $((41 + 13)) $((55 + 30 * 5 + 10))  # D
book_click $((223 + 22)) $((55 + 26 * 3 + 10)) # m7
e2e_expect_strum "1,1,2,0,0,-1" "the chord book's play" book_click $((130 + 19)) $((456 + 19))
book_click $((40 + 34)) $((456 + 12)) # set
[ -n "${E2E_SHOT_DIR:-}" ] && e2e_shot "$E2E_SHOT_DIR/chordbook.png"
# The main window's Play reads the fret fields.
e2e_expect_strum "1,1,2,0,0,-1" "Play after set" e2e_click $((230 + 19)) $((350 + 19))
book_click $((190 + 34)) $((456 + 12)) # close
sleep 0.2
[ -z "$(xdotool search --all --onlyvisible --pid "$E2E_APP_PID" --name '^Dialog$')" ] ||
    e2e_fail "the chord book stayed open"
echo "PASS"
