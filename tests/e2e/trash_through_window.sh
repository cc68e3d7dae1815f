#!/usr/bin/env bash
# Ticks two of three copies in the real window, sends them to the trash with "Delete Selected"
# and its dialog, and checks with an independent trash client that the desktop's trash holds
# exactly those two, each listed at the path it came from.
# Usage: trash_through_window.sh PATH/TO/pellmora [SCREENSHOT_DIR]
set -euo pipefail

binary=$1
shots=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v trash-list >/dev/null || { echo "trash-list (trash-cli) is not installed" >&2; exit 1; }

# A copy of the program, so that the settings it saves beside itself stay in the work folder.
mkdir -p "$work/bin" "$work/tree/a dir" "$work/tree/b" "$work/tree/c" "$work/data" "$work/cwd"
cp "$binary" "$work/bin/pellmora"
for path in "a dir/x 100%.txt" "b/$(printf '\xc3\xbc').txt" "c/plain.txt"; do
    printf 'the same content\n' > "$work/tree/$path"
done

cat > "$work/run.sh" <<INNER
#!/usr/bin/env bash
set -u
export XDG_DATA_HOME="$work/data"
shot() { [ -n "$shots" ] && import -window root "$shots/trash-e2e-\$1.png" || true; }
# Waits for a window whose title is exactly \$1 and prints its id.
window() {
    for attempt in \$(seq 1 100); do
        id=\$(xdotool search --onlyvisible --name "^\$1\\\$" 2>/dev/null | head -1)
        [ -n "\$id" ] && { echo "\$id"; return 0; }
        sleep 0.1
    done
    echo "no window titled \"\$1\"" >&2
    return 1
}
# Presses Return in the window titled \$1.
answer() {
    local id
    id=\$(window "\$1") || return 1
    xdotool windowactivate --sync "\$id" 2>/dev/null || xdotool windowfocus --sync "\$id"
    sleep 0.3
    xdotool key --clearmodifiers Return
}
openbox >/dev/null 2>&1 &
sleep 1
cd "$work/cwd"
QT_QPA_PLATFORM=xcb PELLMORA_AUTOSTART_DIR="$work/tree" "$work/bin/pellmora" &
pid=\$!
main=\$(window Pellmora) || exit 1
answer Information || exit 1 # the end of the search
sleep 0.5
# The tick boxes of the second and third rows, and the "Delete Selected" button, in window
# coordinates of the program's start-up size.
xdotool mousemove --window "\$main" 11 339 click 1
xdotool mousemove --window "\$main" 11 355 click 1
sleep 0.3
shot ticked
xdotool mousemove --window "\$main" 709 575 click 1
window "Remove Duplicate Files" >/dev/null || { shot nodialog; kill \$pid; exit 1; }
shot dialog
answer "Remove Duplicate Files" || exit 1
sleep 0.5
shot summary
answer Information || exit 1 # "2 of 2 files was deleted."
sleep 0.3
kill \$pid 2>/dev/null
wait \$pid 2>/dev/null
exit 0
INNER
chmod +x "$work/run.sh"
timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" "$work/run.sh"

[ -z "$(ls -A "$work/cwd")" ] || { echo "something landed in the current folder" >&2; exit 1; }
left=$(find "$work/tree" -type f | wc -l)
[ "$left" = 1 ] || { echo "$left of 3 copies are left, expected 1" >&2; exit 1; }
# trash-list also reads the trashes of every other mount; only this tree's files count.
listed=$(XDG_DATA_HOME="$work/data" trash-list | sed 's/^[^ ]* [^ ]* //' | grep -F "$work/" | sort)
expected=$(find "$work/tree" -type f -printf '%p\n' > "$work/kept"
    for path in "a dir/x 100%.txt" "b/$(printf '\xc3\xbc').txt" "c/plain.txt"; do
        grep -qxF "$work/tree/$path" "$work/kept" || echo "$work/tree/$path"
    done | sort)
if [ "$listed" != "$expected" ]; then
    echo "the trash lists:" >&2; echo "$listed" >&2
    echo "expected:" >&2; echo "$expected" >&2
    exit 1
fi
echo "two copies in the trash, listed at their own paths"
