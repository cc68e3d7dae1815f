#!/usr/bin/env bash
# Times pellmora-scan with the checksum cache against the same build without it: the first
# search (which fills the store) and the repeat search (which finds it), each on a cold page
# cache (dropped before the run) and on a warm one; then the store's size per 100,000 files of
# the tree.
# Usage: bench/cache.sh BUILD_DIR [TREE_DIR]   (default: the large bench tree)
# Environment: N (turns, default 3), TREES (where the bench trees are).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [TREE_DIR]" >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "$0: the cold runs drop the page cache (/proc/sys/vm/drop_caches), which needs root" >&2
    exit 1
fi
build_dir=$1
tree=${2:-${TREES:-$here/trees}/large/tree}
scan=$build_dir/pellmora-scan
[ -x "$scan" ] || { echo "$0: no pellmora-scan in $build_dir" >&2; exit 1; }
[ -d "$tree" ] || { echo "$0: no tree at $tree (bench/gen_tree.py --size large makes it)" >&2; exit 1; }
runs=${N:-3}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# shellcheck source=bench/lib.sh
source "$here/lib.sh"
store=$scratch/checksums.sqlite
args=(--include-empty --min-size 0 --format text "$tree")

[[ -x /usr/bin/time ]] || { echo "/usr/bin/time missing: apt-get install -y time" >&2; exit 1; }
drop() { sync; echo 3 > /proc/sys/vm/drop_caches; }
forget() { rm -f "$store" "$store-wal" "$store-shm"; }

declare -A times rss
# Times one run of the command as KEY, with its peak resident memory.
record() {
    local key=$1 t m
    shift
    read -r t m < <(time_and_rss "$@")
    times[$key]+="$t "
    rss[$key]+="$m "
}
last() { echo "$1" | awk '{ print $NF }'; }
echo "== checksum cache: $tree, turns: $runs"
for turn in $(seq "$runs"); do
    drop; record none-cold "$scan" "${args[@]}"
    forget; drop; record first-cold "$scan" --cache-file "$store" "${args[@]}"
    drop; record repeat-cold "$scan" --cache-file "$store" "${args[@]}"
    "$scan" "${args[@]}" > /dev/null 2>&1 # warms the page cache
    record none-warm "$scan" "${args[@]}"
    forget; record first-warm "$scan" --cache-file "$store" "${args[@]}"
    record repeat-warm "$scan" --cache-file "$store" "${args[@]}"
    echo "turn $turn: $(for k in none-cold first-cold repeat-cold none-warm first-warm repeat-warm; do
        printf '%s %s s %s MiB, ' "$k" "$(last "${times[$k]}")" "$(last "${rss[$k]}")"; done)"
done

med() { echo "$1" | tr ' ' '\n' | grep . | median; }
printf '%-8s %12s %12s %12s %10s %10s %22s\n' cache "without s" "first s" "repeat s" first/none \
    repeat/none "peak RSS MiB w/f/r"
for c in cold warm; do
    none=$(med "${times[none-$c]}") first=$(med "${times[first-$c]}")
    repeat=$(med "${times[repeat-$c]}")
    printf '%-8s %12s %12s %12s %10s %10s %22s\n' "$c" "$none" "$first" "$repeat" \
        "$(ratio "$first" "$none")" "$(ratio "$repeat" "$none")" \
        "$(med "${rss[none-$c]}")/$(med "${rss[first-$c]}")/$(med "${rss[repeat-$c]}")"
done
files=$(find "$tree" -type f | wc -l)
bytes=$(stat -c %s "$store")
echo "store: $bytes bytes for a tree of $files files, $(awk -v b="$bytes" -v r="$files" 'BEGIN { printf "%.1f", b / r * 100000 / 1048576 }') MiB per 100,000 files"
