#!/usr/bin/env bash
# Times pellmora-scan against other duplicate finders on the generated trees,
# warm cache, and checks that every tool reports the same duplicate groups.
#
#   bench/run.sh BUILD_DIR [small|large|both]
#
# Environment: N (timed runs per tool, default 3), TREES (default bench/trees), BEFORE (another
# build folder whose pellmora-scan is timed beside this one as "before").
# Every tool counts empty files as duplicates of each other, so all of them are
# run with the options that make them do so (see bench/README.md).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 BUILD_DIR [small|large|both]" >&2
    exit 2
fi
build_dir=$(cd "$1" 2>/dev/null && pwd) || { echo "$1: no such folder" >&2; exit 2; }
which_trees=${2:-small}
runs=${N:-3}
trees=${TREES:-$here/trees}
case $which_trees in
    small | large) sizes=("$which_trees") ;;
    both) sizes=(small large) ;;
    *) echo "tree size must be small, large or both" >&2; exit 2 ;;
esac
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time missing: apt-get install -y time" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# shellcheck source=bench/lib.sh
source "$here/lib.sh"

# Turns one tool's output into canonical groups: one line per group, its paths
# sorted and joined by tabs, lines sorted.
normalise_py='
import sys
kind, src, dst = sys.argv[1:4]
groups, cur = [], []
def flush():
    global cur
    if cur:
        groups.append(cur)
    cur = []
with open(src, "rb") as f:
    lines = [l[:-1] if l.endswith(b"\n") else l for l in f]
if kind == "blocks":        # blank line between groups
    for l in lines:
        if l: cur.append(l)
        else: flush()
elif kind == "duff":        # a header line before each group
    for l in lines:
        if l.startswith(b"/"): cur.append(l)
        else: flush()
elif kind == "rdfind":      # results file, group id in column 2 (negative for copies)
    by_id = {}
    for l in lines:
        if l.startswith(b"#") or not l: continue
        cols = l.split(b" ", 7)
        by_id.setdefault(abs(int(cols[1])), []).append(cols[7])
    groups = list(by_id.values())
elif kind == "expected":    # relative paths in blocks, root given as argv[4]
    root = sys.argv[4].encode().rstrip(b"/") + b"/"
    for l in lines:
        if l: cur.append(root + l)
        else: flush()
flush()
out = sorted(b"\t".join(sorted(g)) for g in groups if len(g) > 1)
with open(dst, "wb") as f:
    f.write(b"".join(g + b"\n" for g in out))
'

# Prints MATCH, or DIFF with the number of groups found by only one side.
compare() {
    local diff
    diff=$(LC_ALL=C comm -3 "$1" "$2" | wc -l)
    if [[ $diff -eq 0 ]]; then echo MATCH; else echo "DIFF($diff)"; fi
}

bench_tree() {
    local size=$1 dest=$trees/$1 dir tool t times rss_max rss ref
    python3 "$here/gen_tree.py" --size "$size" "$dest"
    dir=$(cd "$dest/tree" && pwd)
    python3 -c "$normalise_py" expected "$dest/expected.txt" "$scratch/expected.groups" "$dir"
    echo "== $size tree: $dir ($(wc -l <"$scratch/expected.groups") groups built in), median of $runs warm runs"

    local -A med peak
    local done_tools=()
    for tool in pellmora-scan ${BEFORE:+before} jdupes rdfind duff fdupes rmlint; do
        if ! tool_available "$tool"; then
            echo "  $tool: not found, skipped"
            continue
        fi
        tool_command "$tool" "$dir"
        run_once "$tool" >/dev/null # warm-up, untimed
        times=()
        rss_max=0
        for ((t = 0; t < runs; t++)); do
            times+=("$(run_once "$tool")")
            rss=$(tail -n 1 "$scratch/rss")
            if ((rss > rss_max)); then rss_max=$rss; fi
        done
        med[$tool]=$(printf '%s\n' "${times[@]}" | median)
        peak[$tool]=$rss_max
        python3 -c "$normalise_py" "$parser" "$scratch/$tool.stdout" "$scratch/$tool.groups"
        done_tools+=("$tool")
    done

    ref=
    [[ -n ${med[pellmora-scan]:-} ]] && ref=$scratch/pellmora-scan.groups
    printf '%-14s %9s %9s %9s %8s %-12s %-12s\n' tool "median s" "peak MiB" "/pellmora" groups "vs pellmora" "vs expected"
    for tool in "${done_tools[@]}"; do
        local ratio=- vs_ref=-
        if [[ -n $ref ]]; then
            ratio=$(ratio "${med[$tool]}" "${med[pellmora-scan]}")
            vs_ref=reference
            if [[ $tool != pellmora-scan ]]; then vs_ref=$(compare "$ref" "$scratch/$tool.groups"); fi
        fi
        printf '%-14s %9.3f %9.1f %9s %8d %-12s %-12s\n' "$tool" "${med[$tool]}" \
            "$(awk -v k="${peak[$tool]}" 'BEGIN { printf "%.1f", k / 1024 }')" "$ratio" \
            "$(wc -l <"$scratch/$tool.groups")" "$vs_ref" \
            "$(compare "$scratch/expected.groups" "$scratch/$tool.groups")"
    done
    [[ -n $ref ]] || echo "(pellmora-scan not found in $build_dir: no ratios)"
}

for size in "${sizes[@]}"; do
    bench_tree "$size"
done
