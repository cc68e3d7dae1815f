# Sourced by the end-to-end runs of "Delete Selected". Makes $work (removed at exit) with
# tree/ holding three copies under awkward names, starts a copy of the program on it in Xvfb,
# ticks the second and third rows, presses "Delete Selected", presses the given keys in the
# dialog, then Return there and in the summary. Screenshots go to SHOT_DIR as PREFIX-*.png.
#   delete_through_dialog BINARY SHOT_DIR PREFIX [KEY...]
# COPIES lists the three paths below tree/.

COPIES=("a dir/x 100%.txt" "b/$(printf '\xc3\xbc').txt" "c/plain.txt")

delete_through_dialog() {
    local binary=$1 shots=$2 prefix=$3
    shift 3
    local keys="$*"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    # A copy of the program, so that the settings it saves beside itself stay in the work folder.
    mkdir -p "$work/bin" "$work/tree/a dir" "$work/tree/b" "$work/tree/c" "$work/data" "$work/cwd"
    cp "$binary" "$work/bin/pellmora"
    local path
    for path in "${COPIES[@]}"; do
        printf 'the same content\n' > "$work/tree/$path"
    done

    cat > "$work/run.sh" <<INNER
#!/usr/bin/env bash
set -u
export XDG_DATA_HOME="$work/data" SHOTS="$shots" PREFIX="$prefix"
source "$(dirname "${BASH_SOURCE[0]}")/window_helpers.sh"
cd "$work/cwd"
start_program env QT_QPA_PLATFORM=xcb PELLMORA_AUTOSTART_DIR="$work/tree" "$work/bin/pellmora" || exit 1
answer Information || exit 1 # the end of the search
sleep 0.5
# The tick boxes of the second and third rows, and the "Delete Selected" button, in window
# coordinates of the program's start-up size.
click_at "\$main" 11 363
click_at "\$main" 11 379
sleep 0.3
shot ticked
click_at "\$main" 709 575
window "Remove Duplicate Files" >/dev/null || { shot nodialog; kill \$pid; exit 1; }
if [ -n "$keys" ]; then press "Remove Duplicate Files" "$keys" || exit 1; sleep 0.3; fi
shot dialog
confirm_delete_and_quit || exit 1
INNER
    chmod +x "$work/run.sh"
    timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" "$work/run.sh"
    [ -z "$(ls -A "$work/cwd")" ] || { echo "something landed in the current folder" >&2; return 1; }
}
