#!/usr/bin/env bash
# Measures the shared-data choice of "Delete Selected" on a loop-mounted XFS with shared extents:
# COUNT pairs of equal files of 1 MB, every second one ticked, and `df` before and after.
# Root only (mkfs.xfs, mount -o loop).
#
#   bench/share_data.sh BUILD_DIR [COUNT]
set -euo pipefail

build_dir=$(cd "$1" && pwd)
count=${2:-1000}
[[ $(id -u) = 0 ]] || { echo "needs root (mount -o loop)" >&2; exit 1; }
[[ -x $build_dir/replace_bench ]] || { echo "build the target replace_bench first" >&2; exit 1; }

work=$(mktemp -d)
cleanup() {
    umount "$work/mnt" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/mnt"
truncate -s $((count * 2 + 512))M "$work/xfs.img"
mkfs.xfs -q -m reflink=1 "$work/xfs.img"
mount -o loop "$work/xfs.img" "$work/mnt"
mkdir -p "$work/mnt/kept" "$work/mnt/copies"
for i in $(seq -w 1 "$count"); do
    head -c 1000000 /dev/urandom > "$work/mnt/kept/$i.bin"
    cp --reflink=never "$work/mnt/kept/$i.bin" "$work/mnt/copies/$i.bin"
done
sync
echo "before: $(df -h --output=used,avail "$work/mnt" | tail -1)"
"$build_dir/replace_bench" "$work/mnt" share
sync
echo "after:  $(df -h --output=used,avail "$work/mnt" | tail -1)"
