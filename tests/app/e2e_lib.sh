# Shell helpers for end-to-end tests of the real program under Xvfb. Source this file, then:
#
#   e2e_init                  temp dirs, cleanup trap; needs KAVENDRA_BIN (set by CTest)
#   e2e_start_xvfb            starts Xvfb on a display it finds free, exports DISPLAY
#                             (screen E2E_SCREEN, 1280x1024x24 by default)
#   e2e_private_copy          runs a copy of the program from E2E_TMP/bin, so its working
#                             directory (where "tmp_sound.wav" lands) is private: E2E_WORKDIR
#   e2e_start_app [args]      starts kavendra with the private HOME/XDG dirs (E2E_APP_PID)
#   e2e_find_window           waits for the main window: E2E_WID, E2E_WX, E2E_WY, E2E_WW, E2E_WH
#   e2e_wait_splash           waits until the splash screen has closed (E2E_SPLASH_SEEN=1 when
#                             it was seen first)
#   e2e_click X Y [BUTTON]    moves to window coordinates X, Y and clicks (button 1 by default)
#   e2e_drag X1 Y1 X2 Y2      left-button drag between window coordinates
#   e2e_xdo ARGS...           xdotool ARGS, retried when the X server drops the connection
#   e2e_type TEXT             types into the focused widget
#   e2e_key KEY...            presses keys by name (xdotool key names: Return, BackSpace, ...)
#   e2e_press_neck S P        presses string S at neck position P (0 mutes, 1 is open, P >= 2 is
#                             fret P - 1)
#   e2e_add_button            presses Add
#   e2e_expect_strum FRETS LABEL COMMAND...
#                             runs COMMAND and checks that it wrote the strum file of the
#                             sound FRETS (stroke 0, six values; the rest muted, default timing)
#   e2e_expect_no_strum LABEL COMMAND...  runs COMMAND and checks that it played nothing
#   e2e_answer_file_dialog WID PATH  types PATH into a file dialog and accepts it
#   e2e_cell_x C, e2e_cell_y R  window coordinates of the middle of the panel's cell (C, R)
#   e2e_shot FILE             screenshot of the whole screen
#   e2e_wait_new_window WID...   waits for a visible window of the program other than the
#                             given ones and prints its id
#   e2e_wait_window_gone WID [S] waits until a window of the program is no longer visible
#   e2e_wait_file FILE [S]    waits until FILE exists and its size stays put
#   e2e_wait_app_end [S]      waits until the program has ended (E2E_APP_STATUS: its exit code)
#   e2e_fail MESSAGE          reports and exits 1 (cleanup runs from the trap)
#
# The helpers run with `set -u`. Every process started here is stopped by its pid when the script
# exits. E2E_TMP is the
# scratch directory, E2E_HOME the program's home; XDG_* point inside it.

set -u

E2E_PIDS=()

e2e_fail()
{
    echo "FAIL: $*" >&2
    if [ -s "${E2E_TMP:-}/app.log" ]; then
        echo "--- program output (last lines):" >&2
        tail -n 20 "$E2E_TMP/app.log" >&2
    fi
    exit 1
}

