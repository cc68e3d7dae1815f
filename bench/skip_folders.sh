#!/usr/bin/env bash
# Times pellmora-scan on a warm page cache with --skip-folders against the same search without
# it, and says how many of the tree's folders the masks prune (the folders they match and every
# folder below those). Skipping should cost nothing: the search without the pruned folders
# should take about their share less, never more.
# Usage: bench/skip_folders.sh BUILD_DIR [TREE_DIR]   (default: the large bench tree)
# Environment: N (turns, default 3), MASKS (default "* 9???": the last thousand folders the
# generator made, a tenth of the large tree's folders and files), TREES (where the bench trees
# are).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [TREE_DIR]" >&2
    exit 2
fi
build_dir=$1
tree=${2:-${TREES:-$here/trees}/large/tree}
scan=$build_dir/pellmora-scan
masks=${MASKS:-* 9???}
[ -x "$scan" ] || { echo "$0: no pellmora-scan in $build_dir" >&2; exit 1; }
[ -d "$tree" ] || { echo "$0: no tree at $tree (bench/gen_tree.py --size large makes it)" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time missing: apt-get install -y time" >&2; exit 1; }
runs=${N:-3}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# shellcheck source=bench/lib.sh
source "$here/lib.sh"
args=(--include-empty --min-size 0 --format text "$tree")

# find prunes by name as the masks do (they hold no "/" here).
prune=()
IFS='|' read -r -a parts <<< "$masks"
for m in "${parts[@]}"; do prune+=(-name "$m" -o); done
folders=$(find "$tree" -mindepth 1 -type d | wc -l)
left=$(find "$tree" -mindepth 1 -type d \( "${prune[@]::${#prune[@]}-1}" \) -prune -o -type d -print | wc -l)
files=$(find "$tree" -type f | wc -l)
files_left=$(find "$tree" -mindepth 1 -type d \( "${prune[@]::${#prune[@]}-1}" \) -prune -o -type f -print | wc -l)
echo "== --skip-folders '$masks' on $tree: prunes $((folders - left)) of $folders folders" \
    "($(ratio $((folders - left)) "$folders")), $((files - files_left)) of $files files"

"$scan" "${args[@]}" > /dev/null 2>&1 # warms the page cache
declare -A times rss
for turn in $(seq "$runs"); do
    for kind in all skip; do
        extra=()
        [ "$kind" = skip ] && extra=(--skip-folders "$masks")
        read -r t m < <(time_and_rss "$scan" "${extra[@]}" "${args[@]}")
        times[$kind]+="$t"$'\n'
        rss[$kind]+="$m"$'\n'
    done
    echo "turn $turn: without $(printf '%s' "${times[all]}" | tail -1) s," \
        "with $(printf '%s' "${times[skip]}" | tail -1) s"
done
all=$(printf '%s' "${times[all]}" | median)
skip=$(printf '%s' "${times[skip]}" | median)
printf '%-22s %9s %12s\n' search "median s" "peak RSS MiB"
printf '%-22s %9s %12s\n' "without --skip-folders" "$all" "$(printf '%s' "${rss[all]}" | median)"
printf '%-22s %9s %12s\n' "with --skip-folders" "$skip" "$(printf '%s' "${rss[skip]}" | median)"
echo "with / without: $(ratio "$skip" "$all")"
