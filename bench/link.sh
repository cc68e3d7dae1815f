#!/usr/bin/env bash
# Times "Delete Selected" with the hard-link choice, page cache warm: COUNT pairs of equal 1 MB
# files in a scratch folder on the file system of SCRATCH (default: the build folder's), every
# second one ticked. Each build named runs N turns on a fresh copy of the pairs, in turn with the
# others, and jdupes -L links the same pairs in the same turns as a peer.
#
#   bench/link.sh BUILD_DIR [OTHER_BUILD_DIR ...]      # COUNT=1000 N=3 by default
set -euo pipefail

count=${COUNT:-1000}
turns=${N:-3}
builds=()
for dir in "$@"; do
    dir=$(cd "$dir" && pwd)
    [[ -x $dir/replace_bench ]] || { echo "$dir: build the target replace_bench first" >&2; exit 1; }
    builds+=("$dir")
done
[[ ${#builds[@]} -gt 0 ]] || { echo "usage: $0 BUILD_DIR [OTHER_BUILD_DIR ...]" >&2; exit 2; }

scratch=$(mktemp -d "${SCRATCH:-${builds[0]}}/link-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/source/kept"
for i in $(seq -w 1 "$count"); do head -c 1000000 /dev/urandom >"$scratch/source/kept/$i.bin"; done

# A fresh set of pairs in $scratch/pairs, read once so that the page cache holds them.
fresh_pairs() {
    rm -rf "$scratch/pairs"
    mkdir -p "$scratch/pairs/kept" "$scratch/pairs/copies"
    cp -p "$scratch/source/kept/"* "$scratch/pairs/kept/"
    cp -p "$scratch/source/kept/"* "$scratch/pairs/copies/"
    cat "$scratch/pairs/kept/"* "$scratch/pairs/copies/"* >/dev/null
}

declare -A times
for turn in $(seq 1 "$turns"); do
    for dir in "${builds[@]}"; do
        fresh_pairs
        line=$("$dir/replace_bench" "$scratch/pairs" link)
        echo "turn $turn $dir: $line"
        times[$dir]+="$(sed -E 's/.* in ([0-9.]+) s.*/\1/' <<<"$line") "
    done
    if command -v jdupes >/dev/null; then
        fresh_pairs
        start=$EPOCHREALTIME
        jdupes -rLq "$scratch/pairs" >/dev/null
        end=$EPOCHREALTIME
        took=$(bc <<<"$end - $start")
        echo "turn $turn jdupes -L: $took s"
        times[jdupes]+="$took "
    fi
done

median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
first=$(median "${times[${builds[0]}]}")
echo
for name in "${builds[@]}" ${times[jdupes]+jdupes}; do
    m=$(median "${times[$name]}")
    printf '%-60s median %8.3f s  ratio to the first %.2f\n' "$name" "$m" "$(bc -l <<<"$m / $first")"
done