e2e_cleanup()
{
    # Newest first (the program before its display); a dense copy, whatever was unset.
    local pids=("${E2E_PIDS[@]}") i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null
    done
    [ -n "${E2E_TMP:-}" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$E2E_TMP"
    return 0
}

e2e_init()
{
    [ -x "${KAVENDRA_BIN:-}/kavendra" ] || e2e_fail "no program at \$KAVENDRA_BIN/kavendra"
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kavendra-e2e.XXXXXX")
    E2E_HOME=$E2E_TMP/home
    E2E_WORKDIR=$KAVENDRA_BIN
    mkdir -p "$E2E_HOME/config" "$E2E_HOME/cache" "$E2E_HOME/data" "$E2E_HOME/state" \
        "$E2E_HOME/runtime"
    chmod 700 "$E2E_HOME/runtime"
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM
}

# Runs a command in the program's private environment (e.g. a helper that must find the same
# per-user paths as the program).
e2e_env()
{
    HOME=$E2E_HOME XDG_CONFIG_HOME=$E2E_HOME/config XDG_CACHE_HOME=$E2E_HOME/cache \
        XDG_DATA_HOME=$E2E_HOME/data XDG_STATE_HOME=$E2E_HOME/state \
        XDG_RUNTIME_DIR=$E2E_HOME/runtime "$@"
}

e2e_start_xvfb()
{
    # Xvfb picks a free display itself and writes its number once it accepts clients, so two
    # tests starting at the same moment can never share or steal a display.
    local attempt pid n
    for attempt in 1 2 3; do
        : >"$E2E_TMP/xvfb.display"
        Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$E2E_TMP/xvfb.display" \
            >"$E2E_TMP/xvfb.log" 2>&1 &
        pid=$!
        for _ in $(seq 100); do
            n=$(head -n 1 "$E2E_TMP/xvfb.display")
            if [ -n "$n" ]; then
                E2E_PIDS+=("$pid")
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    e2e_fail "could not start Xvfb: $(tail -n 3 "$E2E_TMP/xvfb.log")"
}

e2e_private_copy()
{
    mkdir -p "$E2E_TMP/bin"
    cp "$KAVENDRA_BIN/kavendra" "$E2E_TMP/bin/kavendra"
    E2E_PROGRAM=$E2E_TMP/bin/kavendra
    E2E_WORKDIR=$E2E_TMP/bin
}

# xdotool, tried again when the X server drops its connection: Xvfb now and then closes a new
# connection at once while other clients connect at the same moment.
e2e_xdo()
{
    local try out status
    for try in 1 2 3 4 5; do
        out=$(xdotool "$@" 2>"$E2E_TMP/xdo.err")
        status=$?
        if ! grep -q "Can't open display" "$E2E_TMP/xdo.err"; then
            [ -n "$out" ] && printf '%s\n' "$out"
            return $status
        fi
        sleep 0.05
    done
    cat "$E2E_TMP/xdo.err" >&2
    return 1
}

e2e_start_app()
{
    E2E_APP_ARGS=("$@")
    # env execs the program, so $! is the program's own pid.
    env QT_QPA_PLATFORM=xcb HOME="$E2E_HOME" XDG_CONFIG_HOME="$E2E_HOME/config" XDG_CACHE_HOME="$E2E_HOME/cache" \
        XDG_DATA_HOME="$E2E_HOME/data" XDG_STATE_HOME="$E2E_HOME/state" \
        XDG_RUNTIME_DIR="$E2E_HOME/runtime" \
        "${E2E_PROGRAM:-$KAVENDRA_BIN/kavendra}" "$@" >"$E2E_TMP/app.log" 2>&1 &
    E2E_APP_PID=$!
    E2E_PIDS+=("$E2E_APP_PID")
}

e2e_find_window()
{
    local attempt
    for attempt in 1 2 3; do
        E2E_WID=$(timeout 10 xdotool search --sync --all --onlyvisible --pid "$E2E_APP_PID" \
            --name '^Kavendra$' 2>/dev/null | head -n 1)
        if [ -n "$E2E_WID" ]; then
            e2e_window_geometry
            return 0
        fi
        kill -0 "$E2E_APP_PID" 2>/dev/null && continue # the search itself lost the server
        e2e_restart_if_display_lost || e2e_fail "the program ended during start-up"
    done
    e2e_fail "main window not found"
}

# Started while another client connected, the program may have lost its display the way xdotool
# does; it is started again then. Fails (returns 1) when it ended for another reason.
e2e_restart_if_display_lost()
{
    kill -0 "$E2E_APP_PID" 2>/dev/null && return 0
    grep -q "could not connect to display" "$E2E_TMP/app.log" || return 1
    wait "$E2E_APP_PID" 2>/dev/null
    unset 'E2E_PIDS[${#E2E_PIDS[@]}-1]'
    e2e_start_app "${E2E_APP_ARGS[@]}"
}

e2e_window_geometry()
{
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(e2e_xdo getwindowgeometry --shell "$E2E_WID")"
    E2E_WX=$X E2E_WY=$Y E2E_WW=$WIDTH E2E_WH=$HEIGHT
}

e2e_visible_windows()
{
    e2e_xdo search --onlyvisible --pid "$E2E_APP_PID" | wc -l
}

e2e_wait_splash()
{
    # The splash is mapped right after the main window; wait to see it, then to see it go.
    E2E_SPLASH_SEEN=
    for _ in $(seq 30); do
        [ "$(e2e_visible_windows)" -ge 2 ] && E2E_SPLASH_SEEN=1 && break
        sleep 0.05
    done
    for _ in $(seq 60); do
        [ "$(e2e_visible_windows)" -le 1 ] && return 0
        sleep 0.1
    done
    e2e_fail "the splash screen did not close"
}

e2e_click()
{
    e2e_xdo mousemove --sync $((E2E_WX + $1)) $((E2E_WY + $2))
    sleep 0.05
    e2e_xdo click "${3:-1}"
    sleep 0.1
}

e2e_drag()
{
    local steps=5 i
    e2e_xdo mousemove --sync $((E2E_WX + $1)) $((E2E_WY + $2)) mousedown 1
    for ((i = 1; i <= steps; i++)); do
        e2e_xdo mousemove --sync $((E2E_WX + $1 + ($3 - $1) * i / steps)) \
            $((E2E_WY + $2 + ($4 - $2) * i / steps))
        sleep 0.03
    done
    e2e_xdo mouseup 1
    sleep 0.2
}

e2e_type()
{
    # Without a window manager nobody else gives the window the keyboard.
    e2e_xdo windowfocus "$E2E_WID"
    e2e_xdo type --delay 30 "$1"
    sleep 0.1
}

e2e_key()
{
    e2e_xdo windowfocus "$E2E_WID"
    e2e_xdo key --delay 30 "$@"
    sleep 0.1
}

# The neck lies at (51, 98); grid point (s, p) at x = 13, 36, 51p - 44, y = 10 + 27s, and its
# hit square is centred 10 pixels right of and below it.
e2e_press_neck()
{
    local x
    case $2 in
        0) x=23 ;;
        1) x=46 ;;
        *) x=$((51 * $2 - 44 + 10)) ;;
    esac
    e2e_click $((51 + x)) $((98 + 10 + 27 * $1 + 10))
}

