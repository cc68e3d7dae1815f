#!/usr/bin/env bash
# Ticks two of three copies in the real window, picks "Replace with hard links to a kept copy"
# (two steps down the dialog's options) in the dialog of "Delete Selected", and checks that every
# path is left, that the three name one file with its content, and that no hidden name is left.
# Usage: link_through_window.sh PATH/TO/pellmora [SCREENSHOT_DIR]
set -euo pipefail
source "$(dirname "$0")/delete_dialog_run.sh"
delete_through_dialog "$1" "${2:-}" link-e2e Down Down

fail() { echo "$1" >&2; exit 1; }
[ -z "$(ls -A "$work/data")" ] || fail "something went to the trash"
hidden=$(find "$work/tree" -name '.pellmora-*')
[ -z "$hidden" ] || fail "hidden names left: $hidden"
paths=$(find "$work/tree" -type f | wc -l)
[ "$paths" = 3 ] || fail "$paths of 3 paths are left"
inodes=$(find "$work/tree" -type f -printf '%i\n' | sort -u | wc -l)
[ "$inodes" = 1 ] || fail "the three paths name $inodes files"
for path in "${COPIES[@]}"; do
    [ "$(cat "$work/tree/$path")" = "the same content" ] || fail "$path changed its content"
done
echo "three paths, one file"
