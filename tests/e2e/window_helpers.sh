# Sourced inside the Xvfb session of an end-to-end run: windows found by their exact title,
# keys pressed in them, screenshots. SHOTS (a folder, or empty for none) and PREFIX name the
# screenshots.

shot() { [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/$PREFIX-$1.png" || true; }

# Waits for a window whose title is exactly $1 and prints its id.
window() {
    local attempt id
    for attempt in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "no window titled \"$1\"" >&2
    return 1
}

# Gives the window titled $1 the keyboard, then presses the keys $2.
press() {
    local id
    id=$(window "$1") || return 1
    xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
    sleep 0.3
    xdotool key --clearmodifiers $2
}

answer() { press "$1" Return; }

# Clicks at window coordinates $2 $3 of the window id $1.
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Starts a window manager, then the command (the program, with env and its variables before
# it); sets pid and main, the id of its window.
start_program() {
    openbox >/dev/null 2>&1 &
    sleep 1
    "$@" &
    pid=$!
    main=$(window Pellmora)
}

# Confirms the open delete dialog and the summary after it, then ends the program.
confirm_delete_and_quit() {
    answer "Remove Duplicate Files" || return 1
    sleep 0.5
    shot summary
    answer Information || return 1 # the summary
    sleep 0.3
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 0
}