e2e_add_button() { e2e_click $((270 + 19)) $((350 + 19)); }

e2e_strum_path()
{
    [ -n "${E2E_STRUM:-}" ] || E2E_STRUM=$(e2e_env "$KAVENDRA_BIN/e2e_render" strum-path)
    [ -n "$E2E_STRUM" ] || e2e_fail "no strum file path"
}

e2e_expect_strum()
{
    local frets=$1 label=$2 muted_rest
    shift 2
    e2e_strum_path
    rm -f "$E2E_STRUM"
    "$@"
    e2e_wait_file "$E2E_STRUM" || e2e_fail "$label: no strum file"
    muted_rest=$(printf -- ',-1%.0s' $(seq 18))
    "$KAVENDRA_BIN/e2e_render" "$E2E_TMP/expected.wav" 0 100 "$frets$muted_rest" 0,0,0,0 1,1,1,1 \
        0,0,0 || e2e_fail "$label: reference render failed"
    cmp -s "$E2E_STRUM" "$E2E_TMP/expected.wav" || e2e_fail "$label: the strum file is another sound"
}

e2e_expect_no_strum()
{
    local label=$1
    shift
    e2e_strum_path
    rm -f "$E2E_STRUM"
    "$@"
    sleep 0.3
    [ ! -e "$E2E_STRUM" ] || e2e_fail "$label: something played"
}

e2e_answer_file_dialog()
{
    e2e_xdo windowfocus --sync "$1"
    e2e_xdo key --delay 50 ctrl+a
    e2e_xdo type --delay 20 "$2"
    e2e_xdo key --delay 50 Return
    sleep 0.2
}

# The panel lies at (51, 420); its cells are 31 x 32 pixels apart, buttons 30 x 30.
e2e_cell_x() { echo $((51 + 31 * $1 + 15)); }
e2e_cell_y() { echo $((420 + 32 * $1 + 15)); }

e2e_shot()
{
    /usr/bin/import -window root "$1"
}

e2e_wait_new_window()
{
    local id known
    for _ in $(seq 60); do
        for id in $(e2e_xdo search --onlyvisible --pid "$E2E_APP_PID"); do
            known=0
            for k in "$@"; do [ "$id" = "$k" ] && known=1; done
            [ $known = 0 ] && echo "$id" && return 0
        done
        sleep 0.1
    done
    return 1
}

e2e_wait_window_gone()
{
    local limit=${2:-5}
    for _ in $(seq $((limit * 10))); do
        e2e_xdo search --onlyvisible --pid "$E2E_APP_PID" | grep -qx "$1" || return 0
        sleep 0.1
    done
    return 1
}

e2e_wait_file()
{
    local file=$1 limit=${2:-5} last=-1 size
    for _ in $(seq $((limit * 20))); do
        if [ -f "$file" ]; then
            size=$(stat -c %s "$file")
            [ "$size" = "$last" ] && return 0
            last=$size
        fi
        sleep 0.05
    done
    return 1
}

e2e_wait_app_end()
{
    local limit=${1:-5}
    for _ in $(seq $((limit * 10))); do
        kill -0 "$E2E_APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$E2E_APP_PID" 2>/dev/null && return 1
    wait "$E2E_APP_PID"
    E2E_APP_STATUS=$?
}
