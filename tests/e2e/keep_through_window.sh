#!/usr/bin/env bash
# Through the real window: ticks the first folder of the list as a keep folder, searches, clicks
# the tick box of every row (the kept rows must not take it), sends the rest to the trash with
# "Delete Selected", and checks that every kept file is still in place and every other copy is
# in the trash.
# Usage: keep_through_window.sh PATH/TO/pellmora [SCREENSHOT_DIR]
set -euo pipefail
binary=$1
shots=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$1" >&2; exit 1; }

mkdir -p "$work/bin" "$work/master/sub" "$work/downloads/again" "$work/data" "$work/cwd"
cp "$binary" "$work/bin/pellmora"
printf 'picture one\n' > "$work/master/p1.jpg"
printf 'picture two!\n' > "$work/master/sub/p2.jpg"
cp "$work/master/p1.jpg" "$work/downloads/p1 copy.jpg"
cp "$work/master/p1.jpg" "$work/downloads/again/p1.jpg"
cp "$work/master/sub/p2.jpg" "$work/downloads/p2.jpg"
# The list the window starts with: the two folders, neither ticked.
lines=$(printf '%s/master/\r\n%s/downloads/\r\n' "$work" "$work" | iconv -t UTF-16LE | xxd -p -u | tr -d '\n')
printf '[Directories]\nLines=FFFE%s\n' "$lines" > "$work/bin/Pellmora.ini"

cat > "$work/run.sh" <<INNER
#!/usr/bin/env bash
set -u
export XDG_DATA_HOME="$work/data" SHOTS="$shots" PREFIX=keep-e2e
source "$here/window_helpers.sh"
cd "$work/cwd"
start_program env QT_QPA_PLATFORM=xcb "$work/bin/pellmora" || exit 1
sleep 0.5
# The first entry of the folder list, then Space on it: its check box.
click_at "\$main" 500 47
sleep 0.2
xdotool key space
sleep 0.3
shot listed
click_at "\$main" 725 304 # Start
answer Information || { shot nosearch; exit 1; }
sleep 0.5
# Every row's tick box, in window coordinates of the start-up size.
for y in 347 363 379 395 411; do click_at "\$main" 11 \$y; sleep 0.1; done
sleep 0.3
shot ticked
click_at "\$main" 709 575 # Delete Selected
window "Remove Duplicate Files" >/dev/null || { shot nodialog; kill \$pid; exit 1; }
confirm_delete_and_quit || exit 1
INNER
chmod +x "$work/run.sh"
timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" "$work/run.sh"

for kept in master/p1.jpg master/sub/p2.jpg; do
    [ -f "$work/$kept" ] || fail "the kept file $kept is gone"
done
left=$(find "$work/downloads" -type f | wc -l)
[ "$left" = 0 ] || fail "$left copies are left in downloads: $(find "$work/downloads" -type f)"
trashed=$(find "$work/data/Trash/files" -type f | wc -l)
[ "$trashed" = 3 ] || fail "$trashed files in the trash, expected 3"
[ -z "$(ls -A "$work/cwd")" ] || fail "something landed in the current folder"
echo "every kept file in place, the three other copies in the trash"
