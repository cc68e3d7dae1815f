#!/usr/bin/env bash
# Closing the window through the window manager while a search runs must end the program:
# the search stops, and the process exits with status 0 soon after.
# Usage: close_during_search.sh PATH/TO/pellmora
set -euo pipefail

binary=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of the program, so that the settings it saves beside itself stay in the work folder
# instead of carrying this test's folders into the next run of the build's program.
mkdir "$work/bin"
cp "$binary" "$work/bin/pellmora"
binary="$work/bin/pellmora"

# Sparse files of equal size: gigabytes to checksum that cost no disk space, so the search runs
# for several seconds.
mkdir -p "$work/tree"
for i in 1 2 3 4; do truncate -s 1G "$work/tree/big$i.bin"; done

cat > "$work/run.sh" <<INNER
#!/usr/bin/env bash
set -u
openbox >/dev/null 2>&1 &
sleep 1
QT_QPA_PLATFORM=xcb PELLMORA_AUTOSTART_DIR="$work/tree" "$binary" &
pid=\$!
for attempt in \$(seq 1 100); do
    wmctrl -l 2>/dev/null | grep -q ' Pellmora\$' && break
    sleep 0.1
done
wmctrl -l | grep -q ' Pellmora\$' || { echo "the window never appeared" >&2; exit 1; }
sleep 1.5
if wmctrl -l | grep -q ' Information\$'; then
    echo "the search ended before the close; the tree is too small for this machine" >&2
    exit 1
fi
kill -0 \$pid 2>/dev/null || { echo "pellmora ended by itself" >&2; exit 1; }
wmctrl -c Pellmora
for tenth in \$(seq 1 50); do
    kill -0 \$pid 2>/dev/null || break
    sleep 0.1
done
if kill -0 \$pid 2>/dev/null; then
    echo "pellmora still runs 5 s after the close" >&2
    kill -9 \$pid
    exit 1
fi
wait \$pid
status=\$?
[ \$status = 0 ] || { echo "pellmora exited with status \$status" >&2; exit 1; }
echo "closed during the search; exited 0 after \$((tenth * 100)) ms at most"
INNER
chmod +x "$work/run.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/run.sh"
