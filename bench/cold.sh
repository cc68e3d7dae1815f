#!/usr/bin/env bash
# Times pellmora-scan, jdupes, rdfind and fdupes on a cold page cache, and prints the floor: how
# long the tree's bytes would take at the speed of one sequential read of a large file.
#
#   bench/cold.sh BUILD_DIR [TREE_DIR]
#
# TREE_DIR defaults to $TREES/large/tree (TREES defaults to bench/trees; bench/run.sh BUILD_DIR
# large generates it). Environment: N (turns, default 3), SKIP (tools left out, for example
# SKIP=fdupes or SKIP="fdupes rdfind"), BEFORE (another build folder, whose pellmora-scan is timed
# as "before"), FLOOR_FILE (the large file read by dd; default floor-1GiB.bin in the folder above
# the tree's, made of 1 GiB of random bytes when missing).
# Needs root: every run is preceded by sync and a drop of the page cache.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 BUILD_DIR [TREE_DIR]" >&2
    exit 2
fi
if [[ $(id -u) -ne 0 ]]; then
    echo "$0: must run as root: it drops the page cache through /proc/sys/vm/drop_caches" >&2
    exit 1
fi
build_dir=$(cd "$1" 2>/dev/null && pwd) || { echo "$1: no such folder" >&2; exit 2; }
tree=${2:-${TREES:-$here/trees}/large/tree}
tree=$(cd "$tree" 2>/dev/null && pwd) ||
    { echo "$tree: no such folder (bench/run.sh $1 large generates it)" >&2; exit 2; }
runs=${N:-3}
skip=" ${SKIP:-} "
floor_file=${FLOOR_FILE:-$(dirname "$(dirname "$tree")")/floor-1GiB.bin}
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time missing: apt-get install -y time" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# shellcheck source=bench/lib.sh
source "$here/lib.sh"

drop_caches() {
    sync
    echo 3 >/proc/sys/vm/drop_caches
}

# The whole tree's bytes, and those of files whose size occurs more than once: only these can
# have a copy, so a search reads at most them.
read -r tree_files tree_bytes shared_bytes < <(find "$tree" -type f -printf '%s\n' | awk '
    { n++; total += $1; count[$1]++ }
    END { for (s in count) if (count[s] > 1) shared += s * count[s]; printf "%d %.0f %.0f\n", n, total, shared }')

tools=()
for tool in pellmora-scan ${BEFORE:+before} jdupes rdfind fdupes; do
    if [[ $skip == *" $tool "* ]]; then
        echo "$tool: skipped (SKIP)"
    elif ! tool_available "$tool"; then
        echo "$tool: not found, skipped"
    else
        tools+=("$tool")
    fi
done

echo "== cold cache: $tree ($tree_files files, $tree_bytes bytes), turns: $runs"
declare -A times rss
for ((turn = 1; turn <= runs; turn++)); do
    line="turn $turn:"
    for tool in "${tools[@]}"; do
        tool_command "$tool" "$tree"
        drop_caches
        t=$(run_once "$tool")
        m=$(mib "$(cat "$scratch/rss")")
        times[$tool]+="$t"$'\n'
        rss[$tool]+="$m"$'\n'
        line+=" $tool $t s $m MiB,"
    done
    echo "${line%,}"
done

if [[ ! -f $floor_file ]]; then
    echo "making $floor_file (1 GiB of random bytes) for the floor"
    dd if=/dev/urandom of="$floor_file" bs=1M count=1024 status=none
fi
floor_size=$(stat -c %s "$floor_file")
drop_caches
start=$EPOCHREALTIME
dd if="$floor_file" of=/dev/null bs=1M status=none
end=$EPOCHREALTIME
mb_per_s=$(awk -v b="$floor_size" -v s="$start" -v e="$end" 'BEGIN { printf "%.0f", b / 1e6 / (e - s) }')
at_floor() { awk -v b="$1" -v r="$mb_per_s" 'BEGIN { printf "%.2f", b / 1e6 / r }'; }
shared_s=$(at_floor "$shared_bytes")

printf '%-14s %9s %9s %9s %12s\n' tool "median s" "/pellmora" "/floor" "peak RSS MiB"
for tool in "${tools[@]}"; do
    med=$(printf '%s' "${times[$tool]}" | median)
    ref=${times[pellmora-scan]:+$(printf '%s' "${times[pellmora-scan]}" | median)}
    printf '%-14s %9.3f %9s %9s %12s\n' "$tool" "$med" "$(ratio "$med" "${ref:-0}")" \
        "$(ratio "$med" "$shared_s")" "$(printf '%s' "${rss[$tool]}" | median)"
done
echo "floor: dd reads $floor_file ($floor_size bytes) sequentially at $mb_per_s MB/s;"
echo "  at that speed the $shared_bytes bytes in files whose size occurs more than once (the most"
echo "  a search reads) take $shared_s s, the whole tree's $tree_bytes bytes $(at_floor "$tree_bytes") s"
