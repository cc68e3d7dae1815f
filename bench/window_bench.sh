#!/usr/bin/env bash
# Times the window's whole search against pellmora-scan on the same tree, warm cache, in one run.
#
#   bench/window_bench.sh BUILD_DIR [small|large]      (N runs each, default 3; median)
#
# The window is started on a virtual X display with PELLMORA_AUTOSTART_DIR and timed until its
# end-of-search box ("Information") is on the screen. The same measure on an empty folder is the
# start-up cost; it is subtracted, so what remains runs from the click to the box.
# PELLMORA=path overrides the window binary (to time an older build side by side).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build_dir=$(cd "${1:?usage: $0 BUILD_DIR [small|large]}" && pwd)
size=${2:-large}
runs=${N:-3}
window=${PELLMORA:-$build_dir/pellmora}
scan=$build_dir/pellmora-scan
trees=${TREES:-$here/trees}
python3 "$here/gen_tree.py" --size "$size" "$trees/$size" >/dev/null
tree=$trees/$size/tree
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT
# A copy of the window, so that no settings saved beside the build's program (a folder list
# from another run) add folders to the search.
mkdir "$empty/bin"
cp "$window" "$empty/bin/pellmora"
window="$empty/bin/pellmora"

# Seconds from the start of the window to its end-of-search box, searching $1.
cat > "$empty/once.sh" <<'INNER'
#!/usr/bin/env bash
start=$(date +%s.%N)
QT_QPA_PLATFORM=xcb PELLMORA_AUTOSTART_DIR="$2" "$1" >/dev/null 2>&1 &
pid=$!
until xdotool search --name '^Information$' >/dev/null 2>&1; do
    kill -0 $pid 2>/dev/null || { echo "window ended early" >&2; exit 1; }
    sleep 0.1
done
end=$(date +%s.%N)
kill $pid; wait $pid 2>/dev/null
echo "$end - $start" | bc -l
INNER
chmod +x "$empty/once.sh"
mkdir "$empty/none"

median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
window_runs() {
    for _ in $(seq 1 "$runs"); do xvfb-run -a -s "-screen 0 1024x768x24" "$empty/once.sh" "$window" "$1"; done | median
}
scan_runs() {
    for _ in $(seq 1 "$runs"); do
        /usr/bin/time -f %e "$scan" "$tree" 2>&1 >/dev/null | tail -1
    done | median
}

"$scan" "$tree" >/dev/null 2>&1 # warm the cache
startup=$(window_runs "$empty/none")
whole=$(window_runs "$tree")
cli=$(scan_runs)
search=$(echo "$whole - $startup" | bc -l)
printf 'tree %s, median of %d\n' "$size" "$runs"
printf '  window start-up         %6.2f s\n' "$startup"
printf '  window search           %6.2f s   (start to box %.2f s)\n' "$search" "$whole"
printf '  pellmora-scan           %6.2f s\n' "$cli"
printf '  ratio window / scan     %6.2f\n' "$(echo "$search / $cli" | bc -l)"
