#!/usr/bin/env bash
# Starts the real program on a virtual X display, lets it search a prepared folder through its
# automation hook, and saves a screenshot of the screen in the build directory.
# Usage: screenshot.sh PATH/TO/pellmora BUILD_DIR
set -euo pipefail

binary=$1
build=$2
shot="$build/pellmora-screenshot.png"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of the program, so that the settings it saves beside itself stay in the work folder
# instead of carrying this test's folders into the next run of the build's program.
mkdir "$work/bin"
cp "$binary" "$work/bin/pellmora"
binary="$work/bin/pellmora"

mkdir -p "$work/tree/photos" "$work/tree/backup/photos" "$work/tree/docs"
for i in 1 2 3; do
    head -c $((40000 * i)) /dev/zero | tr '\0' "$i" > "$work/tree/photos/p$i.jpg"
    cp "$work/tree/photos/p$i.jpg" "$work/tree/backup/photos/p$i.jpg"
done
echo "a note" > "$work/tree/docs/note.txt"
echo "a note" > "$work/tree/docs/copy of note.txt"
echo "unique" > "$work/tree/docs/unique.txt"
rm -f "$shot"

# The screen stays black until the window is mapped; on a busy machine that takes a while.
cat > "$work/run.sh" <<INNER
#!/usr/bin/env bash
# The test command may run under the offscreen platform; this test wants the real display.
QT_QPA_PLATFORM=xcb PELLMORA_AUTOSTART_DIR="$work/tree" "$binary" &
pid=\$!
sleep 3
shown=0
for attempt in \$(seq 1 40); do
    kill -0 \$pid 2>/dev/null || break
    import -window root "$shot"
    mean=\$(identify -format "%[fx:mean]" "$shot" 2>/dev/null || echo 0)
    if awk "BEGIN { exit !(\$mean > 0.05) }"; then shown=1; break; fi
    sleep 1
done
# The end-of-search box carries its own title alone, not the program's name after it.
titled=0
for attempt in \$(seq 1 40); do
    xdotool search --name '^Information\$' >/dev/null 2>&1 && { titled=1; break; }
    sleep 0.5
done
alive=0
kill -0 \$pid 2>/dev/null && alive=1
kill \$pid 2>/dev/null || true
wait \$pid 2>/dev/null || true
[ \$alive = 1 ] || { echo "pellmora ended before the screenshot" >&2; exit 1; }
[ \$shown = 1 ] || { echo "the window never appeared on the screen" >&2; exit 1; }
[ \$titled = 1 ] || { echo "no message box titled exactly \"Information\"" >&2; exit 1; }
INNER
chmod +x "$work/run.sh"

xvfb-run -a -s "-screen 0 1024x768x24" "$work/run.sh"

if [ ! -s "$shot" ]; then
    echo "no screenshot at $shot" >&2
    exit 1
fi
identify "$shot"
echo "screenshot: $shot"
